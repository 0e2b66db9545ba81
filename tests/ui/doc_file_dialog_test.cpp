// The file dialog of Open and Save As: its type list, the renaming on a change of type,
// and patterns that ignore case.
#include "doc_fixture.h"

#include "ui/FileDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QSortFilterProxyModel>
#include <QTest>

using namespace varn_test;

TEST(DocFileDialog, ChangingTheTypeReplacesEverythingFromTheFirstDot) {
    EXPECT_EQ(RenameForFileType("VARN1.VRN", 1), "VARN1.txt");
    EXPECT_EQ(RenameForFileType("VARN1.txt", 0), "VARN1.vrn");
    EXPECT_EQ(RenameForFileType("Aldo.the.brave.vrn", 1), "Aldo.txt");
    EXPECT_EQ(RenameForFileType("hero", 0), "hero.vrn");
    EXPECT_EQ(RenameForFileType("hero.vrn", 2), "hero.vrn"); // not one of the two types
    EXPECT_EQ(RenameForFileType("", 1), "");
}

TEST_F(DocFixture, SaveOffersCharacterFilesAndTextOpenOnlyCharacterFiles) {
    EXPECT_EQ(docs->FileDialogFilters(true), QStringList{"VARN Files (*.vrn)"});
    EXPECT_EQ(docs->FileDialogFilters(false),
              (QStringList{"VARN Files (*.vrn)", "Text File (*.txt)"}));

    // The user switches the type back and forth in a Save As dialog.
    CMyFileDialog dialog(false, "Save As", docs->FileDialogFilters(false), "VARN1.VRN");
    EXPECT_EQ(dialog.windowTitle(), "Save As");
    EXPECT_EQ(dialog.nameFilters(), docs->FileDialogFilters(false));
    EXPECT_EQ(dialog.selectedNameFilter(), "VARN Files (*.vrn)");
    EXPECT_EQ(dialog.TypedName(), "VARN1.VRN");
    EXPECT_EQ(dialog.defaultSuffix(), "VRN");
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    // What the combo box sends when the user picks an entry.
    auto pick = [types](int index) {
        types->setCurrentIndex(index);
        emit types->activated(index);
        emit types->textActivated(types->itemText(index));
    };
    pick(1);
    EXPECT_EQ(dialog.TypedName(), "VARN1.txt");
    EXPECT_EQ(dialog.defaultSuffix(), "txt");
    pick(0);
    EXPECT_EQ(dialog.TypedName(), "VARN1.vrn");
    dialog.SetTypedName("Aldo.the.brave");
    pick(1);
    EXPECT_EQ(dialog.TypedName(), "Aldo.txt");
}

TEST_F(DocFixture, CharacterFilesAreListedWhateverTheCaseOfTheirExtension) {
    for (const char* name : {"upper.VRN", "lower.vrn", "sheet.txt"}) {
        QFile file(Scratch(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    CMyFileDialog dialog(true, "Open", docs->FileDialogFilters(true), QString());
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    dialog.setDirectory(scratch.path());
    dialog.show();
    auto* list = dialog.findChild<QListView*>("listView");
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
    dialog.hide();
}
