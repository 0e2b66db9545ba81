#include "shell/MultiDocTemplate.h"

#include "character/CharacterJson.h"
#include "shell/ChildFrame.h"
#include "shell/Doc.h"
#include "shell/DocManager.h"
#include "shell/View.h"

#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

CMyMultiDocTemplate::CMyMultiDocTemplate(CMyDocManager& manager) : m_manager(manager) {}

CMyMultiDocTemplate::~CMyMultiDocTemplate() {
    // Documents are children of the template; their characters go with them, before the
    // rules database that the manager's owner keeps alive longer.
    const QList<CVARN_Doc*> documents = m_documents;
    m_documents.clear();
    qDeleteAll(documents);
}

CVARN_Doc* CMyMultiDocTemplate::OpenDocumentFile(const QString& path, bool makeVisible) {
    auto* doc = new CVARN_Doc(m_manager.Rules(), *this);
    m_documents.append(doc);

    // The window exists (hidden) while the file is read, as it always has: notifications
    // sent during reading reach its view, which ignores them until its first update.
    CVARN_ChildFrame* frame = CreateNewFrame(doc);

    bool ok;
    if (path.isEmpty()) {
        doc->SetTitle(m_strings.docName + QString::number(++m_untitledCount));
        ok = doc->NewDocument();
    } else {
        ok = doc->OpenDocument(path);
        // A character imported from JSON has no character file yet: Save asks where to put
        // one instead of writing over the JSON document.
        if (ok && IsJsonPath(QFile::encodeName(path).toStdString()))
            doc->SetTitle(QFileInfo(path).completeBaseName());
        else if (ok)
            doc->SetDocumentPath(path, true);
    }
    if (!ok) {
        doc->OnCloseDocument(); // discards the window and the half-read document
        return nullptr;
    }

    InitialUpdateFrame(frame, makeVisible);
    // Setting the first race of a new character marks it; a document fresh from New or
    // Open has nothing to save, unless the user changed it while it was read.
    doc->SetModified(doc->ChangedOnOpen());
    doc->ResetHistory();
    emit DocumentAdded(doc);
    return doc;
}

CVARN_ChildFrame* CMyMultiDocTemplate::OpenNewWindow(CVARN_Doc* doc) {
    if (doc == nullptr || doc->IsClosing())
        return nullptr;
    CVARN_ChildFrame* frame = CreateNewFrame(doc);
    InitialUpdateFrame(frame, true);
    return frame;
}

void CMyMultiDocTemplate::RemoveDocument(CVARN_Doc* doc) {
    if (!m_documents.removeAll(doc))
        return;
    emit DocumentRemoved(doc);
    doc->deleteLater();
}

CVARN_ChildFrame* CMyMultiDocTemplate::CreateNewFrame(CVARN_Doc* doc) {
    auto* frame = new CVARN_ChildFrame(m_manager.Prompt());
    auto* view = new CVARN_View(doc, m_pageFactory);
    frame->setWidget(view);
    if (QMdiArea* area = m_manager.MdiArea()) {
        // Each new window a step down and right of the last, back to the corner when the
        // next step would leave the area.
        const QList<QMdiSubWindow*> open = area->subWindowList(QMdiArea::CreationOrder);
        // In the area first, so that the window's size can be fitted to the area's room.
        area->addSubWindow(frame);
        frame->ApplySizeForRun();
        QPoint place(0, 0);
        if (!open.isEmpty()) {
            const int step = open.back()->height() - open.back()->widget()->height();
            place = open.back()->pos() + QPoint(step, step);
            const QSize size = frame->size();
            if (place.x() + size.width() > area->viewport()->width() ||
                place.y() + size.height() > area->viewport()->height())
                place = QPoint(0, 0);
        }
        frame->move(place);
    } else {
        frame->ApplySizeForRun();
    }
    doc->UpdateFrameTitles();
    return frame;
}

void CMyMultiDocTemplate::InitialUpdateFrame(CVARN_ChildFrame* frame, bool makeVisible) {
    if (auto* view = qobject_cast<CVARN_View*>(frame->widget()))
        view->OnInitialUpdate();
    if (makeVisible) {
        frame->show();
        if (QMdiArea* area = frame->mdiArea())
            area->setActiveSubWindow(frame);
    }
}
