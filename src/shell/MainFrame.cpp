#include "shell/MainFrame.h"

#include "rules/RulesDatabase.h"
#include "shell/DataFolder.h"
#include "shell/Doc.h"
#include "shell/DocManager.h"
#include "shell/PrintingSplitFrame.h"
#include "shell/PrintingViewText.h"
#include "shell/SheetExport.h"
#include "shell/View.h"
#include "widgets/VarnResources.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPointer>
#include <QSplitter>
#include <QTextDocument>
#include <QToolBar>
#include <QUndoGroup>
#include <QUndoStack>
#include <QUrl>

#include <algorithm>
#include <iterator>

namespace {
struct CommandText {
    const char* text;     // menu text, with its key after a tab
    const char* shortcut; // empty: none
    const char* tip;      // tool tip and toolbar text
    const char* icon;     // toolbar picture, empty: not on the toolbar
};

// Indexed by CVARN_MainFrame::Command.
const CommandText kCommands[] = {
    {"&New\tCtrl+N", "Ctrl+N", "New", ":/toolbar/new.png"},
    {"&Open...\tCtrl+O", "Ctrl+O", "Open", ":/toolbar/open.png"},
    {"&Close", "", "Close", ""},
    {"&Save\tCtrl+S", "Ctrl+S", "Save", ":/toolbar/save.png"},
    {"Save &As...", "", "Save As", ""},
    {"&Print\tCtrl+P", "Ctrl+P", "Print", ":/toolbar/print.png"},
    {"Page Set&up...", "", "Page Setup", ""},
    {"&Data Folder...", "", "Data Folder", ""},
    {"E&xit", "", "Exit", ""},
    {"&New Window", "", "New Window", ""},
    {"&Cascade", "", "Cascade", ""},
    {"&About VARN...", "", "About", ":/toolbar/about.png"},
};
static_assert(std::size(kCommands) == static_cast<size_t>(CVARN_MainFrame::Command::Count));

QString MenuPath(const QString& path) {
    // A path shows in the menu as it is; "&" would otherwise underline the next letter.
    QString shown = QDir::toNativeSeparators(path);
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    return shown;
}
} // namespace

CVARN_MainFrame::CVARN_MainFrame(CMyDocManager& docs, QWidget* parent)
    : QMainWindow(parent), m_docs(docs), m_area(new QMdiArea(this)) {
    InitVarnResources();
    setObjectName(QStringLiteral("VARNMainFrame"));
    setWindowTitle(QStringLiteral("VARN"));
    setWindowIcon(VarnIcon(QStringLiteral(":/icons/varn.png")));
    setCentralWidget(m_area);
    // The print window opens maximised; the character windows have their fixed size and
    // must not take over its state when they become active after it.
    m_area->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    setAcceptDrops(true);
    m_docs.SetMdiArea(m_area);

    CreateActions();
    CreateEditActions();
    CreateMenus();
    CreateToolBar();

    connect(m_area, &QMdiArea::subWindowActivated, this, [this] { UpdateFrame(); });
    m_area->viewport()->installEventFilter(this);
    connect(&m_docs, &CMyDocManager::RecentFilesChanged, this,
            &CVARN_MainFrame::UpdateRecentFileActions);
    connect(&m_docs, &CMyDocManager::DocumentAdded, this, &CVARN_MainFrame::WatchDocument);
    connect(&m_docs, &CMyDocManager::DocumentRemoved, this, [this] { UpdateFrame(); });
    UpdateRecentFileActions();
    UpdateFrame();
}

CVARN_MainFrame::~CVARN_MainFrame() {
    // The character windows go with this window and may close their documents as they go:
    // nothing of that may reach a main window that is half destroyed.
    disconnect(&m_docs, nullptr, this, nullptr);
    for (CVARN_Doc* doc : m_docs.Documents())
        disconnect(doc, nullptr, this, nullptr);
    disconnect(m_area, nullptr, this, nullptr);
    if (m_docs.MdiArea() == m_area)
        m_docs.SetMdiArea(nullptr);
}

