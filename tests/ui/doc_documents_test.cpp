// Documents and their file commands: titles, modified marks, Save dispatch by extension,
// Save As, opening, the recent files.
#include "doc_fixture.h"

#include "character/CharacterFile.h"
#include "character/TextSheet.h"
#include "ui/View.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

using namespace varn_test;
using SaveAnswer = CVARN_QtPrompt::SaveAnswer;

namespace {
QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray CharacterBytes(const CVARN_Doc& doc) {
    return QByteArray::fromStdString(WriteCharacter(doc.Character()));
}

QByteArray SheetBytes(const CVARN_Doc& doc) {
    std::string sheet;
    BuildTextSheet(doc.Character(), sheet);
    return QByteArray::fromStdString(sheet).replace("\n", "\r\n");
}
} // namespace

TEST_F(DocFixture, NewDocumentsAreNumberedCarryTheFirstRaceAndStartUnmodified) {
    CVARN_Doc* first = docs->OnFileNew();
    CVARN_Doc* second = docs->OnFileNew();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->Title(), "VARN1");
    EXPECT_EQ(second->Title(), "VARN2");
    EXPECT_TRUE(first->PathName().isEmpty());

    const CVARN_RaceDesc* firstRace = ShippedRules().raceTable.races.front().get();
    EXPECT_EQ(first->Character().race, firstRace);
    EXPECT_FALSE(first->IsModified()) << "setting the first race must not count as a change";

    // A new character closes without a question; a changed one asks, and Cancel keeps it.
    first->Frames().front()->close();
    EXPECT_TRUE(prompt->shown.isEmpty());
    EXPECT_EQ(docs->Documents().size(), 1);

    second->Character().SetKarmaBought(3);
    EXPECT_TRUE(second->IsModified());
    prompt->saveAnswers = {SaveAnswer::Cancel, SaveAnswer::No};
    QMdiSubWindow* window = second->Frames().front();
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompt->shown, QStringList{"save?: VARN2"});
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(docs->Documents().isEmpty());
    FlushDeletes();
    EXPECT_TRUE(frame->MdiArea()->subWindowList().isEmpty());
}

TEST_F(DocFixture, SaveDispatchesOnTheExtensionOfTheWholePath) {
    CVARN_Doc* doc = docs->OnFileNew();
    ASSERT_NE(doc, nullptr);
    doc->Character().SetKarmaBought(2);

    // Save As proposes the title with the type's extension; any case of ".vrn" writes
    // the character file and makes the file the document's title and first recent file.
    const QString vrn = Scratch("Hero.vRn");
    docs->answers = {vrn};
    ASSERT_TRUE(doc->DoFileSave());
    EXPECT_EQ(docs->prompts, QStringList{"Save As|save|VARN1.VRN"});
    EXPECT_EQ(ReadAll(vrn), CharacterBytes(*doc));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->Title(), "Hero.vRn");
    EXPECT_EQ(doc->PathName(), vrn);
    EXPECT_EQ(docs->RecentFiles(), QStringList{vrn});

    // A text file is an export: the title, the recent files and the modified mark stay,
    // but the path follows, so the next Save writes the sheet again without asking.
    doc->Character().SetKarmaBought(4);
    const QString txt = Scratch("hero.txt");
    docs->answers = {txt};
    ASSERT_TRUE(doc->DoSaveAs());
    EXPECT_EQ(docs->prompts.back(), "Save As|save|" + vrn);
    EXPECT_EQ(ReadAll(txt), SheetBytes(*doc));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->Title(), "Hero.vRn");
    EXPECT_EQ(doc->PathName(), txt);
    EXPECT_EQ(docs->RecentFiles(), QStringList{vrn});

    doc->Character().SetKarmaBought(6);
    const qsizetype promptsBefore = docs->prompts.size();
    ASSERT_TRUE(doc->DoFileSave());
    EXPECT_EQ(docs->prompts.size(), promptsBefore);
    EXPECT_EQ(ReadAll(txt), SheetBytes(*doc));

    // A dot in a folder name is not an extension: no extension means the text sheet.
    ASSERT_TRUE(QDir(scratch.path()).mkpath("party.vrn"));
    const QString bare = Scratch("party.vrn/hero");
    ASSERT_TRUE(doc->SaveDocument(bare));
    EXPECT_EQ(ReadAll(bare), SheetBytes(*doc));

    // A cancelled Save As changes nothing; a failed one reports and keeps the old path.
    docs->answers = {QString()};
    EXPECT_FALSE(doc->DoSaveAs());
    const QString nowhere = Scratch("missing/dir/hero.vrn");
    docs->answers = {nowhere};
    EXPECT_FALSE(doc->DoSaveAs());
    ASSERT_FALSE(prompt->shown.isEmpty());
    EXPECT_TRUE(prompt->shown.back().startsWith("warn: ")) << prompt->shown.back().toStdString();
    EXPECT_EQ(doc->PathName(), txt);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DocFixture, SavingOverAnExistingFileThatCannotBeReplacedKeepsIt) {
    CVARN_Doc* doc = docs->OnFileNew();
    ASSERT_NE(doc, nullptr);
    // The target is a folder with something in it: the new file cannot take its place.
    const QString target = Scratch("busy.vrn");
    ASSERT_TRUE(QDir(scratch.path()).mkpath("busy.vrn/inside"));
    docs->answers = {target};
    EXPECT_FALSE(doc->DoSaveAs());
    EXPECT_TRUE(QFileInfo(target + "/inside").isDir()) << "a failed Save As must not delete";
    EXPECT_TRUE(doc->PathName().isEmpty());
    EXPECT_EQ(doc->Title(), "VARN1");
}

