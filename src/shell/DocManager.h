#pragma once

#include <QList>
#include <QMdiArea>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QMdiSubWindow;
class QPrinter;
class CMyMultiDocTemplate;
class CVARN_Doc;
class CVARN_QtPrompt;
struct RulesDatabase;

// Knows the document type, every open document and the recent-file list, and carries out
// the application's file commands (New, Open, the recent files, Exit's questions).
class CMyDocManager : public QObject {
    Q_OBJECT
public:
    // Opens the print window of a document and returns its window (nullptr if it could not).
    using PrintWindowOpener = std::function<QMdiSubWindow*(CVARN_Doc&)>;

    static constexpr int RecentFileCount = 4;

    CMyDocManager(const RulesDatabase& rules, CVARN_QtPrompt& prompt, QObject* parent = nullptr);
    ~CMyDocManager() override;

    const RulesDatabase& Rules() const { return m_rules; }
    CVARN_QtPrompt& Prompt() const { return m_prompt; }

    // The character document type; the manager owns it.
    void AddDocTemplate(std::unique_ptr<CMyMultiDocTemplate> docTemplate);
    CMyMultiDocTemplate* Template() const { return m_template.get(); }

    // Where character windows go; dialogs are parented to its window.
    void SetMdiArea(QMdiArea* area);
    QMdiArea* MdiArea() const { return m_area; }
    QWidget* DialogParent() const;

    // --- commands
    CVARN_Doc* OnFileNew();
    // Asks for a character file and opens it.
    CVARN_Doc* OnFileOpen();
    // Opens `path`, or brings its window forward when it is open already (nothing is read
    // then). nullptr when it could not be read (reported).
    CVARN_Doc* OpenDocumentFile(const QString& path);
    // The open document of that file, if any.
    CVARN_Doc* FindOpenDocument(const QString& path) const;
    // Shows the file dialog: `fileName` is the proposal on the way in and the chosen path
    // on the way out. True only for OK.
    virtual bool PromptFileName(QString& fileName, const QString& title, bool open,
                                CMyMultiDocTemplate* docTemplate);
    // The name filters of the dialog: one per document type, then the text sheet when
    // saving or characters as JSON when opening. There is no entry for all files.
    QStringList FileDialogFilters(bool open) const;
    // Asks about every modified document; false when one of them must stay open.
    bool SaveAllModified();
    // Closes every document and its windows without asking.
    void CloseAllDocuments();
    QList<CVARN_Doc*> Documents() const;

    // --- recent files (kept in the settings, newest first)
    QStringList RecentFiles() const { return m_recent; }
    void AddToRecentFileList(const QString& path);
    void RemoveFromRecentFileList(const QString& path);
    // Opens entry `index`; an entry that cannot be opened leaves the list.
    CVARN_Doc* OpenRecentFile(int index);
    void LoadRecentFileList();

    // --- printing
    // The printer that Page Setup configures and the print window prints on.
    QPrinter& Printer();
    void SetPrintWindowOpener(PrintWindowOpener opener) { m_printOpener = std::move(opener); }
    const PrintWindowOpener& GetPrintWindowOpener() const { return m_printOpener; }

signals:
    void RecentFilesChanged();
    void DocumentAdded(CVARN_Doc* doc);
    void DocumentRemoved(CVARN_Doc* doc);

private:
    void SaveRecentFileList() const;

    const RulesDatabase& m_rules;
    CVARN_QtPrompt& m_prompt;
    std::unique_ptr<CMyMultiDocTemplate> m_template;
    QPointer<QMdiArea> m_area;
    QStringList m_recent;
    std::unique_ptr<QPrinter> m_printer;
    PrintWindowOpener m_printOpener;
};