void CVARN_MainFrame::CreateActions() {
    for (int i = 0; i < static_cast<int>(Command::Count); ++i) {
        const CommandText& c = kCommands[i];
        auto* action = new QAction(QString::fromLatin1(c.text), this);
        if (*c.shortcut != '\0')
            action->setShortcut(QKeySequence(QString::fromLatin1(c.shortcut)));
        action->setToolTip(QString::fromLatin1(c.tip));
        action->setIconText(QString::fromLatin1(c.tip));
        if (*c.icon != '\0')
            action->setIcon(VarnIcon(QString::fromLatin1(c.icon)));
        // Keys work whichever menus are shown.
        addAction(action);
        m_actions[i] = action;
    }
    connect(Action(Command::New), &QAction::triggered, this, [this] { m_docs.OnFileNew(); });
    connect(Action(Command::Open), &QAction::triggered, this, [this] { m_docs.OnFileOpen(); });
    connect(Action(Command::Close), &QAction::triggered, this, [this] {
        if (CVARN_Doc* doc = ActiveDocument()) {
            if (doc->SaveModified())
                doc->OnCloseDocument();
        }
    });
    connect(Action(Command::Save), &QAction::triggered, this, [this] {
        if (CVARN_Doc* doc = ActiveDocument())
            doc->DoFileSave();
    });
    connect(Action(Command::SaveAs), &QAction::triggered, this, [this] {
        if (CVARN_Doc* doc = ActiveDocument())
            doc->DoSaveAs();
    });
    connect(Action(Command::Print), &QAction::triggered, this, [this] {
        if (CVARN_View* view = ActiveView(); view != nullptr && view->CanPrint())
            view->GetDocument()->StartPrinting();
    });
    connect(Action(Command::PageSetup), &QAction::triggered, this, &CVARN_MainFrame::OnPageSetup);
    connect(Action(Command::DataFolder), &QAction::triggered, this, [this] {
        CVARN_DataFolderDlg dialog(QString::fromStdString(m_docs.Rules().dataDirectory), this);
        dialog.exec();
    });
    connect(Action(Command::Exit), &QAction::triggered, this, &QWidget::close);
    connect(Action(Command::NewWindow), &QAction::triggered, this, &CVARN_MainFrame::OnWindowNew);
    connect(Action(Command::Cascade), &QAction::triggered, m_area, &QMdiArea::cascadeSubWindows);
    connect(Action(Command::About), &QAction::triggered, this, &CVARN_MainFrame::AboutRequested);

    auto* nextPane = new QAction(this);
    nextPane->setShortcut(QKeySequence(Qt::Key_F6));
    connect(nextPane, &QAction::triggered, this, [this] { MoveToPane(true); });
    addAction(nextPane);
    auto* previousPane = new QAction(this);
    previousPane->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    connect(previousPane, &QAction::triggered, this, [this] { MoveToPane(false); });
    addAction(previousPane);

    m_recentPlaceholder = new QAction(QStringLiteral("Recent File"), this);
    m_recentPlaceholder->setEnabled(false);
    for (int i = 0; i < CMyDocManager::RecentFileCount; ++i) {
        auto* action = new QAction(this);
        connect(action, &QAction::triggered, this, [this, i] { m_docs.OpenRecentFile(i); });
        m_recentActions.append(action);
    }
}

void CVARN_MainFrame::CreateEditActions() {
    // The group follows the current window's document and keeps the items' texts ("Undo
    // Talent Rank") and enabling; the items themselves go through the document, which
    // first records a change still in progress.
    m_undoGroup = new QUndoGroup(this);
    m_undoAction = m_undoGroup->createUndoAction(this);
    m_redoAction = m_undoGroup->createRedoAction(this);
    disconnect(m_undoAction, &QAction::triggered, m_undoGroup, nullptr);
    disconnect(m_redoAction, &QAction::triggered, m_undoGroup, nullptr);
    // In a print window they act on its text, never on the character behind it.
    connect(m_undoAction, &QAction::triggered, this, [this] {
        if (ActivePrintWindow() != nullptr) {
            if (CVARN_PrintingViewText* text = ActivePrintText())
                text->undo();
        } else if (CVARN_Doc* doc = ActiveDocument()) {
            doc->Undo();
        }
    });
    connect(m_redoAction, &QAction::triggered, this, [this] {
        if (ActivePrintWindow() != nullptr) {
            if (CVARN_PrintingViewText* text = ActivePrintText())
                text->redo();
        } else if (CVARN_Doc* doc = ActiveDocument()) {
            doc->Redo();
        }
    });
    m_undoAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    m_redoAction->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    m_undoAction->setIcon(VarnIcon(QStringLiteral(":/toolbar/undo.png")));
    m_redoAction->setIcon(VarnIcon(QStringLiteral(":/toolbar/redo.png")));
    for (QAction* action : {m_undoAction, m_redoAction})
        addAction(action); // keys work whichever menus are shown
}

