#pragma once

#include <QToolBar>

// The main window's toolbar: Qt's, under the program's own name.
class CMyToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit CMyToolBar(QWidget* parent = nullptr);
    explicit CMyToolBar(const QString& title, QWidget* parent = nullptr);
};
