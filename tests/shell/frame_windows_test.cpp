// The main window and the character windows: menus, toolbar, keys, window sizes, New
// Window, Exit's questions and dropped files.
#include "shell/DocFixture.h"

#include "editor/PageCharacter.h"
#include "support/Controls.h"
#include <QToolBar>

using namespace varn_test;
using Command = MainWindow::Command;
using SaveAnswer = QtPrompt::SaveAnswer;

namespace {
// A menu's items as text, separators as "-"; hidden items are left out.
QStringList Items(const QWidget* menu) {
    QStringList items;
    for (const QAction* action : menu->actions())
        if (action->isVisible())
            items.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return items;
}
} // namespace

TEST_F(DocFixture, MenusToolbarAndKeysFollowTheCurrentWindow) {
    // The title, the menu bar, the File and Window menus, the toolbar and the keys (Undo and
    // Redo last).
    auto shown = [this] {
        QStringList lines{frame->windowTitle()}, toolbar, keys;
        const bool character = !docs->documents().isEmpty();
        for (const QWidget* menu : QList<const QWidget*>{
                 frame->menuBar(), frame->fileMenu(character), frame->windowMenu()})
            lines << Items(menu).join(", ");
        for (const QAction* action : frame->toolBar()->actions())
            toolbar << (action->isSeparator() ? QStringLiteral("|") : action->iconText());
        for (Command command : {Command::New, Command::Open, Command::Save, Command::Print})
            keys << frame->action(command)->shortcut().toString();
        for (const QAction* action : {frame->undoAction(), frame->redoAction()})
            keys << QKeySequence::listToString(action->shortcuts());
        return (lines << toolbar.join(' ') << keys.join(' ')).join('\n');
    };
    const QString before = shown();
    CharacterDocument* doc = docs->fileNew();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(before + "\n---\n" + shown() + '\n',
              QString::fromUtf8(ReadAll(VARN_TEST_DATA_DIR "ui/menus.txt")));

    // A saved character shows in the recent files of both menus, numbered.
    docs->answers = {Scratch("Saved.vrn")};
    ASSERT_TRUE(doc->saveAs());
    EXPECT_EQ(frame->windowTitle(), "VARN - Saved.vrn[*]");
    const QStringList items = Items(frame->fileMenu(false));
    EXPECT_FALSE(items.contains("Recent File"));
    EXPECT_TRUE(items.contains("&1 " + Scratch("Saved.vrn")));

    // Without a character window the short menus come back.
    doc->close();
    FlushDeletes();
    EXPECT_EQ(Items(frame->menuBar()), (QStringList{"&File", "&Help"}));
    EXPECT_FALSE(frame->action(Command::Save)->isEnabled());
}

