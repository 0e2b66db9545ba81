// The laid-out sheet on paper (read back from the PDF with pdftotext), File > Export and
// File > Open of a JSON character.
#include "shell/DocFixture.h"

#include "character/CharacterFile.h"
#include "character/CharacterJson.h"
#include "character/SheetContent.h"
#include "shell/PrintTextView.h"
#include "shell/SheetExport.h"
#include "shell/SheetLayout.h"
#include "shell/SheetPreview.h"

#include <QPrinter>

#include <csignal>
#include <sys/resource.h>

using namespace varn_test;

using SheetExport = DocFixture;

namespace {

// Checks that every word of the PDF lies inside the sheet's margins (word boxes in points
// against the page size) and gives the number of pages.
int WordsInsideMargins(const QString& pdf) {
    const QString boxes = PdfText(pdf, QStringLiteral("-bbox"));
    static const QRegularExpression page(
        QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\">"));
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">"));
    const double margin = SheetLayout::kMarginMm / 25.4 * 72 - 0.5;
    int pages = 0, words = 0;
    double width = 0, height = 0;
    for (const QString& line : boxes.split(QLatin1Char('\n'))) {
        if (auto m = page.match(line); m.hasMatch()) {
            ++pages;
            width = m.captured(1).toDouble();
            height = m.captured(2).toDouble();
        } else if (auto w = word.match(line); w.hasMatch()) {
            ++words;
            EXPECT_GE(w.captured(1).toDouble(), margin) << line.toStdString();
            EXPECT_GE(w.captured(2).toDouble(), margin) << line.toStdString();
            EXPECT_LE(w.captured(3).toDouble(), width - margin) << line.toStdString();
            EXPECT_LE(w.captured(4).toDouble(), height - margin) << line.toStdString();
        }
    }
    EXPECT_GT(words, 300);
    return pages;
}

} // namespace

// Every talent, skill, spell and item the sheet lists shows up exactly once, on the pages
// the layout makes, and no word strays into the margins.
TEST_F(SheetExport, PdfHoldsEveryNameOnceInsideTheMarginsAndJsonGoesOutAndComesBack) {
    CharacterDocument* doc = docs->openDocumentFile(kVeteran);
    ASSERT_NE(doc, nullptr);
    const CVARN_Character& c = doc->character();
    std::vector<std::string> names;
    for (const auto& t : c.talents)
        if (t->rank > 0)
            names.push_back(t->name);
    for (const auto& s : c.skills)
        names.push_back(s->skill->name);
    for (const auto& s : c.spells)
        names.push_back(s->spell->name);
    for (const auto& e : c.equipment)
        names.push_back(e->name);
    ASSERT_GT(names.size(), 20u);

    for (QPageSize::PageSizeId paper : {QPageSize::A4, QPageSize::Letter}) {
        SCOPED_TRACE(paper == QPageSize::A4 ? "A4" : "Letter");
        const QString pdf = Scratch(QStringLiteral("sheet.pdf"));
        QString error;
        ASSERT_TRUE(WriteSheetPdf(c, pdf, paper, &error)) << error.toStdString();

        const QString text = PdfText(pdf).replace(QRegularExpression("\\s+"), " ");
        for (const std::string& name : names)
            EXPECT_EQ(text.count(QString::fromStdString(name)), 1) << name;

        EXPECT_EQ(WordsInsideMargins(pdf), 4);
    }

    // Export writes the file and leaves the document alone; a JSON character opens as a new,
    // unsaved character whose Save asks for a .vrn name; a bad one is reported and opens
    // nothing.
    const QString json = Scratch(QStringLiteral("serrow.json"));
    ASSERT_TRUE(ExportDocument(*doc, ExportKind::Json, json));
    EXPECT_EQ(doc->filePath(), QFileInfo(kVeteran).absoluteFilePath());

    CharacterDocument* imported = docs->openDocumentFile(json);
    ASSERT_NE(imported, nullptr);
    EXPECT_EQ(imported->title(), "serrow");
    EXPECT_TRUE(imported->filePath().isEmpty());
    EXPECT_FALSE(imported->isModified());
    EXPECT_EQ(WriteCharacter(imported->character()), WriteCharacter(doc->character()));

    const QString bad = Scratch(QStringLiteral("bad.json"));
    ASSERT_TRUE(WriteAll(bad, R"({"format": "varn-character", "version": 1, "race": "Nobody"})"));
    EXPECT_EQ(docs->openDocumentFile(bad), nullptr);
    EXPECT_EQ(prompt->shown, QStringList{"warn: race: no race \"Nobody\" in the data set"});
}

