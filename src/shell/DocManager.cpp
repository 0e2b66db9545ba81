#include "shell/DocManager.h"

#include "shell/Doc.h"
#include "shell/FileDialog.h"
#include "shell/MultiDocTemplate.h"
#include "shell/QtPrompt.h"

#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QPrinter>
#include <QSettings>

namespace {
const QString kRecentGroup = QStringLiteral("Recent File List");

// Two spellings of one file are the same file; a file that does not exist (yet) is
// compared by its absolute path.
QString FileIdentity(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}
} // namespace

CMyDocManager::CMyDocManager(const RulesDatabase& rules, CVARN_QtPrompt& prompt, QObject* parent)
    : QObject(parent), m_rules(rules), m_prompt(prompt) {}

CMyDocManager::~CMyDocManager() = default;

void CMyDocManager::AddDocTemplate(std::unique_ptr<CMyMultiDocTemplate> docTemplate) {
    m_template = std::move(docTemplate);
    connect(m_template.get(), &CMyMultiDocTemplate::DocumentAdded, this,
            &CMyDocManager::DocumentAdded);
    connect(m_template.get(), &CMyMultiDocTemplate::DocumentRemoved, this,
            &CMyDocManager::DocumentRemoved);
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
    if (!m_template)
        return nullptr;
    return m_template->OpenDocumentFile(QString(), true);
}

CVARN_Doc* CMyDocManager::OnFileOpen() {
    QString fileName;
    if (!PromptFileName(fileName, QStringLiteral("Open"), true, nullptr))
        return nullptr;
    return OpenDocumentFile(fileName);
}

CVARN_Doc* CMyDocManager::FindOpenDocument(const QString& path) const {
    const QString wanted = FileIdentity(path);
    for (CVARN_Doc* doc : Documents()) {
        if (!doc->PathName().isEmpty() && FileIdentity(doc->PathName()) == wanted)
            return doc;
    }
    return nullptr;
}

CVARN_Doc* CMyDocManager::OpenDocumentFile(const QString& path) {
    if (!m_template || path.isEmpty())
        return nullptr;
    if (CVARN_Doc* open = FindOpenDocument(path)) {
        open->ActivateFirstFrame();
        return open;
    }
    return m_template->OpenDocumentFile(QFileInfo(path).absoluteFilePath(), true);
}

QStringList CMyDocManager::FileDialogFilters(bool open) const {
    QStringList filters;
    if (m_template)
        filters.append(m_template->Strings().filterName);
    if (!open)
        filters.append(QStringLiteral("Text File (*.txt)"));
    else
        filters.append(QStringLiteral("Character JSON (*.json)"));
    return filters;
}

bool CMyDocManager::PromptFileName(QString& fileName, const QString& title, bool open,
                                   CMyMultiDocTemplate* docTemplate) {
    (void)docTemplate; // one document type: its filter is always the first
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

QList<CVARN_Doc*> CMyDocManager::Documents() const {
    return m_template ? m_template->Documents() : QList<CVARN_Doc*>();
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
