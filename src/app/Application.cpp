#include "app/Application.h"

#include "widgets/VarnResources.h"

#include <QIcon>

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setOrganizationName(QStringLiteral("VARN"));
    setApplicationName(QStringLiteral("VARN"));
    setDesktopFileName(QStringLiteral("varn"));
    InitVarnResources();
    setWindowIcon(VarnIcon(QStringLiteral(":/icons/varn.png")));
}

// The core's windows must go while the QApplication still exists.
Application::~Application() = default;

bool Application::initialize() {
    return m_core.initialize(ParseCommandLine(arguments().mid(1)));
}