void CVARN_MainFrame::CreateMenus() {
    auto addRecent = [this](QMenu* menu) {
        menu->addAction(m_recentPlaceholder);
        menu->addActions(m_recentActions);
    };

    m_fileMenuShort = new QMenu(QStringLiteral("&File"), this);
    m_fileMenuShort->addAction(Action(Command::New));
    m_fileMenuShort->addAction(Action(Command::Open));
    m_fileMenuShort->addSeparator();
    m_fileMenuShort->addAction(Action(Command::PageSetup));
    m_fileMenuShort->addAction(Action(Command::DataFolder));
    m_fileMenuShort->addSeparator();
    addRecent(m_fileMenuShort);
    m_fileMenuShort->addSeparator();
    m_fileMenuShort->addAction(Action(Command::Exit));

    m_fileMenuCharacter = new QMenu(QStringLiteral("&File"), this);
    m_fileMenuCharacter->addAction(Action(Command::New));
    m_fileMenuCharacter->addAction(Action(Command::Open));
    m_fileMenuCharacter->addAction(Action(Command::Close));
    m_fileMenuCharacter->addAction(Action(Command::Save));
    m_fileMenuCharacter->addAction(Action(Command::SaveAs));
    m_fileMenuCharacter->addMenu(CreateExportMenu(*this));
    m_fileMenuCharacter->addSeparator();
    m_fileMenuCharacter->addAction(Action(Command::Print));
    m_fileMenuCharacter->addAction(Action(Command::PageSetup));
    m_fileMenuCharacter->addAction(Action(Command::DataFolder));
    m_fileMenuCharacter->addSeparator();
    addRecent(m_fileMenuCharacter);
    m_fileMenuCharacter->addSeparator();
    m_fileMenuCharacter->addAction(Action(Command::Exit));

    m_editMenu = new QMenu(QStringLiteral("&Edit"), this);
    m_editMenu->addAction(m_undoAction);
    m_editMenu->addAction(m_redoAction);

    m_windowMenu = new QMenu(QStringLiteral("&Window"), this);
    m_windowMenu->addAction(Action(Command::NewWindow));
    m_windowMenu->addAction(Action(Command::Cascade));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &CVARN_MainFrame::RebuildWindowList);

    m_helpMenu = new QMenu(QStringLiteral("&Help"), this);
    m_helpMenu->addAction(Action(Command::About));

    m_characterMenusShown = true; // forces the first ShowMenus to fill the bar
    ShowMenus(false);
}

void CVARN_MainFrame::CreateToolBar() {
    m_toolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("MainToolBar"));
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->addAction(Action(Command::New));
    m_toolBar->addSeparator();
    m_toolBar->addAction(Action(Command::Open));
    m_toolBar->addAction(Action(Command::Save));
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_undoAction);
    m_toolBar->addAction(m_redoAction);
    m_toolBar->addSeparator();
    m_toolBar->addAction(Action(Command::Print));
    m_toolBar->addSeparator();
    m_toolBar->addAction(Action(Command::About));
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

QMenu* CVARN_MainFrame::FileMenu(bool characterMenus) const {
    return characterMenus ? m_fileMenuCharacter : m_fileMenuShort;
}

void CVARN_MainFrame::ShowMenus(bool characterMenus) {
    if (characterMenus == m_characterMenusShown)
        return;
    m_characterMenusShown = characterMenus;
    QMenuBar* bar = menuBar();
    bar->clear();
    bar->addMenu(FileMenu(characterMenus));
    if (characterMenus) {
        bar->addMenu(m_editMenu);
        bar->addMenu(m_windowMenu);
    }
    bar->addMenu(m_helpMenu);
}

CVARN_Doc* CVARN_MainFrame::ActiveDocument() const {
    QMdiSubWindow* current = m_area->currentSubWindow();
    if (current == nullptr)
        return nullptr;
    for (CVARN_Doc* doc : m_docs.Documents()) {
        if (!doc->IsClosing() && doc->Frames().contains(current))
            return doc;
    }
    return nullptr;
}