TEST_F(DocFixture, OpeningReadsOnceAndReportsFailures) {
    // A character on disk to open.
    CVARN_Doc* made = docs->OnFileNew();
    ASSERT_NE(made, nullptr);
    made->Character().SetKarmaBought(5);
    const QString path = Scratch("Opened.vrn");
    ASSERT_TRUE(made->SaveDocument(path));
    made->OnCloseDocument();
    FlushDeletes();

    CVARN_Doc* doc = docs->OpenDocumentFile(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Title(), "Opened.vrn");
    EXPECT_EQ(doc->Character().karmaBought, 5);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(docs->RecentFiles(), QStringList{path});
    EXPECT_EQ(frame->MdiArea()->currentSubWindow(), doc->Frames().front());

    // The same file again, under another spelling: its window comes forward, nothing is
    // read, no second window.
    docs->OnFileNew();
    EXPECT_NE(frame->ActiveDocument(), doc);
    doc->Character().SetKarmaBought(7); // would be lost by a second read
    const QString sameFile = scratch.path() + "/./Opened.vrn";
    EXPECT_EQ(docs->OpenDocumentFile(sameFile), doc);
    EXPECT_EQ(doc->Character().karmaBought, 7);
    EXPECT_EQ(docs->Documents().size(), 2);
    EXPECT_EQ(frame->ActiveDocument(), doc);

    // A missing file and a file that is no character: reported, and no window left over.
    prompt->shown.clear();
    const QString missing = Scratch("nobody.vrn");
    EXPECT_EQ(docs->OpenDocumentFile(missing), nullptr);
    EXPECT_EQ(prompt->shown, QStringList{"warn: " + missing + " was not found."});

    const QString junk = Scratch("junk.vrn");
    QFile junkFile(junk);
    ASSERT_TRUE(junkFile.open(QIODevice::WriteOnly));
    junkFile.write("this is not a character");
    junkFile.close();
    EXPECT_EQ(docs->OpenDocumentFile(junk), nullptr);
    ASSERT_GT(prompt->shown.size(), 1);
    EXPECT_TRUE(prompt->shown.back().startsWith("warn: "))
        << prompt->shown.join('\n').toStdString();
    FlushDeletes();
    EXPECT_EQ(docs->Documents().size(), 2);
    EXPECT_EQ(frame->MdiArea()->subWindowList().size(), 2);
}

TEST_F(DocFixture, RecentFilesKeepTheFourNewestAndSurviveTheRun) {
    QStringList paths;
    for (int i = 1; i <= 5; ++i) {
        const QString path = Scratch(QStringLiteral("c%1.vrn").arg(i));
        paths.append(path);
        docs->AddToRecentFileList(path);
    }
    docs->AddToRecentFileList(paths[2]); // seen again: moves to the top, once
    EXPECT_EQ(docs->RecentFiles(), (QStringList{paths[2], paths[4], paths[3], paths[1]}));

    // What the next run of the program finds.
    ScriptedDocManager next(ShippedRules(), *prompt);
    next.AddDocTemplate(std::make_unique<CMyMultiDocTemplate>(next));
    next.LoadRecentFileList();
    EXPECT_EQ(next.RecentFiles(), docs->RecentFiles());

    // An entry that cannot be opened any more leaves the list.
    EXPECT_EQ(docs->OpenRecentFile(0), nullptr);
    EXPECT_EQ(docs->RecentFiles(), (QStringList{paths[4], paths[3], paths[1]}));
}
