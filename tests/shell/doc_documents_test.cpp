// Documents and their file commands: titles, modified marks, Save dispatch by extension,
// Save As and its file dialog, opening, the recent files.
#include "shell/DocFixture.h"

#include "character/CharacterFile.h"
#include "character/TextSheet.h"
#include "shell/FileDialog.h"

using namespace varn_test;

namespace {
QByteArray CharacterBytes(const CVARN_Doc& doc) {
    return QByteArray::fromStdString(WriteCharacter(doc.Character()));
}

QByteArray SheetBytes(const CVARN_Doc& doc) {
    std::string sheet;
    BuildTextSheet(doc.Character(), sheet);
    return QByteArray::fromStdString(sheet).replace("\n", "\r\n");
}
} // namespace

TEST_F(DocFixture, SaveDispatchesOnTheExtensionOfTheWholePathAndMarksTheSavedState) {
    CVARN_Doc* doc = docs->OnFileNew();
    ASSERT_NE(doc, nullptr);
    QMdiSubWindow* window = doc->Frames().front();
    EXPECT_EQ(window->windowTitle(), "VARN1[*]");
    EXPECT_EQ(doc->Character().race, ShippedRules().raceTable.races.front().get());
    EXPECT_FALSE(doc->IsModified()) << "setting the first race must not count as a change";
    doc->Character().SetKarmaBought(2);
    doc->RecordPendingStep();
    EXPECT_TRUE(window->isWindowModified());

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
    EXPECT_EQ(window->windowTitle(), "Hero.vRn[*]");

    // Undo and redo across the saved state move the modified mark with them.
    doc->Character().SetKarmaBought(4);
    doc->RecordPendingStep();
    EXPECT_TRUE(doc->IsModified());
    doc->Undo();
    EXPECT_FALSE(doc->IsModified()) << "undone back to the saved state";
    doc->Undo();
    EXPECT_TRUE(doc->IsModified()) << "before the saved state";
    doc->Redo();
    EXPECT_FALSE(doc->IsModified()) << "redone to the saved state";
    EXPECT_FALSE(window->isWindowModified());
    doc->Redo();
    EXPECT_TRUE(window->isWindowModified());

    // A text file is an export: the title, the recent files and the modified mark stay,
    // but the path follows, so the next Save writes the sheet again without asking.
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

    // A cancelled Save As changes nothing; a failed one reports and keeps the old path and
    // whatever was in the way (here a folder that the new file cannot take the place of).
    docs->answers = {QString()};
    EXPECT_FALSE(doc->DoSaveAs());
    ASSERT_TRUE(QDir(scratch.path()).mkpath("busy.vrn/inside"));
    for (const QString& target : {Scratch("missing/dir/hero.vrn"), Scratch("busy.vrn")}) {
        prompt->shown.clear();
        docs->answers = {target};
        EXPECT_FALSE(doc->DoSaveAs());
        EXPECT_EQ(prompt->shown.size(), 1);
        EXPECT_TRUE(prompt->shown.value(0).startsWith("warn: ")) << target.toStdString();
    }
    EXPECT_TRUE(QFileInfo(Scratch("busy.vrn/inside")).isDir())
        << "a failed Save As must not delete";
    EXPECT_EQ(doc->PathName(), txt);
    EXPECT_TRUE(doc->IsModified());

    // Yes to the save question writes the .vrn the title names, without asking where.
    prompt->saveAnswers = {CVARN_QtPrompt::SaveAnswer::Yes};
    const qsizetype asked = docs->prompts.size();
    EXPECT_TRUE(doc->SaveModified());
    EXPECT_EQ(docs->prompts.size(), asked);
    EXPECT_EQ(ReadAll(vrn), CharacterBytes(*doc));
    EXPECT_FALSE(doc->IsModified());
}

