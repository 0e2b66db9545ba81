#pragma once

#include "editor/Page.h"

class QLabel;
class QPushButton;
class QRadioButton;

// The one page of the print window's "Tools" sheet: the "Print" button, the choice between
// the laid-out character sheet (the default) and the text sheet, and three notes to the
// user. It shows nothing of the character.
class PrintOptionsPage : public CVARN_Page {
    Q_OBJECT
public:
    explicit PrintOptionsPage(QWidget* parent = nullptr);

    QPushButton* printButton() const { return m_print; }
    QRadioButton* characterSheetChoice() const { return m_characterSheet; }
    QRadioButton* textSheetChoice() const { return m_textSheet; }
    bool characterSheetChosen() const;

signals:
    // The user pressed "Print".
    void printRequested();
    // The user chose the other sheet.
    void sheetChoiceChanged(bool characterSheet);

private:
    QPushButton* m_print;
    QRadioButton* m_characterSheet;
    QRadioButton* m_textSheet;
};
