#pragma once

#include "app/AppCore.h"

#include <QApplication>

// The program's application object: the QApplication and the parts it owns for the run.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    ~Application() override;

    // Start-up with the command line the program was given.
    bool initialize();

private:
    AppCore m_core;
};
