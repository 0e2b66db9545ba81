// The VARN desktop program.
//
// `varn --export-pdf ...` writes a character's laid-out sheet as PDF without a display.
// VARN_EXIT_AFTER_STARTUP=1 in the environment makes the program quit as soon as its main
// window is up (start-up timing, smoke tests).

#include "app/Application.h"
#include "app/HeadlessExport.h"

#include <QList>
#include <QString>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {
bool HaveDisplay() {
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

// `display` is the one that could not be opened, nullptr when none is set.
void NoDisplay(const char* display) {
    const char* advice =
        "the desktop program needs a graphical session (for command-line work use varn-tool)";
    if (display == nullptr || *display == '\0')
        std::fprintf(stderr, "varn: no display found (DISPLAY is not set): %s\n", advice);
    else
        std::fprintf(stderr, "varn: cannot open the display %s: %s\n", display, advice);
}

// Qt's messages while it connects to the display, held back: when it cannot connect, it
// reports in several lines and then aborts; the user gets one line instead, and no core.
QtMessageHandler g_previousHandler = nullptr;
struct HeldMessage {
    QtMsgType type;
    QString text;
};
QList<HeldMessage> g_held;

void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    (void)context;
    if (type == QtFatalMsg) {
        NoDisplay(std::getenv("DISPLAY"));
        std::fflush(stderr);
        _exit(1);
    }
    g_held.append({type, message});
}
} // namespace

int main(int argc, char** argv) {
    if (IsHeadlessExport(argc, argv))
        return RunHeadlessExport(argc, argv);
    if (!HaveDisplay()) {
        NoDisplay(nullptr);
        return 1;
    }
    g_previousHandler = qInstallMessageHandler(StartupMessageHandler);
    Application app(argc, argv);
    qInstallMessageHandler(g_previousHandler);
    for (const HeldMessage& held : g_held) {
        const QMessageLogContext none;
        qt_message_output(held.type, none, held.text);
    }
    g_held.clear();

    if (!app.initialize())
        return 1;
    if (qEnvironmentVariableIntValue("VARN_EXIT_AFTER_STARTUP") != 0)
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
