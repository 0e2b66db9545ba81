#pragma once

#include "shell/PrintLayout.h"

#include <QPointer>
#include <QScrollArea>

#include <memory>

class QPrinter;
class QVBoxLayout;
class CVARN_Doc;

// The print window's preview of the laid-out character sheet: its pages one below the
// other as they come out of the printer, laid out for the paper chosen in Page Setup. Like
// the text pane it shows the character as it was when the window opened.
class CVARN_SheetPreview : public QScrollArea {
    Q_OBJECT
public:
    explicit CVARN_SheetPreview(CVARN_Doc* doc, QWidget* parent = nullptr);
    ~CVARN_SheetPreview() override;

    // Lays the sheet out again and redraws the pages.
    void OnInitialUpdate();
    int PageCount() const { return m_pageCount; }

    // Print: the print dialog (printer, copies, or a PDF file), then the pages.
    CVARN_PrintResult OnFilePrint();
    // The job on a printer already chosen; failures are reported to the user.
    CVARN_PrintResult PrintOn(QPrinter& printer);

private:
    QPrinter& Printer();

    QPointer<CVARN_Doc> m_owner;
    QWidget* m_pages;
    QVBoxLayout* m_layout;
    int m_pageCount = 0;
    std::unique_ptr<QPrinter> m_ownPrinter;
};
