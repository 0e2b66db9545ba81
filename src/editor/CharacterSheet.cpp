#include "editor/CharacterSheet.h"

#include "editor/Page.h"
#include "editor/Pages.h"

#include <QKeySequence>
#include <QShortcut>

namespace {
// Largest sheet size seen in this run; both zero until the first window was bound.
QSize g_sheetSizeForRun;
} // namespace

QSize NaturalSheetSize(CMyPropertySheet& sheet) {
    QSize largest(0, 0);
    for (int tab = sheet.GetPageCount() - 1; tab >= 0; --tab) {
        sheet.SetActivePage(tab);
        QWidget* widget = sheet.GetPage(tab);
        if (auto* page = qobject_cast<CVARN_Page*>(widget))
            largest = largest.expandedTo(page->ComputeNaturalSize());
        else if (widget != nullptr)
            largest = largest.expandedTo(widget->sizeHint());
    }
    // The tab widget's own hint is the largest page plus the tab strip and the frame
    // around the pages, which is the room the window has to give it.
    sheet.ensurePolished();
    QSize size = sheet.sizeHint().expandedTo(sheet.minimumSizeHint());
    return size.expandedTo(largest);
}

CVARN_CharacterSheet::CVARN_CharacterSheet(QWidget* parent) : CMyPropertySheet("VARN", parent) {
    // Shortcuts, not key handling in the sheet: the lists and text panes of the pages would
    // take these keys for themselves before the sheet saw them.
    const auto key = [this](const QKeySequence& sequence, auto action) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] { StepPage(1); });
    key(QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] { StepPage(-1); });
    for (int tab = 0; tab < CharacterPageCount; ++tab)
        key(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_1 + tab)), [this, tab] { SetActivePage(tab); });
}

void CVARN_CharacterSheet::StepPage(int step) {
    const int pages = GetPageCount();
    if (pages > 0)
        SetActivePage(((GetActivePageIndex() + step) % pages + pages) % pages);
}

void CVARN_CharacterSheet::CreatePages(const PageFactory& factory) {
    const PageFactory& make = factory ? factory : PageFactory(CreateCharacterPage);
    for (int tab = 0; tab < CharacterPageCount; ++tab) {
        std::unique_ptr<CVARN_Page> page = make(tab);
        if (!page)
            continue;
        const QString caption = page->Caption();
        AddPage(page.release(), caption);
    }
    EnableStackedTabs(true);
}

void CVARN_CharacterSheet::BindPages(CVARN_Character* character) {
    for (int tab = GetPageCount() - 1; tab >= 0; --tab) {
        SetActivePage(tab);
        if (CVARN_Page* page = Page(tab)) {
            page->Bind(character);
            page->RefreshFromCharacter();
        }
    }
    m_bound = true;
}

QSize CVARN_CharacterSheet::SheetSizeForRun() {
    if (g_sheetSizeForRun.width() > 0 && g_sheetSizeForRun.height() > 0)
        return g_sheetSizeForRun;
    const int active = GetActivePageIndex();
    g_sheetSizeForRun = NaturalSheetSize(*this);
    SetActivePage(active);
    return g_sheetSizeForRun;
}

void CVARN_CharacterSheet::ForgetSheetSizeForRun() {
    g_sheetSizeForRun = QSize();
}

void CVARN_CharacterSheet::NotifyPages(int hint, CVARN_CharEquip* object) {
    for (int tab = GetPageCount() - 1; tab >= 0; --tab) {
        CVARN_Page* page = Page(tab);
        if (page != nullptr && page->IsInitialised())
            page->OnCharacterUpdate(hint, object);
    }
}

void CVARN_CharacterSheet::RestorePages() {
    for (int tab = GetPageCount() - 1; tab >= 0; --tab) {
        CVARN_Page* page = Page(tab);
        if (page != nullptr && page->IsInitialised())
            page->OnCharacterRestored();
    }
}

CVARN_Page* CVARN_CharacterSheet::Page(int tab) const {
    return qobject_cast<CVARN_Page*>(GetPage(tab));
}
