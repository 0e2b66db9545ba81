#include "shell/CharacterWindow.h"

#include "editor/CharacterSheet.h"
#include "shell/CharacterDocument.h"
#include "shell/CharacterView.h"
#include "shell/QtPrompt.h"
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

CharacterWindow::CharacterWindow(QtPrompt& prompt, QWidget* parent)
    : QMdiSubWindow(parent), m_prompt(prompt) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    InitVarnResources();
    setWindowIcon(VarnIcon(QStringLiteral(":/icons/varn.png")));
}

CharacterView* CharacterWindow::view() const {
    return qobject_cast<CharacterView*>(widget());
}

CharacterDocument* CharacterWindow::document() const {
    CharacterView* shown = view();
    return shown != nullptr ? shown->document() : nullptr;
}

QSize CharacterWindow::fitToRoom(QSize wanted) const {
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr)
        wanted = wanted.boundedTo(screen->availableGeometry().size());
    // A hidden area has no size worth the name yet; the main window shows it at once.
    if (const QMdiArea* area = mdiArea(); area != nullptr && area->isVisible())
        wanted = wanted.boundedTo(area->viewport()->size());
    return wanted.expandedTo(minimumSizeHint());
}

void CharacterWindow::applySizeForRun() {
    if (g_frameSizeForRun.isValid() && !g_frameSizeForRun.isEmpty())
        resize(fitToRoom(g_frameSizeForRun));
}

void CharacterWindow::fitToSheet() {
    if (!g_frameSizeForRun.isValid() || g_frameSizeForRun.isEmpty()) {
        CharacterView* shown = view();
        if (shown == nullptr)
            return;
        const QSize content = shown->sheet()->SheetSizeForRun();
        // The window's title bar and borders come on top of the view.
        const QSize decoration = sizeHint() - shown->sizeHint();
        g_frameSizeForRun = content + decoration.expandedTo(QSize(0, 0));
    }
    resize(fitToRoom(g_frameSizeForRun));
}

void CharacterWindow::forgetSizeForRun() {
    g_frameSizeForRun = QSize();
    CVARN_CharacterSheet::ForgetSheetSizeForRun();
}

void CharacterWindow::closeEvent(QCloseEvent* event) {
    CharacterDocument* doc = document();
    const bool forced = property(ForceCloseProperty).toBool();
    if (!forced && doc != nullptr) {
        // The print window reads the character; it must not lose it underneath.
        if (doc->isPrinting()) {
            m_prompt.inform(QStringLiteral("Close the print window of this character first."));
            event->ignore();
            return;
        }
        if (!doc->canCloseWindow(this)) {
            event->ignore();
            return;
        }
    }
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted() && doc != nullptr)
        doc->windowClosed(this);
}
