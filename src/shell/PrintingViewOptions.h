#pragma once

#include <QPointer>
#include <QScrollArea>
#include <QSize>

class CMyPropertySheet;
class CVARN_Doc;
class CVARN_PrintingPageOptions;

// The left pane of the print window: a scrolling view that holds the "Tools" sheet with its
// options page. The document prints for as long as this pane exists: destroying it ends
// the document's printing.
class CVARN_PrintingViewOptions : public QScrollArea {
    Q_OBJECT
public:
    // Registers with `doc` at once, as one of the document's views.
    explicit CVARN_PrintingViewOptions(CVARN_Doc* doc, QWidget* parent = nullptr);
    ~CVARN_PrintingViewOptions() override;

    // nullptr until the first update, and again once the document has gone.
    CVARN_Doc* GetDocument() const;
    CMyPropertySheet* ToolsSheet() const { return sheet; }
    CVARN_PrintingPageOptions* OptionsPage() const { return optionsPage; }

    // Binds the sheet's pages to the document, then sizes the sheet to its natural size.
    void OnInitialUpdate();
    // The room the sheet needs to show its largest page whole; measured once.
    QSize NaturalSize();
    // The width the pane needs when it is `height` pixels high (room for a vertical scroll
    // bar only when the sheet is taller than that).
    int ColumnWidthFor(int height);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceSheet();

    QPointer<CVARN_Doc> m_owner;
    CVARN_Doc* document = nullptr;
    int naturalWidth = 0;
    int naturalHeight = 0;
    CMyPropertySheet* sheet;
    CVARN_PrintingPageOptions* optionsPage;
};
