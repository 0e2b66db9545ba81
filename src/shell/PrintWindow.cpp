#include "shell/PrintWindow.h"

#include "shell/CharacterDocument.h"
#include "shell/DocumentManager.h"
#include "shell/MainWindow.h"
#include "shell/PrintOptionsPage.h"
#include "shell/PrintOptionsView.h"
#include "shell/PrintTextView.h"
#include "shell/SheetPreview.h"
#include "widgets/AccessibleNames.h"
#include "widgets/MySplitterWnd.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

namespace {
bool IsInside(const QWidget* widget, const QWidget* container) {
    return widget != nullptr && container != nullptr &&
           (widget == container || container->isAncestorOf(widget));
}
} // namespace

PrintWindow::PrintWindow(CharacterDocument* doc, QWidget* parent)
    : QMdiSubWindow(parent), m_doc(doc) {
    setAttribute(Qt::WA_DeleteOnClose);
    resize(600, 350);

    m_splitter = new CMySplitterWnd(this);
    m_optionsView = new PrintOptionsView(doc, m_splitter);
    // The right pane: a notice while the edited text is older than the character, then the
    // sheet.
    auto* sheetPane = new QWidget(m_splitter);
    auto* paneLayout = new QVBoxLayout(sheetPane);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    paneLayout->setSpacing(0);
    m_staleNotice = new QWidget(sheetPane);
    auto* noticeLayout = new QHBoxLayout(m_staleNotice);
    auto* noticeText = new QLabel(
        QStringLiteral("The character has changed since this text was made: it shows an earlier "
                       "state."),
        m_staleNotice);
    noticeText->setWordWrap(true);
    m_refresh = new QPushButton(QStringLiteral("Refresh"), m_staleNotice);
    m_refresh->setToolTip(QStringLiteral("Make the text anew from the character (your edits go)"));
    m_refresh->setAccessibleDescription(m_refresh->toolTip());
    noticeLayout->addWidget(noticeText, 1);
    noticeLayout->addWidget(m_refresh);
    m_staleNotice->hide();
    paneLayout->addWidget(m_staleNotice);
    m_sheetStack = new QStackedWidget(sheetPane);
    paneLayout->addWidget(m_sheetStack, 1);
    sheetPane->setFocusProxy(m_sheetStack);
    sheetPane->setFocusPolicy(Qt::StrongFocus);
    m_sheetView = new SheetPreview(doc, m_sheetStack);
    m_textView = new PrintTextView(doc, m_sheetStack);
    m_sheetStack->addWidget(m_sheetView);
    m_sheetStack->addWidget(m_textView);
    // The pane takes the focus for whichever sheet it shows (F6 moves into it).
    m_sheetStack->setFocusPolicy(Qt::StrongFocus);
    m_splitter->addWidget(m_optionsView);
    m_splitter->addWidget(sheetPane);
    // Extra room always goes to the text; the options column keeps the width it is given.
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setCollapsible(1, false);
    m_splitter->SetFirstColumnInfo(width() - 311, 0);
    setWidget(m_splitter);
    m_splitter->installEventFilter(this);

    connect(m_optionsView->optionsPage(), &PrintOptionsPage::printRequested, this,
            [this] { printAndClose(); });
    connect(m_optionsView->optionsPage(), &PrintOptionsPage::sheetChoiceChanged, this,
            [this](bool characterSheet) { showSheet(characterSheet); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusChanged(now); });
    // The sheets follow the character, once for a burst of changes.
    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(0);
    connect(m_refreshTimer, &QTimer::timeout, this, &PrintWindow::followCharacter);
    if (doc != nullptr)
        connect(doc, &CharacterDocument::characterChanged, m_refreshTimer,
                qOverload<>(&QTimer::start));
    connect(m_refresh, &QPushButton::clicked, this, [this] {
        m_textView->initialUpdate();
        m_staleNotice->hide();
    });
    m_activePane = m_optionsView;
    showSheet(m_optionsView->optionsPage()->characterSheetChosen());
    m_textView->setAccessibleName(QStringLiteral("Text sheet"));
    m_textView->setAccessibleDescription(
        QStringLiteral("The character's text sheet, which may be edited before printing"));
    m_sheetStack->setAccessibleName(QStringLiteral("Sheet"));
    m_sheetStack->parentWidget()->setAccessibleName(QStringLiteral("Sheet"));
    m_sheetView->setAccessibleName(QStringLiteral("Character sheet"));
    m_sheetView->setAccessibleDescription(QStringLiteral("The pages as they will be printed"));
    NameControls(this);
    m_created = true;
}

PrintWindow::~PrintWindow() = default;

CharacterDocument* PrintWindow::document() const {
    return m_doc.data();
}

QMdiSubWindow* PrintWindow::open(CharacterDocument& doc) {
    QMdiArea* area = doc.manager().mdiArea();
    auto* frame = new PrintWindow(&doc);
    if (area != nullptr)
        area->addSubWindow(frame);
    frame->initialUpdate();
    frame->watchCommands();
    return frame;
}

