#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

// The picture shown at start-up. It goes away after 7.5 seconds, or at once when the user
// presses a key or a mouse button anywhere in the program; that key or click is still handled
// as usual. There is at most one splash window.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int DefaultTimeoutMs = 7500;

    static void enableSplashScreen(bool enable);
    // Shows the splash if it is enabled and none exists. A missing picture means no splash.
    static void showSplashScreen(QWidget* parent = nullptr);
    static void hideSplashScreen();
    // Hides the splash on a key press or a mouse button press. Never consumes the event:
    // always returns false.
    static bool hideOnInput(QEvent* event);
    static bool isSplashShown();
    static SplashWindow* current();
    // How long a splash shown from now on stays up without input.
    static void setTimeout(int ms);
    ~SplashWindow() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SplashWindow(const QPixmap& picture, QWidget* parent);
    QPixmap m_picture;
    QTimer m_timer;
};
