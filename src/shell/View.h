#pragma once

#include "editor/CharacterSheet.h"

#include <QWidget>

class CVARN_CharEquip;
class CVARN_Doc;
class CVARN_Page;

// The character view: fills its window with the character sheet and, from its first update
// on, passes the document's change signals on to the pages.
class CVARN_View : public QWidget {
    Q_OBJECT
public:
    // Registers with `doc` at once, so that it is one of the document's views; it takes
    // the document as its own only at its first update.
    CVARN_View(CVARN_Doc* doc, const CVARN_CharacterSheet::PageFactory& pages = {},
               QWidget* parent = nullptr);
    ~CVARN_View() override;

    // The document this view shows once it has been updated the first time; nullptr before.
    CVARN_Doc* GetDocument() const { return document; }
    CVARN_CharacterSheet* Sheet() const { return sheet; }
    CVARN_Page* Page(int tab) const;

    // First update, after the document is new or read: binds every page to the character,
    // listens to the document's changes, gives the window its size and shows the first tab.
    void OnInitialUpdate();
    // Print is offered only while no print window of the document is open.
    bool CanPrint() const;

    // The document forgets this view (its window is closing): it hears no more changes.
    void DetachDocument();

private:
    CVARN_Doc* m_owner; // the document the view was made for
    CVARN_Doc* document = nullptr;
    CVARN_CharacterSheet* sheet;
};
