#include "shell/BSDMDIFrameWnd.h"

CBSD_MDIFrameWnd::CBSD_MDIFrameWnd(QWidget* parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags) {}
