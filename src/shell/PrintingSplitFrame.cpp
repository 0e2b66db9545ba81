#include "shell/PrintingSplitFrame.h"

#include "shell/Doc.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "shell/PrintingPageOptions.h"
#include "shell/PrintingViewOptions.h"
#include "shell/PrintingViewText.h"
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

CVARN_PrintingSplitFrame::CVARN_PrintingSplitFrame(CVARN_Doc* doc, QWidget* parent)
    : QMdiSubWindow(parent), m_doc(doc) {
    setAttribute(Qt::WA_DeleteOnClose);
    resize(600, 350);

    splitter = new CMySplitterWnd(this);
    optionsView = new CVARN_PrintingViewOptions(doc, splitter);
    // The right pane: a notice while the edited text is older than the character, then the
    // sheet.
    auto* sheetPane = new QWidget(splitter);
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
    sheetStack = new QStackedWidget(sheetPane);
    paneLayout->addWidget(sheetStack, 1);
    sheetPane->setFocusProxy(sheetStack);
    sheetPane->setFocusPolicy(Qt::StrongFocus);
    sheetView = new CVARN_SheetPreview(doc, sheetStack);
    textView = new CVARN_PrintingViewText(doc, sheetStack);
    sheetStack->addWidget(sheetView);
    sheetStack->addWidget(textView);
    // The pane takes the focus for whichever sheet it shows (F6 moves into it).
    sheetStack->setFocusPolicy(Qt::StrongFocus);
    splitter->addWidget(optionsView);
    splitter->addWidget(sheetPane);
    // Extra room always goes to the text; the options column keeps the width it is given.
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setCollapsible(1, false);
    splitter->SetFirstColumnInfo(width() - 311, 0);
    setWidget(splitter);
    splitter->installEventFilter(this);

    connect(optionsView->OptionsPage(), &CVARN_PrintingPageOptions::PrintRequested, this,
            [this] { PrintAndClose(); });
    connect(optionsView->OptionsPage(), &CVARN_PrintingPageOptions::SheetChoiceChanged, this,
            [this](bool characterSheet) { ShowSheet(characterSheet); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    // The sheets follow the character, once for a burst of changes.
    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(0);
    connect(m_refreshTimer, &QTimer::timeout, this, &CVARN_PrintingSplitFrame::FollowCharacter);
    if (doc != nullptr)
        connect(doc, &CVARN_Doc::CharacterChanged, m_refreshTimer, qOverload<>(&QTimer::start));
    connect(m_refresh, &QPushButton::clicked, this, [this] {
        textView->OnInitialUpdate();
        m_staleNotice->hide();
    });
    m_activePane = optionsView;
    ShowSheet(optionsView->OptionsPage()->CharacterSheetChosen());
    textView->setAccessibleName(QStringLiteral("Text sheet"));
    textView->setAccessibleDescription(
        QStringLiteral("The character's text sheet, which may be edited before printing"));
    sheetStack->setAccessibleName(QStringLiteral("Sheet"));
    sheetStack->parentWidget()->setAccessibleName(QStringLiteral("Sheet"));
    sheetView->setAccessibleName(QStringLiteral("Character sheet"));
    sheetView->setAccessibleDescription(QStringLiteral("The pages as they will be printed"));
    NameControls(this);
    created = true;
}

CVARN_PrintingSplitFrame::~CVARN_PrintingSplitFrame() = default;

CVARN_Doc* CVARN_PrintingSplitFrame::Document() const {
    return m_doc.data();
}

QMdiSubWindow* CVARN_PrintingSplitFrame::Open(CVARN_Doc& doc) {
    QMdiArea* area = doc.Manager().MdiArea();
    auto* frame = new CVARN_PrintingSplitFrame(&doc);
    if (area != nullptr)
        area->addSubWindow(frame);
    frame->OnInitialUpdate();
    frame->WatchCommands();
    return frame;
}

void CVARN_PrintingSplitFrame::WatchCommands() {
    QMdiArea* area = mdiArea();
    if (area == nullptr)
        return;
    connect(area, &QMdiArea::subWindowActivated, this,
            [this](QMdiSubWindow* current) { UpdatePageSetup(current); });
    connect(this, &CVARN_PrintingSplitFrame::ActivePaneChanged, this, [this] {
        if (mdiArea() != nullptr)
            UpdatePageSetup(mdiArea()->currentSubWindow());
    });
    UpdatePageSetup(area->currentSubWindow());
    // Undo and Redo act on the text while this window is in front.
    if (auto* mainFrame = qobject_cast<CVARN_MainFrame*>(area->window())) {
        auto update = [mainFrame] { mainFrame->UpdateUndoActions(); };
        connect(textView, &QTextEdit::undoAvailable, mainFrame, update);
        connect(textView, &QTextEdit::redoAvailable, mainFrame, update);
        connect(optionsView->OptionsPage(), &CVARN_PrintingPageOptions::SheetChoiceChanged,
                mainFrame, update);
    }
    // Page Setup may choose other paper: the laid-out preview follows it.
    if (auto* mainFrame = qobject_cast<CVARN_MainFrame*>(area->window()))
        connect(mainFrame->Action(CVARN_MainFrame::Command::PageSetup), &QAction::triggered, this,
                [this] { sheetView->OnInitialUpdate(); });
}

void CVARN_PrintingSplitFrame::UpdatePageSetup(QMdiSubWindow* current) {
    // Another print window looks after itself; any other window has Page Setup.
    if (current != this && qobject_cast<CVARN_PrintingSplitFrame*>(current) != nullptr)
        return;
    auto* mainFrame =
        qobject_cast<CVARN_MainFrame*>(mdiArea() != nullptr ? mdiArea()->window() : nullptr);
    if (mainFrame == nullptr)
        return;
    mainFrame->Action(CVARN_MainFrame::Command::PageSetup)
        ->setEnabled(current != this || CanPageSetup());
}

void CVARN_PrintingSplitFrame::OnInitialUpdate() {
    optionsView->OnInitialUpdate();
    textView->OnInitialUpdate();
    sheetView->OnInitialUpdate();
    FitOptionsColumn();
    NameControls(this);
}

void CVARN_PrintingSplitFrame::FollowCharacter() {
    if (m_doc.isNull())
        return;
    sheetView->OnInitialUpdate();
    // Text the user has edited is not thrown away unasked: the notice says it is older.
    if (textView->document()->isModified())
        m_staleNotice->show();
    else
        textView->OnInitialUpdate();
}

bool CVARN_PrintingSplitFrame::TextIsStale() const {
    return !m_staleNotice->isHidden();
}

QWidget* CVARN_PrintingSplitFrame::SheetPane() const {
    return sheetStack->currentWidget();
}

void CVARN_PrintingSplitFrame::ShowSheet(bool characterSheet) {
    QWidget* shown = characterSheet ? static_cast<QWidget*>(sheetView) : textView;
    const bool hadFocus = m_activePane != optionsView;
    sheetStack->setCurrentWidget(shown);
    sheetStack->setFocusProxy(shown);
    if (hadFocus && m_activePane != shown) {
        m_activePane = shown;
        emit ActivePaneChanged();
    }
}

CVARN_PrintResult CVARN_PrintingSplitFrame::PrintAndClose() {
    const QPointer<CVARN_PrintingSplitFrame> self(this);
    const CVARN_PrintResult result =
        SheetPane() == sheetView ? sheetView->OnFilePrint() : textView->OnFilePrint();
    if (self)
        close();
    return result;
}

QWidget* CVARN_PrintingSplitFrame::ActivePane() const {
    return m_activePane;
}

bool CVARN_PrintingSplitFrame::CanPageSetup() const {
    // Both sheets follow the paper chosen in Page Setup.
    return m_activePane == textView || m_activePane == sheetView;
}

void CVARN_PrintingSplitFrame::OnFocusChanged(QWidget* now) {
    QWidget* pane = nullptr;
    if (IsInside(now, optionsView))
        pane = optionsView;
    else if (IsInside(now, textView))
        pane = textView;
    else if (IsInside(now, sheetView))
        pane = sheetView;
    if (pane == nullptr || pane == m_activePane)
        return;
    m_activePane = pane;
    emit ActivePaneChanged();
}

bool CVARN_PrintingSplitFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == splitter && event->type() == QEvent::Resize && created)
        FitOptionsColumn();
    return QMdiSubWindow::eventFilter(watched, event);
}

void CVARN_PrintingSplitFrame::FitOptionsColumn() {
    // Whatever a double click on the bar did, a new size brings the options back.
    splitter->SetFirstColumnInfo(optionsView->ColumnWidthFor(splitter->height()), 0);
}

void CVARN_PrintingSplitFrame::closeEvent(QCloseEvent* event) {
    CVARN_Doc* doc = m_doc;
    if (doc != nullptr && !doc->IsClosing() && !doc->CanCloseFrame(this)) {
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
    UpdatePageSetup(nullptr);
    if (doc == nullptr)
        return;
    // The window is gone for the user now; its panes follow from the event loop.
    doc->SetPrinting(false);
    doc->FrameClosed(this);
}
