#pragma once

#include "editor/Page.h"

class QLabel;
class QPushButton;

// The one page of the print window's "Tools" sheet: the "Print" button and three notes to
// the user. It has no settings and shows nothing of the character.
class CVARN_PrintingPageOptions : public CVARN_Page {
    Q_OBJECT
public:
    explicit CVARN_PrintingPageOptions(QWidget* parent = nullptr);

    QPushButton* PrintButton() const { return m_print; }

signals:
    // The user pressed "Print".
    void PrintRequested();

private:
    QPushButton* m_print;
};
