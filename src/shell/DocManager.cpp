#include "shell/DocManager.h"

#include "character/CharacterJson.h"
#include "shell/ChildFrame.h"
#include "shell/Doc.h"
#include "shell/FileDialog.h"
#include "shell/QtPrompt.h"
#include "shell/View.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QSettings>

namespace {
const QString kRecentGroup = QStringLiteral("Recent File List");
// New characters are called VARN1, VARN2... until they are saved.
const QString kUntitledName = QStringLiteral("VARN");
const QString kCharacterFilter = QStringLiteral("VARN Files (*.vrn)");

// Two spellings of one file are the same file; a file that does not exist (yet) is
// compared by its absolute path.
QString FileIdentity(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}
} // namespace

QString CMyDocManager::DefaultExtension() {
    return QStringLiteral(".VRN");
}

CMyDocManager::CMyDocManager(const RulesDatabase& rules, CVARN_QtPrompt& prompt, QObject* parent)
    : QObject(parent), m_rules(rules), m_prompt(prompt) {}

CMyDocManager::~CMyDocManager() {
    // The documents' characters go before the rules database that the manager's owner keeps
    // alive longer.
    const QList<CVARN_Doc*> documents = m_documents;
    m_documents.clear();
    qDeleteAll(documents);
}

void CMyDocManager::SetMdiArea(QMdiArea* area) {
    m_area = area;
}

QWidget* CMyDocManager::DialogParent() const {
    if (m_area)
        return m_area->window();
    return QApplication::activeWindow();
}

CVARN_Doc* CMyDocManager::OnFileNew() {
    return CreateDocument(QString());
}

CVARN_Doc* CMyDocManager::OnFileOpen() {
    QString fileName;
    if (!PromptFileName(fileName, QStringLiteral("Open"), true))
        return nullptr;
    return OpenDocumentFile(fileName);
}

CVARN_Doc* CMyDocManager::FindOpenDocument(const QString& path) const {
    const QString wanted = FileIdentity(path);
    for (CVARN_Doc* doc : m_documents) {
        if (!doc->PathName().isEmpty() && FileIdentity(doc->PathName()) == wanted)
            return doc;
    }
    return nullptr;
}

CVARN_Doc* CMyDocManager::OpenDocumentFile(const QString& path) {
    if (path.isEmpty())
        return nullptr;
    if (CVARN_Doc* open = FindOpenDocument(path)) {
        open->ActivateFirstFrame();
        return open;
    }
    return CreateDocument(QFileInfo(path).absoluteFilePath());
}

