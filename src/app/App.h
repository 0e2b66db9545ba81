#pragma once

#include "app/AppCore.h"

#include <QApplication>

// The program's application object: the QApplication and the parts it owns for the run.
class CVARN_App : public QApplication {
    Q_OBJECT
public:
    CVARN_App(int& argc, char** argv);
    ~CVARN_App() override;

    // Start-up with the command line the program was given.
    bool InitInstance();

    // The one application object, or nullptr when the running program is not VARN itself
    // (the tests).
    static CVARN_App* Instance();

private:
    CVARN_AppCore m_core;
};
