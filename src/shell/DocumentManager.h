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
class CharacterWindow;
class CharacterDocument;
class QtPrompt;
struct RulesDatabase;

// Opens, creates, tracks and closes the character documents with their character windows,
// keeps the recent-file list and carries out the application's file commands (New, Open,
// the recent files, Exit's questions). Documents are its children until they close.
class DocumentManager : public QObject {
    Q_OBJECT
public:
    // Opens the print window of a document and returns its window (nullptr if it could not).
    using PrintWindowOpener = std::function<QMdiSubWindow*(CharacterDocument&)>;

    static constexpr int RecentFileCount = 4;
    // The extension Save As proposes for a character that has no file yet.
    static QString defaultExtension();

    DocumentManager(const RulesDatabase& rules, QtPrompt& prompt, QObject* parent = nullptr);
    ~DocumentManager() override;

    const RulesDatabase& rules() const { return m_rules; }
    QtPrompt& prompt() const { return m_prompt; }

    // Where character windows go; dialogs are parented to its window.
    void setMdiArea(QMdiArea* area);
    QMdiArea* mdiArea() const { return m_area; }
    QWidget* dialogParent() const;

    // Which pages a new character view gets; tests use their own.
    void setPageFactory(CVARN_CharacterSheet::PageFactory factory) {
        m_pageFactory = std::move(factory);
    }

    // --- commands
    CharacterDocument* fileNew();
    // Asks for a character file and opens it.
    CharacterDocument* fileOpen();
    // Opens `path`, or brings its window forward when it is open already (nothing is read
    // then). nullptr when it could not be read (reported).
    CharacterDocument* openDocumentFile(const QString& path);
    // The open document of that file, if any.
    CharacterDocument* findOpenDocument(const QString& path) const;
    // One more character window on `doc` ("New Window"); bound and shown.
    CharacterWindow* openNewWindow(CharacterDocument* doc);
    // Shows the file dialog: `fileName` is the proposal on the way in and the chosen path
    // on the way out. True only for OK.
    virtual bool promptFileName(QString& fileName, const QString& title, bool open);
    // The name filters of the dialog: character files, then the text sheet when saving or
    // characters as JSON when opening. There is no entry for all files.
    QStringList fileDialogFilters(bool open) const;
    // Asks about every modified document; false when one of them must stay open.
    bool saveAllModified();
    // Closes every document and its windows without asking.
    void closeAllDocuments();
    QList<CharacterDocument*> documents() const { return m_documents; }
    // Forgets a closed document and deletes it from the event loop.
    void removeDocument(CharacterDocument* doc);

    // --- recent files (kept in the settings, newest first)
    QStringList recentFiles() const { return m_recent; }
    void addRecentFile(const QString& path);
    void removeRecentFile(const QString& path);
    // Opens entry `index`; an entry that cannot be opened leaves the list.
    CharacterDocument* openRecentFile(int index);
    void loadRecentFiles();

    // --- printing
    // The printer that Page Setup configures and the print window prints on.
    QPrinter& printer();
    void setPrintWindowOpener(PrintWindowOpener opener) { m_printOpener = std::move(opener); }
    const PrintWindowOpener& printWindowOpener() const { return m_printOpener; }

signals:
    void recentFilesChanged();
    void documentAdded(CharacterDocument* doc);
    void documentRemoved(CharacterDocument* doc);

private:
    // New (empty path) or Open: makes the document and its window, reads the file or
    // prepares a new character, binds the view, shows the window and clears the modified
    // mark. nullptr when reading failed (reported; nothing is left open).
    CharacterDocument* createDocument(const QString& path);
    CharacterWindow* createWindow(CharacterDocument* doc);
    void showNewWindow(CharacterWindow* frame);
    void saveRecentFiles() const;

    const RulesDatabase& m_rules;
    QtPrompt& m_prompt;
    QList<CharacterDocument*> m_documents;
    int m_untitledCount = 0;
    CVARN_CharacterSheet::PageFactory m_pageFactory;
    QPointer<QMdiArea> m_area;
    QStringList m_recent;
    std::unique_ptr<QPrinter> m_printer;
    PrintWindowOpener m_printOpener;
};
