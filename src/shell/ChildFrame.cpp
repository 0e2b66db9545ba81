#include "shell/ChildFrame.h"

#include "editor/CharacterSheet.h"
#include "shell/Doc.h"
#include "shell/QtPrompt.h"
#include "shell/View.h"
#include "widgets/VarnResources.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMdiArea>
#include <QScreen>

namespace {
// Window size of this run's character windows; empty until the first view was bound.
QSize g_frameSizeForRun;
} // namespace

CVARN_ChildFrame::CVARN_ChildFrame(CVARN_QtPrompt& prompt, QWidget* parent)
    : QMdiSubWindow(parent), m_prompt(prompt) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    InitVarnResources();
    setWindowIcon(VarnIcon(QStringLiteral(":/icons/varn.png")));
}

CVARN_View* CVARN_ChildFrame::View() const {
    return qobject_cast<CVARN_View*>(widget());
}

CVARN_Doc* CVARN_ChildFrame::Document() const {
    CVARN_View* view = View();
    return view != nullptr ? view->GetDocument() : nullptr;
}

QSize CVARN_ChildFrame::FitToRoom(QSize wanted) const {
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr)
        wanted = wanted.boundedTo(screen->availableGeometry().size());
    // A hidden area has no size worth the name yet; the main window shows it at once.
    if (const QMdiArea* area = mdiArea(); area != nullptr && area->isVisible())
        wanted = wanted.boundedTo(area->viewport()->size());
    return wanted.expandedTo(minimumSizeHint());
}

void CVARN_ChildFrame::ApplySizeForRun() {
    if (g_frameSizeForRun.isValid() && !g_frameSizeForRun.isEmpty())
        resize(FitToRoom(g_frameSizeForRun));
}

void CVARN_ChildFrame::FitToSheet() {
    if (!g_frameSizeForRun.isValid() || g_frameSizeForRun.isEmpty()) {
        CVARN_View* view = View();
        if (view == nullptr)
            return;
        const QSize content = view->Sheet()->SheetSizeForRun();
        // The window's title bar and borders come on top of the view.
        const QSize decoration = sizeHint() - view->sizeHint();
        g_frameSizeForRun = content + decoration.expandedTo(QSize(0, 0));
    }
    resize(FitToRoom(g_frameSizeForRun));
}

void CVARN_ChildFrame::ForgetSizeForRun() {
    g_frameSizeForRun = QSize();
    CVARN_CharacterSheet::ForgetSheetSizeForRun();
}

void CVARN_ChildFrame::closeEvent(QCloseEvent* event) {
    CVARN_Doc* doc = Document();
    const bool forced = property(ForceCloseProperty).toBool();
    if (!forced && doc != nullptr) {
        // The print window reads the character; it must not lose it underneath.
        if (doc->IsPrinting()) {
            m_prompt.Inform(QStringLiteral("Close the print window of this character first."));
            event->ignore();
            return;
        }
        if (!doc->CanCloseFrame(this)) {
            event->ignore();
            return;
        }
    }
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted() && doc != nullptr)
        doc->FrameClosed(this);
}
