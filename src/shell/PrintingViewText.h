#pragma once

#include "shell/PrintLayout.h"

#include <QPointer>
#include <QTextCharFormat>
#include <QTextEdit>

#include <memory>

class QPrinter;
class CVARN_Doc;

// The right pane of the print window: the character's text sheet in a small fixed-pitch
// font, editable so that the user can add or cut text before printing. The text is made
// from the character when the window opens and again when the character changes, unless
// the user has edited it (the print window then says it is older); edits are never saved.
class CVARN_PrintingViewText : public QTextEdit {
    Q_OBJECT
public:
    // Registers with `doc` at once, as one of the document's views.
    explicit CVARN_PrintingViewText(CVARN_Doc* doc, QWidget* parent = nullptr);
    ~CVARN_PrintingViewText() override;

    // nullptr until the first update, and again once the document has gone.
    CVARN_Doc* GetDocument() const;

    // "Courier New" 8 points; where that face is missing, the closest fixed-pitch face.
    static QFont PrintFont();

    // Fills the pane with the document's text sheet.
    void OnInitialUpdate();

    // Print: the print dialog (printer, copies, page range, or a PDF file), then the job.
    CVARN_PrintResult OnFilePrint();
    // The job itself on a printer already chosen: named after the document, with a
    // progress window that can cancel it. A PDF file is saved as a character file is, the
    // old file kept when the write fails. Failures are reported to the user.
    CVARN_PrintResult PrintOn(QPrinter& printer);
    // The print job's name: the document's title, cut to 31 characters.
    QString JobName() const;

private:
    // Empties the text and its undo history and makes the print font the one typed with.
    void ResetContents();
    QPrinter& Printer();
    void ReportFailure(const QString& text);
    // Lays the text out on `device` and sends the pages `printer` asks for.
    CVARN_PrintResult SendPages(QPrinter& printer, QPagedPaintDevice& device);

    QPointer<CVARN_Doc> m_owner;
    CVARN_Doc* m_shown = nullptr; // the document whose sheet the pane shows
    QTextCharFormat charFormat;
    // Only for a pane without a document; otherwise the program's printer is used.
    std::unique_ptr<QPrinter> m_ownPrinter;
};
