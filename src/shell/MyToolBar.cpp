#include "shell/MyToolBar.h"

CMyToolBar::CMyToolBar(QWidget* parent) : QToolBar(parent) {}

CMyToolBar::CMyToolBar(const QString& title, QWidget* parent) : QToolBar(title, parent) {}
