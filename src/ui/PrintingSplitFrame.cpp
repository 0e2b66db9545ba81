#include "ui/PrintingSplitFrame.h"

#include "ui/Doc.h"
#include "ui/DocManager.h"
#include "ui/MainFrame.h"
#include "ui/MySplitterWnd.h"
#include "ui/PrintingPageOptions.h"
#include "ui/PrintingViewOptions.h"
#include "ui/PrintingViewText.h"
#include "ui/SheetPreview.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QStackedWidget>

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
    sheetStack = new QStackedWidget(splitter);
    sheetView = new CVARN_SheetPreview(doc, sheetStack);
    textView = new CVARN_PrintingViewText(doc, sheetStack);
    sheetStack->addWidget(sheetView);
    sheetStack->addWidget(textView);
    // The pane takes the focus for whichever sheet it shows (F6 moves into it).
    sheetStack->setFocusPolicy(Qt::StrongFocus);
    splitter->addWidget(optionsView);
    splitter->addWidget(sheetStack);
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
    m_activePane = optionsView;
    ShowSheet(optionsView->OptionsPage()->CharacterSheetChosen());
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
