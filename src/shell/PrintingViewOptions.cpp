#include "shell/PrintingViewOptions.h"

#include "editor/CharacterSheet.h"
#include "editor/Page.h"
#include "shell/Doc.h"
#include "shell/PrintingPageOptions.h"
#include "widgets/MyPropertySheet.h"

#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

CVARN_PrintingViewOptions::CVARN_PrintingViewOptions(CVARN_Doc* doc, QWidget* parent)
    : QScrollArea(parent), m_owner(doc), sheet(new CMyPropertySheet(QStringLiteral("Tools"))),
      optionsPage(new CVARN_PrintingPageOptions) {
    sheet->AddPage(optionsPage, optionsPage->Caption());
    sheet->EnableStackedTabs(false);
    // The sheet keeps its natural width: the pane never scrolls sideways.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(false);
    setWidget(sheet);
    if (m_owner)
        m_owner->AddView(this);
}

CVARN_PrintingViewOptions::~CVARN_PrintingViewOptions() {
    // A pane whose window closed was already let go by the document, which may be printing
    // again by now in a new window: only a pane that still counts ends the printing.
    if (m_owner && m_owner->Views().contains(this)) {
        m_owner->SetPrinting(false);
        m_owner->RemoveView(this);
    }
}

CVARN_Doc* CVARN_PrintingViewOptions::GetDocument() const {
    return m_owner ? document : nullptr;
}

void CVARN_PrintingViewOptions::OnInitialUpdate() {
    document = m_owner.data();
    for (int tab = sheet->GetPageCount() - 1; tab >= 0; --tab) {
        sheet->SetActivePage(tab);
        if (auto* page = qobject_cast<CVARN_Page*>(sheet->GetPage(tab))) {
            page->Bind(document != nullptr ? &document->Character() : nullptr);
            page->RefreshFromCharacter();
        }
    }
    sheet->SetActivePage(0);
    NaturalSize();
    PlaceSheet();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

QSize CVARN_PrintingViewOptions::NaturalSize() {
    if (naturalWidth == 0 || naturalHeight == 0) {
        const int active = sheet->GetActivePageIndex();
        const QSize natural = NaturalSheetSize(*sheet);
        sheet->SetActivePage(active);
        naturalWidth = natural.width();
        naturalHeight = natural.height();
    }
    return QSize(naturalWidth, naturalHeight);
}

int CVARN_PrintingViewOptions::ColumnWidthFor(int height) {
    const QSize natural = NaturalSize();
    const int frame = 2 * frameWidth();
    int width = natural.width() + frame;
    if (height - frame < natural.height())
        width += verticalScrollBar()->sizeHint().width();
    return width;
}

void CVARN_PrintingViewOptions::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    PlaceSheet();
}

void CVARN_PrintingViewOptions::PlaceSheet() {
    const QSize natural = NaturalSize();
    // As tall as the pane when the pane is taller than the sheet needs, so the tab frame
    // reaches the bottom; otherwise its natural height, and the pane scrolls.
    const int height = std::max(viewport()->height(), natural.height());
    sheet->resize(natural.width(), height);
}