// A section longer than a page runs over under its title, and its table header repeats on
// every page; the rows stay in order, each once, even a row taller than a page, and none
// runs into the bottom margin before it breaks.
TEST_F(SheetExport, LongSectionRepeatsItsTableHeader) {
    varn_sheet::SheetContent content;
    content.title = "Long";
    varn_sheet::Block table;
    table.kind = varn_sheet::Block::Kind::Table;
    table.columns = {{"Entry", varn_sheet::Align::Left}, {"Value", varn_sheet::Align::Right}};
    for (int i = 0; i < 150; ++i)
        table.rows.push_back({"Row" + std::to_string(i) + "x", std::to_string(i)});
    // A row taller than a page goes on over the next pages, every word of it.
    std::string tall;
    for (int i = 0; i < 4000; ++i)
        tall += "word" + std::to_string(i) + " ";
    table.rows.insert(table.rows.begin() + 75, {tall, "75"});
    content.sections.push_back({"Ledger", false, {table}});
    const QString pdf = Scratch(QStringLiteral("long.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        ASSERT_TRUE(PaintSheet(content, writer));
    }
    const int pageCount = WordsInsideMargins(pdf);
    const QString all = PdfText(pdf);
    const QStringList pages = all.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 3);
    EXPECT_EQ(pages.size(), pageCount);
    for (qsizetype p = 0; p < pages.size(); ++p) {
        EXPECT_EQ(pages[p].count(QStringLiteral("Entry Value")), 1) << p;
        EXPECT_EQ(pages[p].count(QStringLiteral("LEDGER (continued)")), p > 0 ? 1 : 0) << p;
    }
    qsizetype at = 0;
    for (int i = 0; i < 150; ++i) {
        const QString row = QStringLiteral("Row%1x").arg(i);
        EXPECT_EQ(all.count(row), 1) << i;
        at = all.indexOf(row, at);
        EXPECT_GE(at, 0) << i;
    }
    const QStringList words = all.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
    for (int i = 0; i < 4000; ++i)
        ASSERT_TRUE(words.contains(QStringLiteral("word%1").arg(i))) << i;
}

namespace {

struct VarnRun {
    int status = -1;
    QString err;
};

// `varn` with the arguments, through the shell when a command prefix (a limit) is given.
VarnRun Varn(const QStringList& arguments, const QString& prefix = {}) {
    QProcess process;
    QStringList quoted;
    for (const QString& a : arguments)
        quoted << "'" + a + "'";
    process.start(QStringLiteral("sh"),
                  {"-c", prefix + " exec '" VARN_APP_PATH "' --export-pdf --data '" +
                             QStringLiteral(VARN_SHIPPED_DATA_DIR) + "' " + quoted.join(' ')});
    const bool done =
        process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    // Qt's note about a missing runtime folder is the environment's, not the program's.
    QStringList err = QString::fromUtf8(process.readAllStandardError()).split('\n');
    err.removeIf([](const QString& line) { return line.startsWith("QStandardPaths:"); });
    return {done ? process.exitCode() : -1, err.join('\n').trimmed()};
}

} // namespace