CVARN_PrintingSplitFrame* CVARN_MainFrame::ActivePrintWindow() const {
    return qobject_cast<CVARN_PrintingSplitFrame*>(m_area->currentSubWindow());
}

CVARN_PrintingViewText* CVARN_MainFrame::ActivePrintText() const {
    CVARN_PrintingSplitFrame* print = ActivePrintWindow();
    return print != nullptr && print->SheetPane() == print->TextView() ? print->TextView()
                                                                       : nullptr;
}

CVARN_View* CVARN_MainFrame::ActiveView() const {
    QMdiSubWindow* current = m_area->currentSubWindow();
    return current != nullptr ? qobject_cast<CVARN_View*>(current->widget()) : nullptr;
}

void CVARN_MainFrame::OnWindowNew() {
    CVARN_Doc* doc = ActiveDocument();
    if (doc != nullptr)
        m_docs.OpenNewWindow(doc);
}

void CVARN_MainFrame::OpenFiles(const QList<QUrl>& urls) {
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            m_docs.OpenDocumentFile(url.toLocalFile());
    }
}

void CVARN_MainFrame::MoveToPane(bool next) {
    QMdiSubWindow* current = m_area->currentSubWindow();
    auto* splitter = current != nullptr ? current->findChild<QSplitter*>() : nullptr;
    if (splitter == nullptr || splitter->count() < 2)
        return;
    const int count = splitter->count();
    int from = -1;
    for (int i = 0; i < count; ++i) {
        QWidget* pane = splitter->widget(i);
        QWidget* focus = QApplication::focusWidget();
        if (focus != nullptr && (focus == pane || pane->isAncestorOf(focus)))
            from = i;
    }
    const int to = from < 0 ? 0 : (from + (next ? 1 : count - 1)) % count;
    QWidget* pane = splitter->widget(to);
    // A pane's own focus proxy or first focusable control takes the focus.
    if (pane->focusPolicy() != Qt::NoFocus)
        pane->setFocus(Qt::ShortcutFocusReason);
    else if (QWidget* child = pane->nextInFocusChain();
             child != nullptr && pane->isAncestorOf(child))
        child->setFocus(Qt::ShortcutFocusReason);
}

void CVARN_MainFrame::WatchDocument(CVARN_Doc* doc) {
    connect(doc, &CVARN_Doc::TitleChanged, this, &CVARN_MainFrame::UpdateFrame);
    connect(doc, &CVARN_Doc::PrintingChanged, this, &CVARN_MainFrame::UpdateFrame);
    connect(doc, &CVARN_Doc::ModifiedChanged, this, &CVARN_MainFrame::UpdateFrame);
    m_undoGroup->addStack(&doc->UndoStack());
    UpdateFrame();
}

void CVARN_MainFrame::UpdateFrame() {
    CVARN_Doc* doc = ActiveDocument();
    const bool haveDoc = doc != nullptr;
    ShowMenus(haveDoc);

    // The active document once, with its mark; Qt's own addition of a maximised window's
    // caption is taken back out (changeEvent).
    QString title = QStringLiteral("VARN");
    if (haveDoc && !doc->Title().isEmpty()) {
        QString name = doc->Title();
        name.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
        title += QStringLiteral(" - ") + name + QStringLiteral("[*]");
        if (ActivePrintWindow() != nullptr)
            title += QStringLiteral(" - Printing...");
    }
    m_title = title;
    setWindowTitle(title);
    setWindowModified(haveDoc && doc->IsModified());

    Action(Command::Close)->setEnabled(haveDoc);
    Action(Command::Save)->setEnabled(haveDoc);
    Action(Command::SaveAs)->setEnabled(haveDoc);
    Action(Command::NewWindow)->setEnabled(haveDoc);
    UpdateUndoActions();
    Action(Command::Cascade)->setEnabled(!m_area->subWindowList().isEmpty());
    // Print belongs to a character window; none can open while one of the document's
    // print windows is open, and none at all before printing is part of the program.
    CVARN_View* view = ActiveView();
    Action(Command::Print)
        ->setEnabled(view != nullptr && view->CanPrint() && m_docs.GetPrintWindowOpener());
}

