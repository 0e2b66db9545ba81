// Documents and their file commands: titles, modified marks, Save dispatch by extension,
// Save As and its file dialog, opening, the recent files.
#include "shell/DocFixture.h"

#include "character/CharacterFile.h"
#include "character/TextSheet.h"
#include "shell/FileDialog.h"

using namespace varn_test;

namespace {
QByteArray CharacterBytes(const CharacterDocument& doc) {
    return QByteArray::fromStdString(WriteCharacter(doc.character()));
}

QByteArray SheetBytes(const CharacterDocument& doc) {
    std::string sheet;
    BuildTextSheet(doc.character(), sheet);
    return QByteArray::fromStdString(sheet).replace("\n", "\r\n");
}
} // namespace

TEST_F(DocFixture, SaveDispatchesOnTheExtensionOfTheWholePathAndMarksTheSavedState) {
    CharacterDocument* doc = docs->fileNew();
    ASSERT_NE(doc, nullptr);
    QMdiSubWindow* window = doc->windows().front();
    EXPECT_EQ(window->windowTitle(), "VARN1[*]");
    EXPECT_EQ(doc->character().race, ShippedRules().raceTable.races.front().get());
    EXPECT_FALSE(doc->isModified()) << "setting the first race must not count as a change";
    doc->character().SetKarmaBought(2);
    doc->recordPendingStep();
    EXPECT_TRUE(window->isWindowModified());

    // Save As proposes the title with the type's extension; any case of ".vrn" writes
    // the character file and makes the file the document's title and first recent file.
    const QString vrn = Scratch("Hero.vRn");
    docs->answers = {vrn};
    ASSERT_TRUE(doc->save());
    EXPECT_EQ(docs->prompts, QStringList{"Save As|save|VARN1.VRN"});
    EXPECT_EQ(ReadAll(vrn), CharacterBytes(*doc));
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(doc->title(), "Hero.vRn");
    EXPECT_EQ(doc->filePath(), vrn);
    EXPECT_EQ(window->windowTitle(), "Hero.vRn[*]");

    doc->character().SetKarmaBought(4);
    doc->recordPendingStep();
    // A text file is an export: the title, the recent files and the modified mark stay,
    // but the path follows, so the next Save writes the sheet again without asking.
    const QString txt = Scratch("hero.txt");
    docs->answers = {txt};
    ASSERT_TRUE(doc->saveAs());
    EXPECT_EQ(docs->prompts.back(), "Save As|save|" + vrn);
    EXPECT_EQ(ReadAll(txt), SheetBytes(*doc));
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(doc->title(), "Hero.vRn");
    EXPECT_EQ(doc->filePath(), txt);
    EXPECT_EQ(docs->recentFiles(), QStringList{vrn});

    doc->character().SetKarmaBought(6);
    const qsizetype promptsBefore = docs->prompts.size();
    ASSERT_TRUE(doc->save());
    EXPECT_EQ(docs->prompts.size(), promptsBefore);
    EXPECT_EQ(ReadAll(txt), SheetBytes(*doc));

    // A cancelled Save As changes nothing; a failed one reports and keeps the old path and
    // whatever was in the way (here a folder that the new file cannot take the place of).
    docs->answers = {QString()};
    EXPECT_FALSE(doc->saveAs());
    ASSERT_TRUE(QDir(scratch.path()).mkpath("busy.vrn/inside"));
    for (const QString& target : {Scratch("missing/dir/hero.vrn"), Scratch("busy.vrn")}) {
        prompt->shown.clear();
        docs->answers = {target};
        EXPECT_FALSE(doc->saveAs());
        EXPECT_EQ(prompt->shown.size(), 1);
        EXPECT_TRUE(prompt->shown.value(0).startsWith("warn: ")) << target.toStdString();
    }
    EXPECT_TRUE(QFileInfo(Scratch("busy.vrn/inside")).isDir())
        << "a failed Save As must not delete";
    EXPECT_EQ(doc->filePath(), txt);
    EXPECT_TRUE(doc->isModified());

    // Yes to the save question writes the .vrn the title names, without asking where.
    prompt->saveAnswers = {QtPrompt::SaveAnswer::Yes};
    const qsizetype asked = docs->prompts.size();
    EXPECT_TRUE(doc->maybeSave());
    EXPECT_EQ(docs->prompts.size(), asked);
    EXPECT_EQ(ReadAll(vrn), CharacterBytes(*doc));
    EXPECT_FALSE(doc->isModified());
}

// A new character exported as text has no character file yet: Yes asks for one, and
// choosing another text file keeps the window open instead of claiming it saved.
TEST_F(DocFixture, SaveQuestionAfterTextExportSavesTheCharacterFile) {
    CharacterDocument* fresh = docs->fileNew();
    docs->answers = {Scratch("fresh.txt")};
    ASSERT_TRUE(fresh->saveAs());
    fresh->character().SetKarmaBought(2);
    prompt->saveAnswers = {QtPrompt::SaveAnswer::Yes, QtPrompt::SaveAnswer::Yes};
    docs->answers = {Scratch("again.txt"), Scratch("fresh.vrn")};
    EXPECT_FALSE(fresh->maybeSave());
    EXPECT_TRUE(docs->prompts.back().endsWith("fresh.vrn", Qt::CaseInsensitive))
        << docs->prompts.back().toStdString();
    EXPECT_TRUE(fresh->maybeSave());
    EXPECT_TRUE(QFile::exists(Scratch("fresh.vrn")));
    EXPECT_FALSE(fresh->isModified());
}

