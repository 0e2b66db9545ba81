#pragma once

#include "editor/CharacterSheet.h"

#include <QList>
#include <QObject>
#include <QString>

class CMyDocManager;
class CVARN_ChildFrame;
class CVARN_Doc;

// The character document type: makes documents, their character windows and views, and
// keeps the documents it made until they close.
class CMyMultiDocTemplate : public QObject {
    Q_OBJECT
public:
    // The document strings of the type.
    struct DocStrings {
        QString windowTitle;                          // empty
        QString docName = QStringLiteral("VARN");     // new documents: VARN1, VARN2...
        QString fileNewName = QStringLiteral("VARN"); // name offered for a new file
        QString filterName = QStringLiteral("VARN Files (*.vrn)");
        QString filterExt = QStringLiteral(".VRN");
        QString typeId = QStringLiteral("VARN.Document");
        QString typeName = QStringLiteral("VARN Document");
    };

    explicit CMyMultiDocTemplate(CMyDocManager& manager);
    ~CMyMultiDocTemplate() override;

    CMyDocManager& Manager() const { return m_manager; }
    const DocStrings& Strings() const { return m_strings; }

    // New (empty path) or Open: makes the document and its window, reads the file or
    // prepares a new character, binds the view, shows the window when asked, and clears
    // the modified mark. nullptr when reading failed (reported; nothing is left open).
    CVARN_Doc* OpenDocumentFile(const QString& path, bool makeVisible = true);

    // One more character window on `doc` ("New Window"); bound and shown.
    CVARN_ChildFrame* OpenNewWindow(CVARN_Doc* doc);

    QList<CVARN_Doc*> Documents() const { return m_documents; }
    // Forgets a closed document and deletes it from the event loop.
    void RemoveDocument(CVARN_Doc* doc);

    // Which pages a new character view gets; tests use their own.
    void SetPageFactory(CVARN_CharacterSheet::PageFactory factory) {
        m_pageFactory = std::move(factory);
    }

signals:
    void DocumentAdded(CVARN_Doc* doc);
    void DocumentRemoved(CVARN_Doc* doc);

private:
    CVARN_ChildFrame* CreateNewFrame(CVARN_Doc* doc);
    void InitialUpdateFrame(CVARN_ChildFrame* frame, bool makeVisible);

    CMyDocManager& m_manager;
    DocStrings m_strings;
    int m_untitledCount = 0;
    QList<CVARN_Doc*> m_documents;
    CVARN_CharacterSheet::PageFactory m_pageFactory;
};
