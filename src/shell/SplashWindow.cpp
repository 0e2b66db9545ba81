#include "shell/SplashWindow.h"

#include "widgets/VarnResources.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

SplashWindow* g_splash = nullptr;
bool g_enabled = false;
int g_timeoutMs = SplashWindow::DefaultTimeoutMs;

// Watches every event of the program while the splash is up. It only looks: the key or click
// that hides the splash still reaches its window.
class SplashEventFilter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        SplashWindow::hideOnInput(event);
        return false;
    }
};

SplashEventFilter* g_filter = nullptr;

bool IsHidingButton(const QEvent* event) {
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    const Qt::MouseButton button = mouse->button();
    return button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton;
}

} // namespace

void SplashWindow::enableSplashScreen(bool enable) {
    g_enabled = enable;
}

void SplashWindow::setTimeout(int ms) {
    g_timeoutMs = ms;
}

bool SplashWindow::isSplashShown() {
    return g_splash != nullptr;
}

SplashWindow* SplashWindow::current() {
    return g_splash;
}

void SplashWindow::showSplashScreen(QWidget* parent) {
    if (!g_enabled || g_splash != nullptr)
        return;
    InitVarnResources();
    const QPixmap picture(QStringLiteral(":/pictures/splash.png"));
    if (picture.isNull())
        return; // no picture, no splash: start-up goes on
    auto* splash = new SplashWindow(picture, parent);
    g_splash = splash;
    if (qApp != nullptr && g_filter == nullptr) {
        g_filter = new SplashEventFilter;
        qApp->installEventFilter(g_filter);
    }
    // Showing a window may deliver events, the time-out among them, on a slow machine: the
    // splash can be hidden (and scheduled for deletion) before show() returns.
    splash->show();
    if (g_splash != splash)
        return;
    splash->raise();
    splash->repaint();
}

SplashWindow::SplashWindow(const QPixmap& picture, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_picture(picture) {
    setAttribute(Qt::WA_QuitOnClose, false);
    setCursor(Qt::ArrowCursor);
    const QSize size = m_picture.deviceIndependentSize().toSize();
    setFixedSize(size);

    QRect area;
    if (parent != nullptr && parent->isVisible())
        area = parent->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - QPoint(size.width() / 2, size.height() / 2));

    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [] { hideSplashScreen(); });
    m_timer.start(g_timeoutMs);
}

SplashWindow::~SplashWindow() {
    // The splash may also go with its parent window; never leave a dangling link.
    if (g_splash == this)
        g_splash = nullptr;
    if (g_splash == nullptr && g_filter != nullptr) {
        delete g_filter; // a deleted filter removes itself from the application
        g_filter = nullptr;
    }
}

void SplashWindow::hideSplashScreen() {
    SplashWindow* splash = g_splash;
    if (splash == nullptr)
        return;
    g_splash = nullptr;
    splash->m_timer.stop();
    splash->hide();
    // The splash may be the very window handling the event that hides it.
    splash->deleteLater();
    if (g_filter != nullptr) {
        qApp->removeEventFilter(g_filter);
        g_filter->deleteLater();
        g_filter = nullptr;
    }
    // Whatever the splash covered is drawn again.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(window) != nullptr && window->isVisible())
            window->update();
    }
}

bool SplashWindow::hideOnInput(QEvent* event) {
    if (g_splash == nullptr || event == nullptr)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        hideSplashScreen();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
        if (IsHidingButton(event))
            hideSplashScreen();
        break;
    default:
        break;
    }
    return false;
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}