// Every PDF is saved as a character file is: a failed write keeps the old file and says so, a
// link stays a link, a read-only file keeps its mode and nothing is left beside the target.
TEST_F(SheetExport, PdfIsSavedSafelyAndTheHeadlessExportSaysWhatWentWrong) {
    QDir dir(Scratch("pdf"));
    ASSERT_TRUE(QDir().mkpath(dir.path()));
    const QString good = dir.filePath("good.pdf");
    ASSERT_TRUE(WriteAll(good, "the old sheet"));
    ASSERT_TRUE(WriteAll(dir.filePath("good.pdf.part"), "the user's own file"));

    // A file size limit makes the write fail part way, as a full disk does.
    const VarnRun full = Varn({kVeteran, good}, QStringLiteral("trap '' XFSZ; ulimit -f 8;"));
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "Disk full while accessing " + good + ".");
    EXPECT_EQ(ReadAll(good), "the old sheet");
    EXPECT_EQ(ReadAll(dir.filePath("good.pdf.part")), "the user's own file");
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden).size(), 2);

    const VarnRun written = Varn({kVeteran, good});
    EXPECT_EQ(written.status, 0) << written.err.toStdString();
    EXPECT_EQ(written.err, "");
    EXPECT_TRUE(ReadAll(good).startsWith("%PDF-"));
    EXPECT_TRUE(PdfText(good).contains("Serrow"));

    // A name as long as the folder takes (255 bytes) needs no room for a name beside it.
    const QString longest = dir.filePath(QString(251, 'n') + ".pdf");
    EXPECT_EQ(Varn({kVeteran, longest}).status, 0);
    EXPECT_TRUE(ReadAll(longest).startsWith("%PDF-"));
    QFile::remove(longest);

    // Through a link into the file it points at; a read-only file keeps its mode.
    const QString link = dir.filePath("link.pdf");
    ASSERT_TRUE(QFile::link(good, link));
    ASSERT_TRUE(QFile::setPermissions(good, QFile::ReadOwner | QFile::ReadGroup));
    const QFileDevice::Permissions before = QFile::permissions(good);
    QString error;
    const bool saved =
        WriteSheetPdf(docs->openDocumentFile(kVeteran)->character(), link, QPageSize::A4, &error);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QFile::permissions(good), before);
    if (!saved) { // as root the file is written all the same
        EXPECT_EQ(error, "Access to " + link + " was denied.");
    }

    // The two programs agree on names and on what a character file is.
    EXPECT_EQ(Varn({kVeteran, dir.filePath("sheet.txt")}).status, 2);
    const QString json = dir.filePath("v.json");
    ASSERT_TRUE(ExportDocument(*docs->openDocumentFile(kVeteran), ExportKind::Json, json));
    const VarnRun fromJson = Varn({json, dir.filePath("v.pdf")});
    EXPECT_EQ(fromJson.status, 1);
    EXPECT_EQ(fromJson.err, json +
                                " is a JSON character, not a character file: "
                                "\"varn-tool import " +
                                json + " OUT.vrn\" makes one of it");
    EXPECT_FALSE(QFile::exists(dir.filePath("v.pdf")));

    // Printing the sheet to a PDF file saves it the same way, and reports a full disk.
    SheetPreview preview(docs->openDocumentFile(kVeteran));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("/dev/full"));
    EXPECT_EQ(preview.printOn(printer), PrintResult::Failed);
    printer.setOutputFileName(dir.filePath("printed.pdf"));
    EXPECT_EQ(preview.printOn(printer), PrintResult::Printed);
    EXPECT_TRUE(PdfText(dir.filePath("printed.pdf")).contains("Serrow"));
    EXPECT_EQ(prompt->shown, QStringList{"warn: Disk full while accessing /dev/full."});

    // So does printing the text sheet to a PDF file; a write failing part way (a file size
    // limit, as a full disk) keeps the old file.
    prompt->shown.clear();
    PrintTextView text(docs->openDocumentFile(kVeteran));
    text.initialUpdate();
    printer.setOutputFileName(QStringLiteral("/dev/full"));
    EXPECT_EQ(text.printOn(printer), PrintResult::Failed);
    const QString textPdf = dir.filePath("text.pdf");
    ASSERT_TRUE(WriteAll(textPdf, "the old text sheet"));
    printer.setOutputFileName(textPdf);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{4096, limit.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const PrintResult limited = text.printOn(printer);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(limited, PrintResult::Failed);
    EXPECT_EQ(ReadAll(textPdf), "the old text sheet");
    EXPECT_EQ(prompt->shown, QStringList({"warn: Disk full while accessing /dev/full.",
                                          "warn: Disk full while accessing " + textPdf + "."}));
    EXPECT_EQ(text.printOn(printer), PrintResult::Printed);
    EXPECT_TRUE(PdfText(textPdf).contains("Serrow"));
    EXPECT_FALSE(QFile::exists(textPdf + ".part"));
}

// Figures are never split, text is found word for word (no ligatures), and a text longer
// than a page goes on over the pages, whole.
TEST_F(SheetExport, PdfKeepsFiguresWholeAndLongTextsEntire) {
    CharacterDocument* doc = docs->openDocumentFile(kVeteran);
    ASSERT_NE(doc, nullptr);
    CVARN_Character& c = doc->character();
    c.SetLegendEarned(2147483647);
    QString longName;
    for (int i = 0; i < 1500; ++i)
        longName += QStringLiteral("Fireflies%1 ").arg(i);
    c.name = longName.toStdString();
    const QString pdf = Scratch(QStringLiteral("figures.pdf"));
    QString error;
    ASSERT_TRUE(WriteSheetPdf(c, pdf, QPageSize::A4, &error)) << error.toStdString();
    const QStringList words = PdfText(pdf).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
    EXPECT_TRUE(words.contains("2147483647"));
    EXPECT_TRUE(words.contains(QString::number(c.AvailableLegend())));
    for (int i = 0; i < 1500; ++i)
        ASSERT_TRUE(words.contains(QStringLiteral("Fireflies%1").arg(i))) << i;
}