CVARN_Doc* CMyDocManager::CreateDocument(const QString& path) {
    auto* doc = new CVARN_Doc(*this);
    m_documents.append(doc);

    // The window exists (hidden) while the file is read, as it always has: notifications
    // sent during reading reach its view, which ignores them until its first update.
    CVARN_ChildFrame* frame = CreateNewFrame(doc);

    bool ok;
    if (path.isEmpty()) {
        doc->SetTitle(kUntitledName + QString::number(++m_untitledCount));
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

    InitialUpdateFrame(frame);
    // Setting the first race of a new character marks it; a document fresh from New or
    // Open has nothing to save, unless the user changed it while it was read.
    doc->SetModified(doc->ChangedOnOpen());
    doc->ResetHistory();
    emit DocumentAdded(doc);
    return doc;
}

CVARN_ChildFrame* CMyDocManager::OpenNewWindow(CVARN_Doc* doc) {
    if (doc == nullptr || doc->IsClosing())
        return nullptr;
    CVARN_ChildFrame* frame = CreateNewFrame(doc);
    InitialUpdateFrame(frame);
    return frame;
}

void CMyDocManager::RemoveDocument(CVARN_Doc* doc) {
    if (!m_documents.removeAll(doc))
        return;
    emit DocumentRemoved(doc);
    doc->deleteLater();
}

CVARN_ChildFrame* CMyDocManager::CreateNewFrame(CVARN_Doc* doc) {
    auto* frame = new CVARN_ChildFrame(m_prompt);
    auto* view = new CVARN_View(doc, m_pageFactory);
    frame->setWidget(view);
    if (m_area) {
        // Each new window a step down and right of the last, back to the corner when the
        // next step would leave the area.
        const QList<QMdiSubWindow*> open = m_area->subWindowList(QMdiArea::CreationOrder);
        // In the area first, so that the window's size can be fitted to the area's room.
        m_area->addSubWindow(frame);
        frame->ApplySizeForRun();
        QPoint place(0, 0);
        if (!open.isEmpty()) {
            const int step = open.back()->height() - open.back()->widget()->height();
            place = open.back()->pos() + QPoint(step, step);
            const QSize size = frame->size();
            if (place.x() + size.width() > m_area->viewport()->width() ||
                place.y() + size.height() > m_area->viewport()->height())
                place = QPoint(0, 0);
        }
        frame->move(place);
    } else {
        frame->ApplySizeForRun();
    }
    doc->UpdateFrameTitles();
    return frame;
}

void CMyDocManager::InitialUpdateFrame(CVARN_ChildFrame* frame) {
    if (auto* view = qobject_cast<CVARN_View*>(frame->widget()))
        view->OnInitialUpdate();
    frame->show();
    if (QMdiArea* area = frame->mdiArea())
        area->setActiveSubWindow(frame);
}

QStringList CMyDocManager::FileDialogFilters(bool open) const {
    QStringList filters{kCharacterFilter};
    if (!open)
        filters.append(QStringLiteral("Text File (*.txt)"));
    else
        filters.append(QStringLiteral("Character JSON (*.json)"));
    return filters;
}

bool CMyDocManager::PromptFileName(QString& fileName, const QString& title, bool open) {
    CMyFileDialog dialog(open, title, FileDialogFilters(open), fileName, DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return false;
    fileName = chosen.front();
    return true;
}

bool CMyDocManager::SaveAllModified() {
    for (CVARN_Doc* doc : Documents()) {
        // The question names a character: its window is the one in front while it is asked.
        if (doc->IsModified())
            doc->ActivateFirstFrame();
        if (!doc->SaveModified())
            return false;
    }
    return true;
}

void CMyDocManager::CloseAllDocuments() {
    for (CVARN_Doc* doc : Documents())
        doc->OnCloseDocument();
}

void CMyDocManager::AddToRecentFileList(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QString identity = FileIdentity(absolute);
    for (qsizetype i = m_recent.size() - 1; i >= 0; --i) {
        if (FileIdentity(m_recent[i]) == identity)
            m_recent.removeAt(i);
    }
    m_recent.prepend(absolute);
    while (m_recent.size() > RecentFileCount)
        m_recent.removeLast();
    SaveRecentFileList();
    emit RecentFilesChanged();
}

void CMyDocManager::RemoveFromRecentFileList(const QString& path) {
    if (m_recent.removeAll(path) == 0)
        return;
    SaveRecentFileList();
    emit RecentFilesChanged();
}

CVARN_Doc* CMyDocManager::OpenRecentFile(int index) {
    if (index < 0 || index >= m_recent.size())
        return nullptr;
    const QString path = m_recent[index];
    CVARN_Doc* doc = OpenDocumentFile(path);
    if (doc == nullptr)
        RemoveFromRecentFileList(path);
    return doc;
}

void CMyDocManager::LoadRecentFileList() {
    QSettings settings;
    settings.beginGroup(kRecentGroup);
    m_recent.clear();
    for (int i = 1; i <= RecentFileCount; ++i) {
        const QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty() && !m_recent.contains(path))
            m_recent.append(path);
    }
    settings.endGroup();
    emit RecentFilesChanged();
}

void CMyDocManager::SaveRecentFileList() const {
    // Written at once, not at exit: the list survives a program that is killed.
    QSettings settings;
    settings.beginGroup(kRecentGroup);
    for (int i = 1; i <= RecentFileCount; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= m_recent.size())
            settings.setValue(key, m_recent[i - 1]);
        else
            settings.remove(key);
    }
    settings.endGroup();
}

QPrinter& CMyDocManager::Printer() {
    // Made on first use: finding the printers can take a moment.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}
