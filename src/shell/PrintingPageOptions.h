#pragma once

#include "editor/Page.h"

class QLabel;
class QPushButton;
class QRadioButton;

// The one page of the print window's "Tools" sheet: the "Print" button, the choice between
// the laid-out character sheet (the default) and the text sheet, and three notes to the
// user. It shows nothing of the character.
class CVARN_PrintingPageOptions : public CVARN_Page {
    Q_OBJECT
public:
    explicit CVARN_PrintingPageOptions(QWidget* parent = nullptr);

    QPushButton* PrintButton() const { return m_print; }
    QRadioButton* CharacterSheetChoice() const { return m_characterSheet; }
    QRadioButton* TextSheetChoice() const { return m_textSheet; }
    bool CharacterSheetChosen() const;

signals:
    // The user pressed "Print".
    void PrintRequested();
    // The user chose the other sheet.
    void SheetChoiceChanged(bool characterSheet);

private:
    QPushButton* m_print;
    QRadioButton* m_characterSheet;
    QRadioButton* m_textSheet;
};
