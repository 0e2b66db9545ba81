#include "shell/CharacterView.h"

#include "editor/Page.h"
#include "shell/CharacterDocument.h"
#include "shell/CharacterWindow.h"

#include <QVBoxLayout>

CharacterView::CharacterView(CharacterDocument* doc, const CVARN_CharacterSheet::PageFactory& pages,
                             QWidget* parent)
    : QWidget(parent), m_owner(doc), m_sheet(new CVARN_CharacterSheet(this)) {
    // The sheet covers the whole view; the view draws nothing itself.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_sheet);
    m_sheet->CreatePages(pages);
    if (m_owner != nullptr)
        m_owner->addView(this);
}

CharacterView::~CharacterView() {
    if (m_owner != nullptr)
        m_owner->removeView(this);
}

CVARN_Page* CharacterView::page(int tab) const {
    return m_sheet->Page(tab);
}

void CharacterView::initialUpdate() {
    if (m_owner == nullptr || m_sheet->IsBound())
        return;
    m_document = m_owner;
    m_sheet->BindPages(&m_document->character());
    connect(m_document, &CharacterDocument::characterUpdated, m_sheet,
            &CVARN_CharacterSheet::NotifyPages);
    connect(m_document, &CharacterDocument::characterRestored, m_sheet,
            &CVARN_CharacterSheet::RestorePages);
    if (auto* frame = qobject_cast<CharacterWindow*>(CharacterDocument::windowOf(this)))
        frame->fitToSheet();
    m_sheet->SetActivePage(0);
}

bool CharacterView::canPrint() const {
    return m_document != nullptr && !m_document->isPrinting();
}

void CharacterView::detachDocument() {
    if (m_document != nullptr)
        disconnect(m_document, nullptr, m_sheet, nullptr);
    m_owner = nullptr;
    m_document = nullptr;
}
