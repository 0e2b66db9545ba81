#include "shell/MainWindow.h"

#include "rules/RulesDatabase.h"
#include "shell/CharacterDocument.h"
#include "shell/CharacterView.h"
#include "shell/DataFolderDialog.h"
#include "shell/DocumentManager.h"
#include "shell/PrintTextView.h"
#include "shell/PrintWindow.h"
#include "shell/SheetExport.h"
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

// Indexed by MainWindow::Command.
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
static_assert(std::size(kCommands) == static_cast<size_t>(MainWindow::Command::Count));

QString MenuPath(const QString& path) {
    // A path shows in the menu as it is; "&" would otherwise underline the next letter.
    QString shown = QDir::toNativeSeparators(path);
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    return shown;
}
} // namespace

MainWindow::MainWindow(DocumentManager& docs, QWidget* parent)
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
    m_docs.setMdiArea(m_area);

    createActions();
    createEditActions();
    createMenus();
    createToolBar();

    connect(m_area, &QMdiArea::subWindowActivated, this, [this] { updateWindowState(); });
    m_area->viewport()->installEventFilter(this);
    connect(&m_docs, &DocumentManager::recentFilesChanged, this,
            &MainWindow::updateRecentFileActions);
    connect(&m_docs, &DocumentManager::documentAdded, this, &MainWindow::watchDocument);
    connect(&m_docs, &DocumentManager::documentRemoved, this, [this] { updateWindowState(); });
    updateRecentFileActions();
    updateWindowState();
}

MainWindow::~MainWindow() {
    // The character windows go with this window and may close their documents as they go:
    // nothing of that may reach a main window that is half destroyed.
    disconnect(&m_docs, nullptr, this, nullptr);
    for (CharacterDocument* doc : m_docs.documents())
        disconnect(doc, nullptr, this, nullptr);
    disconnect(m_area, nullptr, this, nullptr);
    if (m_docs.mdiArea() == m_area)
        m_docs.setMdiArea(nullptr);
}

void MainWindow::createActions() {
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
    connect(action(Command::New), &QAction::triggered, this, [this] { m_docs.fileNew(); });
    connect(action(Command::Open), &QAction::triggered, this, [this] { m_docs.fileOpen(); });
    connect(action(Command::Close), &QAction::triggered, this, [this] {
        if (CharacterDocument* doc = activeDocument()) {
            if (doc->maybeSave())
                doc->close();
        }
    });
    connect(action(Command::Save), &QAction::triggered, this, [this] {
        if (CharacterDocument* doc = activeDocument())
            doc->save();
    });
    connect(action(Command::SaveAs), &QAction::triggered, this, [this] {
        if (CharacterDocument* doc = activeDocument())
            doc->saveAs();
    });
    connect(action(Command::Print), &QAction::triggered, this, [this] {
        if (CharacterView* view = activeView(); view != nullptr && view->canPrint())
            view->document()->startPrinting();
    });
    connect(action(Command::PageSetup), &QAction::triggered, this, &MainWindow::pageSetup);
    connect(action(Command::DataFolder), &QAction::triggered, this, [this] {
        DataFolderDialog dialog(QString::fromStdString(m_docs.rules().dataDirectory), this);
        dialog.exec();
    });
    connect(action(Command::Exit), &QAction::triggered, this, &QWidget::close);
    connect(action(Command::NewWindow), &QAction::triggered, this, &MainWindow::newWindow);
    connect(action(Command::Cascade), &QAction::triggered, m_area, &QMdiArea::cascadeSubWindows);
    connect(action(Command::About), &QAction::triggered, this, &MainWindow::aboutRequested);

    auto* nextPane = new QAction(this);
    nextPane->setShortcut(QKeySequence(Qt::Key_F6));
    connect(nextPane, &QAction::triggered, this, [this] { moveToPane(true); });
    addAction(nextPane);
    auto* previousPane = new QAction(this);
    previousPane->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    connect(previousPane, &QAction::triggered, this, [this] { moveToPane(false); });
    addAction(previousPane);

    m_recentPlaceholder = new QAction(QStringLiteral("Recent File"), this);
    m_recentPlaceholder->setEnabled(false);
    for (int i = 0; i < DocumentManager::RecentFileCount; ++i) {
        auto* action = new QAction(this);
        connect(action, &QAction::triggered, this, [this, i] { m_docs.openRecentFile(i); });
        m_recentActions.append(action);
    }
}

