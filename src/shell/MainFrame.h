#pragma once

#include <QMainWindow>

#include <QList>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QUndoGroup;
class QUrl;
class CMyDocManager;
class QToolBar;
class CVARN_Doc;
class CVARN_PrintingSplitFrame;
class CVARN_PrintingViewText;
class CVARN_View;

// The main window: the character windows inside, the menu bar, the toolbar and the keys.
// While a window of a document is current it shows the character menus (File, Edit,
// Window, Help), otherwise the short ones (File, Help).
class CVARN_MainFrame : public QMainWindow {
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

    explicit CVARN_MainFrame(CMyDocManager& docs, QWidget* parent = nullptr);
    ~CVARN_MainFrame() override;

    QMdiArea* MdiArea() const { return m_area; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QAction* Action(Command command) const { return m_actions[static_cast<int>(command)]; }
    // The File menu of the character menus (true) or of the short ones.
    QMenu* FileMenu(bool characterMenus) const;
    QMenu* WindowMenu() const { return m_windowMenu; }
    QMenu* EditMenu() const { return m_editMenu; }
    // Edit > Undo and Redo: they act on the current window's document and name its step.
    QAction* UndoAction() const { return m_undoAction; }
    QAction* RedoAction() const { return m_redoAction; }

    // The document of the current window, and its character view if that window has one.
    CVARN_Doc* ActiveDocument() const;
    CVARN_View* ActiveView() const;
    // The current window if it is a print window, and its text if that is the sheet shown.
    CVARN_PrintingSplitFrame* ActivePrintWindow() const;
    CVARN_PrintingViewText* ActivePrintText() const;
    // Undo and Redo follow the current window: a character's history, or a print window's
    // text.
    void UpdateUndoActions();
    // Shrinks and moves the windows that reach past the area.
    void FitWindowsToArea();

    // "New Window": one more character window on the current document.
    void OnWindowNew();
    // Opens the local files among `urls` as characters.
    void OpenFiles(const QList<QUrl>& urls);
    // F6 and Shift+F6: the keyboard focus goes to the next or previous pane of the current
    // window, if it is split (the print window).
    void MoveToPane(bool next);

signals:
    // The About command belongs to the application.
    void AboutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateEditActions();
    void WatchDocument(CVARN_Doc* doc);
    void UpdateRecentFileActions();
    void RebuildWindowList();
    void UpdateFrame();
    void ShowMenus(bool characterMenus);
    void OnPageSetup();

    CMyDocManager& m_docs;
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
    QString m_title; // what the title says, as UpdateFrame made it
};
