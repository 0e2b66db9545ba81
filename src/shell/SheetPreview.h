#pragma once

#include "shell/PrintLayout.h"

#include <QPointer>
#include <QScrollArea>

#include <memory>

class QPrinter;
class QVBoxLayout;
class CharacterDocument;

// The print window's preview of the laid-out character sheet: its pages one below the
// other as they come out of the printer, laid out for the paper chosen in Page Setup. Like
// the text pane it shows the character as it was when the window opened.
class SheetPreview : public QScrollArea {
    Q_OBJECT
public:
    explicit SheetPreview(CharacterDocument* doc, QWidget* parent = nullptr);
    ~SheetPreview() override;

    // Lays the sheet out again and redraws the pages.
    void initialUpdate();
    int pageCount() const { return m_pageCount; }

    // Print: the print dialog (printer, copies, or a PDF file), then the pages.
    PrintResult filePrint();
    // The job on a printer already chosen; failures are reported to the user.
    PrintResult printOn(QPrinter& printer);

private:
    QPrinter& printer();

    QPointer<CharacterDocument> m_owner;
    QWidget* m_pages;
    QVBoxLayout* m_layout;
    int m_pageCount = 0;
    std::unique_ptr<QPrinter> m_ownPrinter;
};
