#pragma once

#include <QMainWindow>

// Base of the program's main window: Qt's main window, under the program's own name.
class CBSD_MDIFrameWnd : public QMainWindow {
    Q_OBJECT
public:
    explicit CBSD_MDIFrameWnd(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
};