TEST_F(DocFixture, OpeningReadsOnceAndReportsFailures) {
    const QString path = Scratch("Opened.vrn");
    ASSERT_TRUE(QFile::copy(kVeteran, path));
    CharacterDocument* doc = docs->openDocumentFile(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->title(), "Opened.vrn");
    EXPECT_EQ(doc->character().disciplines.size(), 2u); // the file's, not a new character's
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(docs->recentFiles(), QStringList{path});
    EXPECT_EQ(frame->mdiArea()->currentSubWindow(), doc->windows().front());

    // The same file again, under another spelling: its window comes forward, nothing is
    // read, no second window.
    docs->fileNew();
    EXPECT_NE(frame->activeDocument(), doc);
    doc->character().name = "Unsaved"; // would be lost by a second read
    const QString sameFile = scratch.path() + "/./Opened.vrn";
    EXPECT_EQ(docs->openDocumentFile(sameFile), doc);
    EXPECT_EQ(doc->character().name, "Unsaved");
    EXPECT_EQ(frame->activeDocument(), doc);

    // A file that is no character: reported, and no window left over (a missing one is
    // reported as the start-up tests show).
    const QString junk = Scratch("junk.vrn");
    ASSERT_TRUE(WriteAll(junk, "this is not a character"));
    EXPECT_EQ(docs->openDocumentFile(junk), nullptr);
    ASSERT_FALSE(prompt->shown.isEmpty());
    EXPECT_TRUE(prompt->shown.back().startsWith("warn: "))
        << prompt->shown.join('\n').toStdString();
    FlushDeletes();
    EXPECT_EQ(docs->documents().size(), 2);
    EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 2);

    // A character file under another extension is named after its file all the same.
    ASSERT_TRUE(QFile::copy(kVeteran, Scratch("Opened.bak")));
    EXPECT_EQ(docs->openDocumentFile(Scratch("Opened.bak"))->title(), "Opened.bak");
}

TEST_F(DocFixture, RecentFilesKeepTheFourNewestAndSurviveTheRun) {
    QStringList paths;
    for (int i = 1; i <= 5; ++i) {
        const QString path = Scratch(QStringLiteral("c%1.vrn").arg(i));
        paths.append(path);
        docs->addRecentFile(path);
    }
    docs->addRecentFile(paths[2]); // seen again: moves to the top, once
    EXPECT_EQ(docs->recentFiles(), (QStringList{paths[2], paths[4], paths[3], paths[1]}));

    // What the next run of the program finds.
    ScriptedDocumentManager next(ShippedRules(), *prompt);
    next.loadRecentFiles();
    EXPECT_EQ(next.recentFiles(), docs->recentFiles());

    // An entry that cannot be opened any more leaves the list.
    EXPECT_EQ(docs->openRecentFile(0), nullptr);
    EXPECT_EQ(docs->recentFiles(), (QStringList{paths[4], paths[3], paths[1]}));
}

TEST_F(DocFixture, SaveOffersCharacterFilesAndTextOpenOnlyCharacterFiles) {
    EXPECT_EQ(docs->fileDialogFilters(true),
              (QStringList{"VARN Files (*.vrn)", "Character JSON (*.json)"}));
    EXPECT_EQ(docs->fileDialogFilters(false),
              (QStringList{"VARN Files (*.vrn)", "Text File (*.txt)"}));

    // The user switches the type back and forth in a Save As dialog.
    FileDialog dialog(false, "Save As", docs->fileDialogFilters(false), "VARN1.VRN");
    EXPECT_EQ(dialog.selectedNameFilter(), "VARN Files (*.vrn)");
    EXPECT_EQ(dialog.defaultSuffix(), "VRN");
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    // What the combo box sends when the user picks the second entry.
    types->setCurrentIndex(1);
    emit types->activated(1);
    emit types->textActivated(types->itemText(1));
    EXPECT_EQ(dialog.typedName(), "VARN1.txt");
    EXPECT_EQ(dialog.defaultSuffix(), "txt");
    // A new type replaces everything from the first dot.
    EXPECT_EQ(RenameForFileType("VARN1.txt", 0), "VARN1.vrn");
    EXPECT_EQ(RenameForFileType("Aldo.the.brave.vrn", 1), "Aldo.txt");
    EXPECT_EQ(RenameForFileType("hero", 0), "hero.vrn");
    EXPECT_EQ(RenameForFileType("hero.vrn", 2), "hero.vrn"); // not one of the two types
    EXPECT_EQ(RenameForFileType("", 1), "");

    // Open lists character files whatever the case of their extension.
    for (const char* name : {"upper.VRN", "lower.vrn", "sheet.txt"})
        ASSERT_TRUE(WriteAll(Scratch(name), {}));
    FileDialog open(true, "Open", docs->fileDialogFilters(true), QString());
    EXPECT_EQ(open.fileMode(), QFileDialog::ExistingFile);
    open.setDirectory(scratch.path());
    open.show();
    auto* list = open.findChild<QListView*>("listView");
    ASSERT_NE(list, nullptr);
    auto listed = [&] {
        QStringList names;
        const QModelIndex root = list->rootIndex();
        for (int row = 0; row < list->model()->rowCount(root); ++row) {
            const QModelIndex index = list->model()->index(row, 0, root);
            if (!list->isRowHidden(row) && !(list->model()->flags(index) == Qt::NoItemFlags))
                names.append(index.data().toString());
        }
        names.sort();
        return names;
    };
    QTRY_COMPARE_WITH_TIMEOUT(listed().size(), 2, 5000);
    EXPECT_EQ(listed(), (QStringList{"lower.vrn", "upper.VRN"}));
}