// A new character exported as text has no character file yet: Yes asks for one, and
// choosing another text file keeps the window open instead of claiming it saved.
TEST_F(DocFixture, SaveQuestionAfterTextExportSavesTheCharacterFile) {
    CVARN_Doc* fresh = docs->OnFileNew();
    docs->answers = {Scratch("fresh.txt")};
    ASSERT_TRUE(fresh->DoSaveAs());
    fresh->Character().SetKarmaBought(2);
    prompt->saveAnswers = {CVARN_QtPrompt::SaveAnswer::Yes, CVARN_QtPrompt::SaveAnswer::Yes};
    docs->answers = {Scratch("again.txt"), Scratch("fresh.vrn")};
    EXPECT_FALSE(fresh->SaveModified());
    EXPECT_TRUE(docs->prompts.back().endsWith("fresh.vrn", Qt::CaseInsensitive))
        << docs->prompts.back().toStdString();
    EXPECT_TRUE(fresh->SaveModified());
    EXPECT_TRUE(QFile::exists(Scratch("fresh.vrn")));
    EXPECT_FALSE(fresh->IsModified());
}

TEST_F(DocFixture, OpeningReadsOnceAndReportsFailures) {
    const QString path = Scratch("Opened.vrn");
    ASSERT_TRUE(QFile::copy(kVeteran, path));
    CVARN_Doc* doc = docs->OpenDocumentFile(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Title(), "Opened.vrn");
    EXPECT_EQ(doc->Character().disciplines.size(), 2u); // the file's, not a new character's
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(docs->RecentFiles(), QStringList{path});
    EXPECT_EQ(frame->MdiArea()->currentSubWindow(), doc->Frames().front());

    // The same file again, under another spelling: its window comes forward, nothing is
    // read, no second window.
    docs->OnFileNew();
    EXPECT_NE(frame->ActiveDocument(), doc);
    doc->Character().name = "Unsaved"; // would be lost by a second read
    const QString sameFile = scratch.path() + "/./Opened.vrn";
    EXPECT_EQ(docs->OpenDocumentFile(sameFile), doc);
    EXPECT_EQ(doc->Character().name, "Unsaved");
    EXPECT_EQ(frame->ActiveDocument(), doc);

    // A file that is no character: reported, and no window left over (a missing one is
    // reported as the start-up tests show).
    const QString junk = Scratch("junk.vrn");
    ASSERT_TRUE(WriteAll(junk, "this is not a character"));
    EXPECT_EQ(docs->OpenDocumentFile(junk), nullptr);
    ASSERT_FALSE(prompt->shown.isEmpty());
    EXPECT_TRUE(prompt->shown.back().startsWith("warn: "))
        << prompt->shown.join('\n').toStdString();
    FlushDeletes();
    EXPECT_EQ(docs->Documents().size(), 2);
    EXPECT_EQ(frame->MdiArea()->subWindowList().size(), 2);

    // A character file under another extension is named after its file all the same.
    ASSERT_TRUE(QFile::copy(kVeteran, Scratch("Opened.bak")));
    EXPECT_EQ(docs->OpenDocumentFile(Scratch("Opened.bak"))->Title(), "Opened.bak");
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
    next.LoadRecentFileList();
    EXPECT_EQ(next.RecentFiles(), docs->RecentFiles());

    // An entry that cannot be opened any more leaves the list.
    EXPECT_EQ(docs->OpenRecentFile(0), nullptr);
    EXPECT_EQ(docs->RecentFiles(), (QStringList{paths[4], paths[3], paths[1]}));
}

TEST_F(DocFixture, SaveOffersCharacterFilesAndTextOpenOnlyCharacterFiles) {
    EXPECT_EQ(docs->FileDialogFilters(true),
              (QStringList{"VARN Files (*.vrn)", "Character JSON (*.json)"}));
    EXPECT_EQ(docs->FileDialogFilters(false),
              (QStringList{"VARN Files (*.vrn)", "Text File (*.txt)"}));

    // The user switches the type back and forth in a Save As dialog.
    CMyFileDialog dialog(false, "Save As", docs->FileDialogFilters(false), "VARN1.VRN");
    EXPECT_EQ(dialog.selectedNameFilter(), "VARN Files (*.vrn)");
    EXPECT_EQ(dialog.defaultSuffix(), "VRN");
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    // What the combo box sends when the user picks the second entry.
    types->setCurrentIndex(1);
    emit types->activated(1);
    emit types->textActivated(types->itemText(1));
    EXPECT_EQ(dialog.TypedName(), "VARN1.txt");
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
    CMyFileDialog open(true, "Open", docs->FileDialogFilters(true), QString());
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
