#pragma once

#include "widgets/MyPropertySheet.h"

#include <QSize>

#include <functional>
#include <memory>

class CVARN_CharEquip;
class CVARN_Character;
class CVARN_Page;

// The size a sheet needs to show its largest page whole. Every page is built, from the last
// tab to the first, and measured without being shown: what a page fills only when it is first
// seen (a tree of the whole data set) is left for then, and the active page stays as it was.
// The pages keep their natural size.
QSize NaturalSheetSize(CMyPropertySheet& sheet);

// The tabbed editor of one character window: eight pages, bound once to the document's
// character, and the path by which change notifications reach them. Ctrl+PgDown / Ctrl+PgUp
// go to the next / previous page, Alt+1 ... Alt+8 straight to one.
class CVARN_CharacterSheet : public CMyPropertySheet {
    Q_OBJECT
public:
    using PageFactory = std::function<std::unique_ptr<CVARN_Page>(int tab)>;

    explicit CVARN_CharacterSheet(QWidget* parent = nullptr);

    // Adds the pages in tab order, made by `factory`, and lets the tabs wrap. Without a
    // factory the sheet has the eight pages of CreateCharacterPage, each built when it is first
    // shown or asked for (Page()), so that a window opens at the cost of the page in view.
    void CreatePages(const PageFactory& factory);

    // From the last tab to the first: binds each page built so far to `character`, then
    // refreshes it. A page built later is bound and refreshed as it is built.
    void BindPages(CVARN_Character* character);
    bool IsBound() const { return m_bound; }

    // The size the sheet needs, computed once per run: every later character window gets
    // the same size, whatever its character holds.
    QSize SheetSizeForRun();
    // Forgets the size of this run (tests that build sheets of other pages need it).
    static void ForgetSheetSizeForRun();

    // Every bound page, from the last tab to the first, gets the notification.
    void NotifyPages(int hint, CVARN_CharEquip* object);

    // Every bound page redraws from a character that was put back as a whole.
    void RestorePages();

    // The page of a tab (built if it was not yet), or nullptr if that tab holds no CVARN_Page.
    CVARN_Page* Page(int tab) const;
    // The same, without building it: nullptr for a page not built yet.
    CVARN_Page* BuiltPage(int tab) const;

    // The next (step 1) or previous (-1) page, wrapping at the ends.
    void StepPage(int step);

private:
    bool m_bound = false;
    CVARN_Character* m_character = nullptr;
};
