#include "shell/View.h"

#include "editor/Page.h"
#include "shell/ChildFrame.h"
#include "shell/Doc.h"

#include <QVBoxLayout>

CVARN_View::CVARN_View(CVARN_Doc* doc, const CVARN_CharacterSheet::PageFactory& pages,
                       QWidget* parent)
    : QWidget(parent), m_owner(doc), sheet(new CVARN_CharacterSheet(this)) {
    // The sheet covers the whole view; the view draws nothing itself.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(sheet);
    sheet->CreatePages(pages);
    if (m_owner != nullptr)
        m_owner->AddView(this);
}

CVARN_View::~CVARN_View() {
    if (m_owner != nullptr)
        m_owner->RemoveView(this);
}

CVARN_Page* CVARN_View::Page(int tab) const {
    return sheet->Page(tab);
}

void CVARN_View::OnInitialUpdate() {
    if (m_owner == nullptr || sheet->IsBound())
        return;
    document = m_owner;
    sheet->BindPages(&document->Character());
    connect(document, &CVARN_Doc::CharacterUpdated, sheet, &CVARN_CharacterSheet::NotifyPages);
    connect(document, &CVARN_Doc::CharacterRestored, sheet, &CVARN_CharacterSheet::RestorePages);
    if (auto* frame = qobject_cast<CVARN_ChildFrame*>(CVARN_Doc::FrameOf(this)))
        frame->FitToSheet();
    sheet->SetActivePage(0);
}

bool CVARN_View::CanPrint() const {
    return document != nullptr && !document->IsPrinting();
}

void CVARN_View::DetachDocument() {
    if (document != nullptr)
        disconnect(document, nullptr, sheet, nullptr);
    m_owner = nullptr;
    document = nullptr;
}