void PrintWindow::watchCommands() {
    QMdiArea* area = mdiArea();
    if (area == nullptr)
        return;
    connect(area, &QMdiArea::subWindowActivated, this,
            [this](QMdiSubWindow* current) { updatePageSetup(current); });
    connect(this, &PrintWindow::activePaneChanged, this, [this] {
        if (mdiArea() != nullptr)
            updatePageSetup(mdiArea()->currentSubWindow());
    });
    updatePageSetup(area->currentSubWindow());
    // Undo and Redo act on the text while this window is in front.
    if (auto* mainFrame = qobject_cast<MainWindow*>(area->window())) {
        auto update = [mainFrame] { mainFrame->updateUndoActions(); };
        connect(m_textView, &QTextEdit::undoAvailable, mainFrame, update);
        connect(m_textView, &QTextEdit::redoAvailable, mainFrame, update);
        connect(m_optionsView->optionsPage(), &PrintOptionsPage::sheetChoiceChanged, mainFrame,
                update);
    }
    // Page Setup may choose other paper: the laid-out preview follows it.
    if (auto* mainFrame = qobject_cast<MainWindow*>(area->window()))
        connect(mainFrame->action(MainWindow::Command::PageSetup), &QAction::triggered, this,
                [this] { m_sheetView->initialUpdate(); });
}

void PrintWindow::updatePageSetup(QMdiSubWindow* current) {
    // Another print window looks after itself; any other window has Page Setup.
    if (current != this && qobject_cast<PrintWindow*>(current) != nullptr)
        return;
    auto* mainFrame =
        qobject_cast<MainWindow*>(mdiArea() != nullptr ? mdiArea()->window() : nullptr);
    if (mainFrame == nullptr)
        return;
    mainFrame->action(MainWindow::Command::PageSetup)
        ->setEnabled(current != this || canPageSetup());
}

void PrintWindow::initialUpdate() {
    m_optionsView->initialUpdate();
    m_textView->initialUpdate();
    m_sheetView->initialUpdate();
    fitOptionsColumn();
    NameControls(this);
}

void PrintWindow::followCharacter() {
    if (m_doc.isNull())
        return;
    m_sheetView->initialUpdate();
    // Text the user has edited is not thrown away unasked: the notice says it is older.
    if (m_textView->document()->isModified())
        m_staleNotice->show();
    else
        m_textView->initialUpdate();
}

bool PrintWindow::textIsStale() const {
    return !m_staleNotice->isHidden();
}

QWidget* PrintWindow::sheetPane() const {
    return m_sheetStack->currentWidget();
}

void PrintWindow::showSheet(bool characterSheet) {
    QWidget* shown = characterSheet ? static_cast<QWidget*>(m_sheetView) : m_textView;
    const bool hadFocus = m_activePane != m_optionsView;
    m_sheetStack->setCurrentWidget(shown);
    m_sheetStack->setFocusProxy(shown);
    if (hadFocus && m_activePane != shown) {
        m_activePane = shown;
        emit activePaneChanged();
    }
}

PrintResult PrintWindow::printAndClose() {
    const QPointer<PrintWindow> self(this);
    const PrintResult result =
        sheetPane() == m_sheetView ? m_sheetView->filePrint() : m_textView->filePrint();
    if (self)
        close();
    return result;
}

QWidget* PrintWindow::activePane() const {
    return m_activePane;
}

bool PrintWindow::canPageSetup() const {
    // Both sheets follow the paper chosen in Page Setup.
    return m_activePane == m_textView || m_activePane == m_sheetView;
}

void PrintWindow::focusChanged(QWidget* now) {
    QWidget* pane = nullptr;
    if (IsInside(now, m_optionsView))
        pane = m_optionsView;
    else if (IsInside(now, m_textView))
        pane = m_textView;
    else if (IsInside(now, m_sheetView))
        pane = m_sheetView;
    if (pane == nullptr || pane == m_activePane)
        return;
    m_activePane = pane;
    emit activePaneChanged();
}

bool PrintWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_splitter && event->type() == QEvent::Resize && m_created)
        fitOptionsColumn();
    return QMdiSubWindow::eventFilter(watched, event);
}

void PrintWindow::fitOptionsColumn() {
    // Whatever a double click on the bar did, a new size brings the options back.
    m_splitter->SetFirstColumnInfo(m_optionsView->columnWidthFor(m_splitter->height()), 0);
}

void PrintWindow::closeEvent(QCloseEvent* event) {
    CharacterDocument* doc = m_doc;
    if (doc != nullptr && !doc->isClosing() && !doc->canCloseWindow(this)) {
        event->ignore();
        return;
    }
    // A maximised window hands its state on to the window shown next; a character window
    // has a fixed size and must not be stretched over the whole area.
    if (isMaximized())
        showNormal();
    QMdiSubWindow::closeEvent(event);
    if (!event->isAccepted())
        return;
    updatePageSetup(nullptr);
    if (doc == nullptr)
        return;
    // The window is gone for the user now; its panes follow from the event loop.
    doc->setPrinting(false);
    doc->windowClosed(this);
}
