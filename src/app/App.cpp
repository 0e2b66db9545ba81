#include "app/App.h"

#include "widgets/VarnResources.h"

#include <QIcon>

CVARN_App::CVARN_App(int& argc, char** argv) : QApplication(argc, argv) {
    setOrganizationName(QStringLiteral("VARN"));
    setApplicationName(QStringLiteral("VARN"));
    setDesktopFileName(QStringLiteral("varn"));
    InitVarnResources();
    setWindowIcon(VarnIcon(QStringLiteral(":/icons/varn.png")));
}

// The core's windows must go while the QApplication still exists.
CVARN_App::~CVARN_App() = default;

bool CVARN_App::InitInstance() {
    return m_core.InitInstance(ParseCommandLine(arguments().mid(1)));
}

CVARN_App* CVARN_App::Instance() {
    return qobject_cast<CVARN_App*>(QCoreApplication::instance());
}