void CVARN_MainFrame::UpdateUndoActions() {
    CVARN_Doc* doc = ActiveDocument();
    if (ActivePrintWindow() == nullptr) {
        m_undoGroup->setActiveStack(doc != nullptr ? &doc->UndoStack() : nullptr);
        return;
    }
    m_undoGroup->setActiveStack(nullptr);
    CVARN_PrintingViewText* text = ActivePrintText();
    m_undoAction->setText(QStringLiteral("Undo"));
    m_redoAction->setText(QStringLiteral("Redo"));
    m_undoAction->setEnabled(text != nullptr && text->document()->isUndoAvailable());
    m_redoAction->setEnabled(text != nullptr && text->document()->isRedoAvailable());
}

void CVARN_MainFrame::FitWindowsToArea() {
    const QRect room = m_area->viewport()->rect();
    if (room.isEmpty())
        return;
    for (QMdiSubWindow* window : m_area->subWindowList()) {
        if (window->isMaximized() || window->isMinimized())
            continue;
        QRect place = window->geometry();
        place.setSize(place.size().boundedTo(room.size()).expandedTo(window->minimumSize()));
        if (place.right() > room.right())
            place.moveRight(room.right());
        if (place.bottom() > room.bottom())
            place.moveBottom(room.bottom());
        place.moveTopLeft(QPoint(std::max(place.left(), 0), std::max(place.top(), 0)));
        if (place != window->geometry())
            window->setGeometry(place);
    }
}

void CVARN_MainFrame::changeEvent(QEvent* event) {
    // A maximised window adds " - [its caption]", which repeats the document's name and
    // stays after another window is active.
    if (event->type() == QEvent::WindowTitleChange && !m_title.isEmpty() &&
        windowTitle() != m_title)
        setWindowTitle(m_title);
    QMainWindow::changeEvent(event);
}

bool CVARN_MainFrame::eventFilter(QObject* watched, QEvent* event) {
    // Every window fits the area it is in, whatever the scale; at start-up too, where the
    // first window was sized before the main window was shown.
    if (watched == m_area->viewport() && event->type() == QEvent::Resize)
        FitWindowsToArea();
    return QMainWindow::eventFilter(watched, event);
}

void CVARN_MainFrame::UpdateRecentFileActions() {
    const QStringList recent = m_docs.RecentFiles();
    m_recentPlaceholder->setVisible(recent.isEmpty());
    for (int i = 0; i < m_recentActions.size(); ++i) {
        QAction* action = m_recentActions[i];
        if (i < recent.size()) {
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(MenuPath(recent[i])));
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
}

void CVARN_MainFrame::RebuildWindowList() {
    for (QAction* action : m_windowListActions) {
        m_windowMenu->removeAction(action);
        delete action;
    }
    m_windowListActions.clear();
    const QList<QMdiSubWindow*> windows = m_area->subWindowList();
    if (windows.isEmpty())
        return;
    m_windowListActions.append(m_windowMenu->addSeparator());
    int number = 1;
    for (QMdiSubWindow* window : windows) {
        QString title = window->windowTitle();
        title.replace(QLatin1String("[*]"),
                      window->isWindowModified() ? QStringLiteral("*") : QString());
        title.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* action =
            m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(title));
        action->setCheckable(true);
        action->setChecked(window == m_area->currentSubWindow());
        connect(action, &QAction::triggered, this, [this, w = QPointer<QMdiSubWindow>(window)] {
            if (w)
                m_area->setActiveSubWindow(w);
        });
        m_windowListActions.append(action);
    }
}

void CVARN_MainFrame::OnPageSetup() {
    QPageSetupDialog dialog(&m_docs.Printer(), this);
    dialog.exec();
}

void CVARN_MainFrame::closeEvent(QCloseEvent* event) {
    if (!m_docs.SaveAllModified()) {
        event->ignore();
        return;
    }
    m_docs.CloseAllDocuments();
    event->accept();
}

void CVARN_MainFrame::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data != nullptr && data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
        }
    }
    QMainWindow::dragEnterEvent(event);
}

void CVARN_MainFrame::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data == nullptr || !data->hasUrls()) {
        QMainWindow::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    activateWindow();
    OpenFiles(data->urls());
}
