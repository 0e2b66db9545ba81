#pragma once

#include <QPointer>
#include <QScrollArea>
#include <QSize>

class CMyPropertySheet;
class CharacterDocument;
class PrintOptionsPage;

// The left pane of the print window: a scrolling view that holds the "Tools" sheet with its
// options page. The document prints for as long as this pane exists: destroying it ends
// the document's printing.
class PrintOptionsView : public QScrollArea {
    Q_OBJECT
public:
    // Registers with `doc` at once, as one of the document's views.
    explicit PrintOptionsView(CharacterDocument* doc, QWidget* parent = nullptr);
    ~PrintOptionsView() override;

    // nullptr until the first update, and again once the document has gone.
    CharacterDocument* document() const;
    CMyPropertySheet* toolsSheet() const { return m_sheet; }
    PrintOptionsPage* optionsPage() const { return m_optionsPage; }

    // Binds the sheet's pages to the document, then sizes the sheet to its natural size.
    void initialUpdate();
    // The room the sheet needs to show its largest page whole; measured once.
    QSize naturalSize();
    // The width the pane needs when it is `height` pixels high (room for a vertical scroll
    // bar only when the sheet is taller than that).
    int columnWidthFor(int height);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeSheet();

    QPointer<CharacterDocument> m_owner;
    CharacterDocument* m_document = nullptr;
    int m_naturalWidth = 0;
    int m_naturalHeight = 0;
    CMyPropertySheet* m_sheet;
    PrintOptionsPage* m_optionsPage;
};
