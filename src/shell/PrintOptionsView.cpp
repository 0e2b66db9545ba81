#include "shell/PrintOptionsView.h"

#include "editor/CharacterSheet.h"
#include "editor/Page.h"
#include "shell/CharacterDocument.h"
#include "shell/PrintOptionsPage.h"
#include "widgets/MyPropertySheet.h"

#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

PrintOptionsView::PrintOptionsView(CharacterDocument* doc, QWidget* parent)
    : QScrollArea(parent), m_owner(doc), m_sheet(new CMyPropertySheet(QStringLiteral("Tools"))),
      m_optionsPage(new PrintOptionsPage) {
    m_sheet->AddPage(m_optionsPage, m_optionsPage->Caption());
    m_sheet->EnableStackedTabs(false);
    // The sheet keeps its natural width: the pane never scrolls sideways.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(false);
    setWidget(m_sheet);
    if (m_owner)
        m_owner->addView(this);
}

PrintOptionsView::~PrintOptionsView() {
    // A pane whose window closed was already let go by the document, which may be printing
    // again by now in a new window: only a pane that still counts ends the printing.
    if (m_owner && m_owner->views().contains(this)) {
        m_owner->setPrinting(false);
        m_owner->removeView(this);
    }
}

CharacterDocument* PrintOptionsView::document() const {
    return m_owner ? m_document : nullptr;
}

void PrintOptionsView::initialUpdate() {
    m_document = m_owner.data();
    for (int tab = m_sheet->GetPageCount() - 1; tab >= 0; --tab) {
        m_sheet->SetActivePage(tab);
        if (auto* page = qobject_cast<CVARN_Page*>(m_sheet->GetPage(tab))) {
            page->Bind(m_document != nullptr ? &m_document->character() : nullptr);
            page->RefreshFromCharacter();
        }
    }
    m_sheet->SetActivePage(0);
    naturalSize();
    placeSheet();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

QSize PrintOptionsView::naturalSize() {
    if (m_naturalWidth == 0 || m_naturalHeight == 0) {
        const int active = m_sheet->GetActivePageIndex();
        const QSize natural = NaturalSheetSize(*m_sheet);
        m_sheet->SetActivePage(active);
        m_naturalWidth = natural.width();
        m_naturalHeight = natural.height();
    }
    return QSize(m_naturalWidth, m_naturalHeight);
}

int PrintOptionsView::columnWidthFor(int height) {
    const QSize natural = naturalSize();
    const int frame = 2 * frameWidth();
    int width = natural.width() + frame;
    if (height - frame < natural.height())
        width += verticalScrollBar()->sizeHint().width();
    return width;
}

void PrintOptionsView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    placeSheet();
}

void PrintOptionsView::placeSheet() {
    const QSize natural = naturalSize();
    // As tall as the pane when the pane is taller than the sheet needs, so the tab frame
    // reaches the bottom; otherwise its natural height, and the pane scrolls.
    const int height = std::max(viewport()->height(), natural.height());
    m_sheet->resize(natural.width(), height);
}
