#pragma once

#include "shell/PrintLayout.h"

#include <QPointer>
#include <QTextCharFormat>
#include <QTextEdit>

#include <memory>

class QPrinter;
class CharacterDocument;

// The right pane of the print window: the character's text sheet in a small fixed-pitch
// font, editable so that the user can add or cut text before printing. The text is made
// from the character when the window opens and again when the character changes, unless
// the user has edited it (the print window then says it is older); edits are never saved.
class PrintTextView : public QTextEdit {
    Q_OBJECT
public:
    // Registers with `doc` at once, as one of the document's views.
    explicit PrintTextView(CharacterDocument* doc, QWidget* parent = nullptr);
    ~PrintTextView() override;

    // nullptr until the first update, and again once the document has gone.
    CharacterDocument* characterDocument() const;

    // "Courier New" 8 points; where that face is missing, the closest fixed-pitch face.
    static QFont printFont();

    // Fills the pane with the document's text sheet.
    void initialUpdate();

    // Print: the print dialog (printer, copies, page range, or a PDF file), then the job.
    PrintResult filePrint();
    // The job itself on a printer already chosen: named after the document, with a
    // progress window that can cancel it. A PDF file is saved as a character file is, the
    // old file kept when the write fails. Failures are reported to the user.
    PrintResult printOn(QPrinter& printer);
    // The print job's name: the document's title, cut to 31 characters.
    QString jobName() const;

private:
    // Empties the text and its undo history and makes the print font the one typed with.
    void resetContents();
    QPrinter& printer();
    void reportFailure(const QString& text);
    // Lays the text out on `device` and sends the pages `printer` asks for.
    PrintResult sendPages(QPrinter& printer, QPagedPaintDevice& device);

    QPointer<CharacterDocument> m_owner;
    CharacterDocument* m_shown = nullptr; // the document whose sheet the pane shows
    QTextCharFormat m_charFormat;
    // Only for a pane without a document; otherwise the program's printer is used.
    std::unique_ptr<QPrinter> m_ownPrinter;
};
