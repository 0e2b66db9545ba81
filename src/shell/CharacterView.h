#pragma once

#include "editor/CharacterSheet.h"

#include <QWidget>

class CVARN_CharEquip;
class CharacterDocument;
class CVARN_Page;

// The character view: fills its window with the character sheet and, from its first update
// on, passes the document's change signals on to the pages.
class CharacterView : public QWidget {
    Q_OBJECT
public:
    // Registers with `doc` at once, so that it is one of the document's views; it takes
    // the document as its own only at its first update.
    CharacterView(CharacterDocument* doc, const CVARN_CharacterSheet::PageFactory& pages = {},
                  QWidget* parent = nullptr);
    ~CharacterView() override;

    // The document this view shows once it has been updated the first time; nullptr before.
    CharacterDocument* document() const { return m_document; }
    CVARN_CharacterSheet* sheet() const { return m_sheet; }
    CVARN_Page* page(int tab) const;

    // First update, after the document is new or read: binds every page to the character,
    // listens to the document's changes, gives the window its size and shows the first tab.
    void initialUpdate();
    // Print is offered only while no print window of the document is open.
    bool canPrint() const;

    // The document forgets this view (its window is closing): it hears no more changes.
    void detachDocument();

private:
    CharacterDocument* m_owner; // the document the view was made for
    CharacterDocument* m_document = nullptr;
    CVARN_CharacterSheet* m_sheet;
};