void MainWindow::createEditActions() {
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
        if (activePrintWindow() != nullptr) {
            if (PrintTextView* text = activePrintText())
                text->undo();
        } else if (CharacterDocument* doc = activeDocument()) {
            doc->undo();
        }
    });
    connect(m_redoAction, &QAction::triggered, this, [this] {
        if (activePrintWindow() != nullptr) {
            if (PrintTextView* text = activePrintText())
                text->redo();
        } else if (CharacterDocument* doc = activeDocument()) {
            doc->redo();
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

void MainWindow::createMenus() {
    auto addRecent = [this](QMenu* menu) {
        menu->addAction(m_recentPlaceholder);
        menu->addActions(m_recentActions);
    };

    m_fileMenuShort = new QMenu(QStringLiteral("&File"), this);
    m_fileMenuShort->addAction(action(Command::New));
    m_fileMenuShort->addAction(action(Command::Open));
    m_fileMenuShort->addSeparator();
    m_fileMenuShort->addAction(action(Command::PageSetup));
    m_fileMenuShort->addAction(action(Command::DataFolder));
    m_fileMenuShort->addSeparator();
    addRecent(m_fileMenuShort);
    m_fileMenuShort->addSeparator();
    m_fileMenuShort->addAction(action(Command::Exit));

    m_fileMenuCharacter = new QMenu(QStringLiteral("&File"), this);
    m_fileMenuCharacter->addAction(action(Command::New));
    m_fileMenuCharacter->addAction(action(Command::Open));
    m_fileMenuCharacter->addAction(action(Command::Close));
    m_fileMenuCharacter->addAction(action(Command::Save));
    m_fileMenuCharacter->addAction(action(Command::SaveAs));
    m_fileMenuCharacter->addMenu(CreateExportMenu(*this));
    m_fileMenuCharacter->addSeparator();
    m_fileMenuCharacter->addAction(action(Command::Print));
    m_fileMenuCharacter->addAction(action(Command::PageSetup));
    m_fileMenuCharacter->addAction(action(Command::DataFolder));
    m_fileMenuCharacter->addSeparator();
    addRecent(m_fileMenuCharacter);
    m_fileMenuCharacter->addSeparator();
    m_fileMenuCharacter->addAction(action(Command::Exit));

    m_editMenu = new QMenu(QStringLiteral("&Edit"), this);
    m_editMenu->addAction(m_undoAction);
    m_editMenu->addAction(m_redoAction);

    m_windowMenu = new QMenu(QStringLiteral("&Window"), this);
    m_windowMenu->addAction(action(Command::NewWindow));
    m_windowMenu->addAction(action(Command::Cascade));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::rebuildWindowList);

    m_helpMenu = new QMenu(QStringLiteral("&Help"), this);
    m_helpMenu->addAction(action(Command::About));

    m_characterMenusShown = true; // forces the first showMenus to fill the bar
    showMenus(false);
}

void MainWindow::createToolBar() {
    m_toolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("MainToolBar"));
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->addAction(action(Command::New));
    m_toolBar->addSeparator();
    m_toolBar->addAction(action(Command::Open));
    m_toolBar->addAction(action(Command::Save));
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_undoAction);
    m_toolBar->addAction(m_redoAction);
    m_toolBar->addSeparator();
    m_toolBar->addAction(action(Command::Print));
    m_toolBar->addSeparator();
    m_toolBar->addAction(action(Command::About));
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

QMenu* MainWindow::fileMenu(bool characterMenus) const {
    return characterMenus ? m_fileMenuCharacter : m_fileMenuShort;
}

void MainWindow::showMenus(bool characterMenus) {
    if (characterMenus == m_characterMenusShown)
        return;
    m_characterMenusShown = characterMenus;
    QMenuBar* bar = menuBar();
    bar->clear();
    bar->addMenu(fileMenu(characterMenus));
    if (characterMenus) {
        bar->addMenu(m_editMenu);
        bar->addMenu(m_windowMenu);
    }
    bar->addMenu(m_helpMenu);
}

CharacterDocument* MainWindow::activeDocument() const {
    QMdiSubWindow* current = m_area->currentSubWindow();
    if (current == nullptr)
        return nullptr;
    for (CharacterDocument* doc : m_docs.documents()) {
        if (!doc->isClosing() && doc->windows().contains(current))
            return doc;
    }
    return nullptr;
}

PrintWindow* MainWindow::activePrintWindow() const {
    return qobject_cast<PrintWindow*>(m_area->currentSubWindow());
}

PrintTextView* MainWindow::activePrintText() const {
    PrintWindow* print = activePrintWindow();
    return print != nullptr && print->sheetPane() == print->textView() ? print->textView()
                                                                       : nullptr;
}

CharacterView* MainWindow::activeView() const {
    QMdiSubWindow* current = m_area->currentSubWindow();
    return current != nullptr ? qobject_cast<CharacterView*>(current->widget()) : nullptr;
}

void MainWindow::newWindow() {
    CharacterDocument* doc = activeDocument();
    if (doc != nullptr)
        m_docs.openNewWindow(doc);
}

void MainWindow::openFiles(const QList<QUrl>& urls) {
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            m_docs.openDocumentFile(url.toLocalFile());
    }
}

