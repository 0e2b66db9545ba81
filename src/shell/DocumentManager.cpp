#include "shell/DocumentManager.h"

#include "character/CharacterJson.h"
#include "shell/CharacterDocument.h"
#include "shell/CharacterView.h"
#include "shell/CharacterWindow.h"
#include "shell/FileDialog.h"
#include "shell/QtPrompt.h"

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

QString DocumentManager::defaultExtension() {
    return QStringLiteral(".VRN");
}

DocumentManager::DocumentManager(const RulesDatabase& rules, QtPrompt& prompt, QObject* parent)
    : QObject(parent), m_rules(rules), m_prompt(prompt) {}

DocumentManager::~DocumentManager() {
    // The documents' characters go before the rules database that the manager's owner keeps
    // alive longer.
    const QList<CharacterDocument*> documents = m_documents;
    m_documents.clear();
    qDeleteAll(documents);
}

void DocumentManager::setMdiArea(QMdiArea* area) {
    m_area = area;
}

QWidget* DocumentManager::dialogParent() const {
    if (m_area)
        return m_area->window();
    return QApplication::activeWindow();
}

CharacterDocument* DocumentManager::fileNew() {
    return createDocument(QString());
}

CharacterDocument* DocumentManager::fileOpen() {
    QString fileName;
    if (!promptFileName(fileName, QStringLiteral("Open"), true))
        return nullptr;
    return openDocumentFile(fileName);
}

CharacterDocument* DocumentManager::findOpenDocument(const QString& path) const {
    const QString wanted = FileIdentity(path);
    for (CharacterDocument* doc : m_documents) {
        if (!doc->filePath().isEmpty() && FileIdentity(doc->filePath()) == wanted)
            return doc;
    }
    return nullptr;
}

CharacterDocument* DocumentManager::openDocumentFile(const QString& path) {
    if (path.isEmpty())
        return nullptr;
    if (CharacterDocument* open = findOpenDocument(path)) {
        open->activateFirstWindow();
        return open;
    }
    return createDocument(QFileInfo(path).absoluteFilePath());
}

CharacterDocument* DocumentManager::createDocument(const QString& path) {
    auto* doc = new CharacterDocument(*this);
    m_documents.append(doc);

    // The window exists (hidden) while the file is read, as it always has: notifications
    // sent during reading reach its view, which ignores them until its first update.
    CharacterWindow* frame = createWindow(doc);

    bool ok;
    if (path.isEmpty()) {
        doc->setTitle(kUntitledName + QString::number(++m_untitledCount));
        ok = doc->newDocument();
    } else {
        ok = doc->openDocument(path);
        // A character imported from JSON has no character file yet: Save asks where to put
        // one instead of writing over the JSON document.
        if (ok && IsJsonPath(QFile::encodeName(path).toStdString()))
            doc->setTitle(QFileInfo(path).completeBaseName());
        else if (ok)
            doc->setFilePath(path, true);
    }
    if (!ok) {
        doc->close(); // discards the window and the half-read document
        return nullptr;
    }

    showNewWindow(frame);
    // Setting the first race of a new character marks it; a document fresh from New or
    // Open has nothing to save, unless the user changed it while it was read.
    doc->setModified(doc->changedOnOpen());
    doc->resetHistory();
    emit documentAdded(doc);
    return doc;
}

CharacterWindow* DocumentManager::openNewWindow(CharacterDocument* doc) {
    if (doc == nullptr || doc->isClosing())
        return nullptr;
    CharacterWindow* frame = createWindow(doc);
    showNewWindow(frame);
    return frame;
}

void DocumentManager::removeDocument(CharacterDocument* doc) {
    if (!m_documents.removeAll(doc))
        return;
    emit documentRemoved(doc);
    doc->deleteLater();
}

CharacterWindow* DocumentManager::createWindow(CharacterDocument* doc) {
    auto* frame = new CharacterWindow(m_prompt);
    auto* view = new CharacterView(doc, m_pageFactory);
    frame->setWidget(view);
    if (m_area) {
        // Each new window a step down and right of the last, back to the corner when the
        // next step would leave the area.
        const QList<QMdiSubWindow*> open = m_area->subWindowList(QMdiArea::CreationOrder);
        // In the area first, so that the window's size can be fitted to the area's room.
        m_area->addSubWindow(frame);
        frame->applySizeForRun();
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
        frame->applySizeForRun();
    }
    doc->updateWindowTitles();
    return frame;
}

void DocumentManager::showNewWindow(CharacterWindow* frame) {
    if (auto* view = qobject_cast<CharacterView*>(frame->widget()))
        view->initialUpdate();
    frame->show();
    if (QMdiArea* area = frame->mdiArea())
        area->setActiveSubWindow(frame);
}

QStringList DocumentManager::fileDialogFilters(bool open) const {
    QStringList filters{kCharacterFilter};
    if (!open)
        filters.append(QStringLiteral("Text File (*.txt)"));
    else
        filters.append(QStringLiteral("Character JSON (*.json)"));
    return filters;
}

bool DocumentManager::promptFileName(QString& fileName, const QString& title, bool open) {
    FileDialog dialog(open, title, fileDialogFilters(open), fileName, dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return false;
    fileName = chosen.front();
    return true;
}

bool DocumentManager::saveAllModified() {
    for (CharacterDocument* doc : documents()) {
        // The question names a character: its window is the one in front while it is asked.
        if (doc->isModified())
            doc->activateFirstWindow();
        if (!doc->maybeSave())
            return false;
    }
    return true;
}

void DocumentManager::closeAllDocuments() {
    for (CharacterDocument* doc : documents())
        doc->close();
}

void DocumentManager::addRecentFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QString identity = FileIdentity(absolute);
    for (qsizetype i = m_recent.size() - 1; i >= 0; --i) {
        if (FileIdentity(m_recent[i]) == identity)
            m_recent.removeAt(i);
    }
    m_recent.prepend(absolute);
    while (m_recent.size() > RecentFileCount)
        m_recent.removeLast();
    saveRecentFiles();
    emit recentFilesChanged();
}

void DocumentManager::removeRecentFile(const QString& path) {
    if (m_recent.removeAll(path) == 0)
        return;
    saveRecentFiles();
    emit recentFilesChanged();
}

CharacterDocument* DocumentManager::openRecentFile(int index) {
    if (index < 0 || index >= m_recent.size())
        return nullptr;
    const QString path = m_recent[index];
    CharacterDocument* doc = openDocumentFile(path);
    if (doc == nullptr)
        removeRecentFile(path);
    return doc;
}

void DocumentManager::loadRecentFiles() {
    QSettings settings;
    settings.beginGroup(kRecentGroup);
    m_recent.clear();
    for (int i = 1; i <= RecentFileCount; ++i) {
        const QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty() && !m_recent.contains(path))
            m_recent.append(path);
    }
    settings.endGroup();
    emit recentFilesChanged();
}

void DocumentManager::saveRecentFiles() const {
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

QPrinter& DocumentManager::printer() {
    // Made on first use: finding the printers can take a moment.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}
