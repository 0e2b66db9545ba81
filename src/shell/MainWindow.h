#pragma once

#include <QMainWindow>

#include <QList>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QUndoGroup;
class QUrl;
class DocumentManager;
class QToolBar;
class CharacterDocument;
class PrintWindow;
class PrintTextView;
class CharacterView;

// The main window: the character windows inside, the menu bar, the toolbar and the keys.
// While a window of a document is current it shows the character menus (File, Edit,
// Window, Help), otherwise the short ones (File, Help).
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    enum class Command {
        New,
        Open,
        Close,
        Save,
        SaveAs,
        Print,
        PageSetup,
        DataFolder,
        Exit,
        NewWindow,
        Cascade,
        About,
        Count
    };

    explicit MainWindow(DocumentManager& docs, QWidget* parent = nullptr);
    ~MainWindow() override;

    QMdiArea* mdiArea() const { return m_area; }
    QToolBar* toolBar() const { return m_toolBar; }
    QAction* action(Command command) const { return m_actions[static_cast<int>(command)]; }
    // The File menu of the character menus (true) or of the short ones.
    QMenu* fileMenu(bool characterMenus) const;
    QMenu* windowMenu() const { return m_windowMenu; }
    QMenu* editMenu() const { return m_editMenu; }
    // Edit > Undo and Redo: they act on the current window's document and name its step.
    QAction* undoAction() const { return m_undoAction; }
    QAction* redoAction() const { return m_redoAction; }

    // The document of the current window, and its character view if that window has one.
    CharacterDocument* activeDocument() const;
    CharacterView* activeView() const;
    // The current window if it is a print window, and its text if that is the sheet shown.
    PrintWindow* activePrintWindow() const;
    PrintTextView* activePrintText() const;
    // Undo and Redo follow the current window: a character's history, or a print window's
    // text.
    void updateUndoActions();
    // Shrinks and moves the windows that reach past the area.
    void fitWindowsToArea();

    // "New Window": one more character window on the current document.
    void newWindow();
    // Opens the local files among `urls` as characters.
    void openFiles(const QList<QUrl>& urls);
    // F6 and Shift+F6: the keyboard focus goes to the next or previous pane of the current
    // window, if it is split (the print window).
    void moveToPane(bool next);

signals:
    // The About command belongs to the application.
    void aboutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createEditActions();
    void watchDocument(CharacterDocument* doc);
    void updateRecentFileActions();
    void rebuildWindowList();
    void updateWindowState();
    void showMenus(bool characterMenus);
    void pageSetup();

    DocumentManager& m_docs;
    QMdiArea* m_area;
    QToolBar* m_toolBar = nullptr;
    QAction* m_actions[static_cast<int>(Command::Count)] = {};
    QAction* m_recentPlaceholder = nullptr;
    QList<QAction*> m_recentActions;
    QList<QAction*> m_windowListActions;
    QMenu* m_fileMenuShort = nullptr;
    QMenu* m_fileMenuCharacter = nullptr;
    QMenu* m_windowMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QUndoGroup* m_undoGroup = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QMenu* m_helpMenu = nullptr;
    bool m_characterMenusShown = false;
    QString m_title; // what the title says, as updateWindowState made it
};