void MainWindow::moveToPane(bool next) {
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

void MainWindow::watchDocument(CharacterDocument* doc) {
    connect(doc, &CharacterDocument::titleChanged, this, &MainWindow::updateWindowState);
    connect(doc, &CharacterDocument::printingChanged, this, &MainWindow::updateWindowState);
    connect(doc, &CharacterDocument::modifiedChanged, this, &MainWindow::updateWindowState);
    m_undoGroup->addStack(&doc->undoStack());
    updateWindowState();
}

void MainWindow::updateWindowState() {
    CharacterDocument* doc = activeDocument();
    const bool haveDoc = doc != nullptr;
    showMenus(haveDoc);

    // The active document once, with its mark; Qt's own addition of a maximised window's
    // caption is taken back out (changeEvent).
    QString title = QStringLiteral("VARN");
    if (haveDoc && !doc->title().isEmpty()) {
        QString name = doc->title();
        name.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
        title += QStringLiteral(" - ") + name + QStringLiteral("[*]");
        if (activePrintWindow() != nullptr)
            title += QStringLiteral(" - Printing...");
    }
    m_title = title;
    setWindowTitle(title);
    setWindowModified(haveDoc && doc->isModified());

    action(Command::Close)->setEnabled(haveDoc);
    action(Command::Save)->setEnabled(haveDoc);
    action(Command::SaveAs)->setEnabled(haveDoc);
    action(Command::NewWindow)->setEnabled(haveDoc);
    updateUndoActions();
    action(Command::Cascade)->setEnabled(!m_area->subWindowList().isEmpty());
    // Print belongs to a character window; none can open while one of the document's
    // print windows is open, and none at all before printing is part of the program.
    CharacterView* view = activeView();
    action(Command::Print)
        ->setEnabled(view != nullptr && view->canPrint() && m_docs.printWindowOpener());
}

void MainWindow::updateUndoActions() {
    CharacterDocument* doc = activeDocument();
    if (activePrintWindow() == nullptr) {
        m_undoGroup->setActiveStack(doc != nullptr ? &doc->undoStack() : nullptr);
        return;
    }
    m_undoGroup->setActiveStack(nullptr);
    PrintTextView* text = activePrintText();
    m_undoAction->setText(QStringLiteral("Undo"));
    m_redoAction->setText(QStringLiteral("Redo"));
    m_undoAction->setEnabled(text != nullptr && text->document()->isUndoAvailable());
    m_redoAction->setEnabled(text != nullptr && text->document()->isRedoAvailable());
}

void MainWindow::fitWindowsToArea() {
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

void MainWindow::changeEvent(QEvent* event) {
    // A maximised window adds " - [its caption]", which repeats the document's name and
    // stays after another window is active.
    if (event->type() == QEvent::WindowTitleChange && !m_title.isEmpty() &&
        windowTitle() != m_title)
        setWindowTitle(m_title);
    QMainWindow::changeEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Every window fits the area it is in, whatever the scale; at start-up too, where the
    // first window was sized before the main window was shown.
    if (watched == m_area->viewport() && event->type() == QEvent::Resize)
        fitWindowsToArea();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::updateRecentFileActions() {
    const QStringList recent = m_docs.recentFiles();
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

void MainWindow::rebuildWindowList() {
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

void MainWindow::pageSetup() {
    QPageSetupDialog dialog(&m_docs.printer(), this);
    dialog.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_docs.saveAllModified()) {
        event->ignore();
        return;
    }
    m_docs.closeAllDocuments();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
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

void MainWindow::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data == nullptr || !data->hasUrls()) {
        QMainWindow::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    activateWindow();
    openFiles(data->urls());
}
