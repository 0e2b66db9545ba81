#pragma once

#include "editor/CharacterSheet.h"

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
class CVARN_ChildFrame;
class CVARN_Doc;
class CVARN_QtPrompt;
struct RulesDatabase;

// Opens, creates, tracks and closes the character documents with their character windows,
// keeps the recent-file list and carries out the application's file commands (New, Open,
// the recent files, Exit's questions). Documents are its children until they close.
class CMyDocManager : public QObject {
    Q_OBJECT
public:
    // Opens the print window of a document and returns its window (nullptr if it could not).
    using PrintWindowOpener = std::function<QMdiSubWindow*(CVARN_Doc&)>;

    static constexpr int RecentFileCount = 4;
    // The extension Save As proposes for a character that has no file yet.
    static QString DefaultExtension();

    CMyDocManager(const RulesDatabase& rules, CVARN_QtPrompt& prompt, QObject* parent = nullptr);
    ~CMyDocManager() override;

    const RulesDatabase& Rules() const { return m_rules; }
    CVARN_QtPrompt& Prompt() const { return m_prompt; }

    // Where character windows go; dialogs are parented to its window.
    void SetMdiArea(QMdiArea* area);
    QMdiArea* MdiArea() const { return m_area; }
    QWidget* DialogParent() const;

    // Which pages a new character view gets; tests use their own.
    void SetPageFactory(CVARN_CharacterSheet::PageFactory factory) {
        m_pageFactory = std::move(factory);
    }

    // --- commands
    CVARN_Doc* OnFileNew();
    // Asks for a character file and opens it.
    CVARN_Doc* OnFileOpen();
    // Opens `path`, or brings its window forward when it is open already (nothing is read
    // then). nullptr when it could not be read (reported).
    CVARN_Doc* OpenDocumentFile(const QString& path);
    // The open document of that file, if any.
    CVARN_Doc* FindOpenDocument(const QString& path) const;
    // One more character window on `doc` ("New Window"); bound and shown.
    CVARN_ChildFrame* OpenNewWindow(CVARN_Doc* doc);
    // Shows the file dialog: `fileName` is the proposal on the way in and the chosen path
    // on the way out. True only for OK.
    virtual bool PromptFileName(QString& fileName, const QString& title, bool open);
    // The name filters of the dialog: character files, then the text sheet when saving or
    // characters as JSON when opening. There is no entry for all files.
    QStringList FileDialogFilters(bool open) const;
    // Asks about every modified document; false when one of them must stay open.
    bool SaveAllModified();
    // Closes every document and its windows without asking.
    void CloseAllDocuments();
    QList<CVARN_Doc*> Documents() const { return m_documents; }
    // Forgets a closed document and deletes it from the event loop.
    void RemoveDocument(CVARN_Doc* doc);

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
    // New (empty path) or Open: makes the document and its window, reads the file or
    // prepares a new character, binds the view, shows the window and clears the modified
    // mark. nullptr when reading failed (reported; nothing is left open).
    CVARN_Doc* CreateDocument(const QString& path);
    CVARN_ChildFrame* CreateNewFrame(CVARN_Doc* doc);
    void InitialUpdateFrame(CVARN_ChildFrame* frame);
    void SaveRecentFileList() const;

    const RulesDatabase& m_rules;
    CVARN_QtPrompt& m_prompt;
    QList<CVARN_Doc*> m_documents;
    int m_untitledCount = 0;
    CVARN_CharacterSheet::PageFactory m_pageFactory;
    QPointer<QMdiArea> m_area;
    QStringList m_recent;
    std::unique_ptr<QPrinter> m_printer;
    PrintWindowOpener m_printOpener;
};