TEST_F(DocFixture, NewWindowSharesTheCharacterAndItsHistoryAndHasTheRunsSize) {
    CharacterDocument* doc = docs->fileNew();
    ASSERT_NE(doc, nullptr);
    frame->newWindow();
    const QList<QMdiSubWindow*> windows = doc->windows();
    ASSERT_EQ(windows.size(), 2);
    EXPECT_EQ(windows[0]->pos(), QPoint(0, 0)); // the first window takes the corner
    EXPECT_EQ(windows[0]->windowTitle(), "VARN1:1[*]");
    EXPECT_EQ(windows[1]->windowTitle(), "VARN1:2[*]");

    CharacterDocument* other = docs->fileNew();
    ASSERT_NE(other, nullptr);
    const QSize size = windows[0]->size();
    EXPECT_EQ(windows[1]->size(), size);
    EXPECT_EQ(other->windows().front()->size(), size);
    // Sized and maximised by the user, never minimised.
    EXPECT_TRUE(windows[0]->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(windows[0]->windowFlags() & Qt::WindowMinimizeButtonHint);

    auto* first = PageOf<CVARN_PageCharacter>(doc, 0, 0);
    auto* second = PageOf<CVARN_PageCharacter>(doc, 0, 1);

    // Typed in the first window, shown in the second; typing there goes on from the new text.
    // Each visit of a field is one step.
    auto visit = [&](int window, QWidget* field, const QString& keys) {
        frame->mdiArea()->setActiveSubWindow(doc->windows()[window]);
        field->setFocus();
        QCoreApplication::processEvents();
        QTest::keyClicks(field, keys);
        QCoreApplication::processEvents();
    };
    Control<QLineEdit>(first, "nameEdit")->selectAll();
    visit(0, Control<QLineEdit>(first, "nameEdit"), "Orla");
    EXPECT_EQ(Control<QLineEdit>(second, "nameEdit")->text(), "Orla");
    visit(1, Control<QPlainTextEdit>(second, "descriptionEdit"), "!");
    EXPECT_EQ(Control<QPlainTextEdit>(first, "descriptionEdit")->toPlainText(),
              Control<QPlainTextEdit>(second, "descriptionEdit")->toPlainText());
    Control<QLineEdit>(second, "nameEdit")->end(false);
    visit(1, Control<QLineEdit>(second, "nameEdit"), "n");
    EXPECT_EQ(Control<QLineEdit>(first, "nameEdit")->text(), "Orlan");
    EXPECT_EQ(doc->character().name, "Orlan");

    // One history: three visits, undone from the first window's Edit menu.
    EXPECT_EQ(doc->undoStack().count(), 3);
    frame->mdiArea()->setActiveSubWindow(doc->windows().front());
    frame->undoAction()->trigger();
    EXPECT_EQ(Control<QLineEdit>(first, "nameEdit")->text(), "Orla");
    EXPECT_EQ(Control<QLineEdit>(second, "nameEdit")->text(), "Orla");

    // Only the last window of a changed character asks to save, and Cancel keeps it.
    EXPECT_TRUE(windows[1]->close());
    EXPECT_EQ(windows[0]->windowTitle(), "VARN1[*]");
    prompt->saveAnswers = {SaveAnswer::Cancel, SaveAnswer::No};
    EXPECT_FALSE(windows[0]->close());
    EXPECT_EQ(prompt->shown, QStringList{"save?: VARN1"});
    EXPECT_TRUE(windows[0]->close());
    EXPECT_EQ(docs->documents(), QList<CharacterDocument*>{other});
    // An unchanged character closes without a question.
    EXPECT_TRUE(other->windows().front()->close());
    EXPECT_EQ(prompt->shown.size(), 2);
    EXPECT_TRUE(docs->documents().isEmpty());
    FlushDeletes();
    EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
}

TEST_F(DocFixture, ExitAsksForEveryChangedCharacterAndCancelKeepsAll) {
    CharacterDocument* first = docs->fileNew();
    CharacterDocument* second = docs->fileNew();
    ASSERT_TRUE(first != nullptr && second != nullptr);
    first->character().SetKarmaBought(1);
    second->character().SetKarmaBought(1);

    prompt->saveAnswers = {SaveAnswer::No, SaveAnswer::Cancel};
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(prompt->shown, (QStringList{"save?: VARN1", "save?: VARN2"}));
    EXPECT_EQ(docs->documents().size(), 2);

    // Yes saves through Save As; a cancelled Save As keeps the program running too.
    prompt->saveAnswers = {SaveAnswer::Yes};
    docs->answers = {QString()};
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(docs->documents().size(), 2);

    prompt->saveAnswers = {SaveAnswer::No, SaveAnswer::No};
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(docs->documents().isEmpty());
}

TEST_F(DocFixture, FilesDroppedOnTheMainWindowOpenAsCharacters) {
    ASSERT_TRUE(QFile::copy(kVeteran, Scratch("a.vrn")));
    ASSERT_TRUE(QFile::copy(kVeteran, Scratch("b.vrn")));

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Scratch("a.vrn")), QUrl::fromLocalFile(Scratch("b.vrn")),
                  QUrl("https://example.invalid/c.vrn")});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame.get(), &drop);

    QStringList titles;
    for (CharacterDocument* doc : docs->documents())
        titles.append(doc->title());
    EXPECT_EQ(titles, (QStringList{"a.vrn", "b.vrn"}));
}
