#include "ui/Doc.h"

#include "character/CharacterFile.h"
#include "rules/RulesDatabase.h"
#include "ui/ChildFrame.h"
#include "ui/DocManager.h"
#include "ui/MultiDocTemplate.h"
#include "ui/QtPrompt.h"
#include "ui/QtText.h"
#include "ui/View.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpression>

namespace {
std::string PathToCore(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Keeps the wait cursor up for the length of a scope.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
} // namespace

CVARN_Doc::CVARN_Doc(RulesDatabase& rules, CMyMultiDocTemplate& docTemplate)
    : QObject(&docTemplate), m_template(docTemplate), character(rules) {
    character.document = this;
}

CVARN_Doc::~CVARN_Doc() {
    // The character may still report changes while it takes its records apart.
    character.document = nullptr;
}

CMyDocManager& CVARN_Doc::Manager() const {
    return m_template.Manager();
}

bool CVARN_Doc::NewDocument() {
    m_path.clear();
    SetModified(false);
    const auto& races = character.Rules().raceTable.races;
    if (!races.empty() && races.front())
        character.SetRaceByName(races.front()->name);
    return true;
}

bool CVARN_Doc::OpenDocument(const QString& path) {
    const CVARN_FileFailure failure =
        LoadCharacterFile(character, PathToCore(path), Manager().Prompt());
    if (failure != CVARN_FileFailure::None) {
        Manager().Prompt().Warn(FromCore(FileFailureText(failure, PathToCore(path))));
        return false;
    }
    SetModified(false);
    return true;
}

bool CVARN_Doc::SaveDocument(const QString& path) {
    bool wroteCharacterFile = false;
    CVARN_FileFailure failure;
    {
        WaitCursor wait;
        failure = SaveCharacterFile(character, PathToCore(path), &wroteCharacterFile);
    }
    if (failure != CVARN_FileFailure::None) {
        Manager().Prompt().Warn(FromCore(FileFailureText(failure, PathToCore(path))));
        return false;
    }
    // The text sheet is an export: the character itself is still unsaved.
    if (wroteCharacterFile)
        SetModified(false);
    return true;
}

void CVARN_Doc::SetDocumentPath(const QString& path, bool addToRecent) {
    const QFileInfo info(path);
    m_path = info.absoluteFilePath();
    if (IsCharacterFilePath(PathToCore(m_path))) {
        SetTitle(info.fileName());
        if (addToRecent)
            Manager().AddToRecentFileList(m_path);
    } else if (m_title.isEmpty()) {
        // A character read from a file with another extension would otherwise have no
        // caption at all.
        SetTitle(info.fileName());
    }
}

void CVARN_Doc::SetTitle(const QString& title) {
    if (m_title == title)
        return;
    m_title = title;
    UpdateFrameTitles();
    emit TitleChanged();
}

void CVARN_Doc::SetModified(bool modified) {
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit ModifiedChanged(modified);
}

bool CVARN_Doc::DoFileSave() {
    if (!m_path.isEmpty()) {
        const QFileInfo info(m_path);
        if (info.exists() && info.isWritable()) {
            const QString path = m_path;
            if (!SaveDocument(path))
                return false;
            SetDocumentPath(path, true);
            return true;
        }
    }
    return DoSaveAs();
}

bool CVARN_Doc::DoSaveAs() {
    QString name = m_path;
    if (name.isEmpty()) {
        // The title up to the first character that has no place in a file name.
        name = m_title;
        const qsizetype bad = name.indexOf(QRegularExpression(QStringLiteral("[ #%;/\\\\]")));
        if (bad >= 0)
            name.truncate(bad);
        name += m_template.Strings().filterExt;
    }
    if (!Manager().PromptFileName(name, QStringLiteral("Save As"), false, &m_template))
        return false;
    // A failed save leaves whatever file was there untouched (it is written under another
    // name and renamed only when complete), so there is nothing to delete here: deleting
    // the target would destroy the user's previous file.
    if (!SaveDocument(name))
        return false;
    SetDocumentPath(name, true);
    return true;
}

bool CVARN_Doc::SaveModified() {
    if (!m_modified)
        return true;
    QString name = m_title;
    if (name.isEmpty())
        name = QFileInfo(m_path).fileName();
    switch (Manager().Prompt().AskSaveChanges(name)) {
    case CVARN_QtPrompt::SaveAnswer::Cancel:
        return false;
    case CVARN_QtPrompt::SaveAnswer::No:
        return true;
    case CVARN_QtPrompt::SaveAnswer::Yes:
        return DoFileSave();
    }
    return false;
}

void CVARN_Doc::OnCloseDocument() {
    if (m_closing)
        return;
    m_closing = true;
    for (QMdiSubWindow* frame : Frames()) {
        // Tells a window that refuses to close while printing that the whole document goes.
        frame->setProperty(CVARN_ChildFrame::ForceCloseProperty, true);
        frame->close();
    }
    for (const QPointer<QWidget>& view : m_views) {
        if (auto* characterView = qobject_cast<CVARN_View*>(view.data()))
            characterView->DetachDocument();
    }
    m_views.clear();
    emit Closed();
    m_template.RemoveDocument(this);
}

bool CVARN_Doc::CanCloseFrame(QMdiSubWindow* frame) {
    for (QMdiSubWindow* other : Frames()) {
        if (other != frame)
            return true;
    }
    return SaveModified();
}

void CVARN_Doc::FrameClosed(QMdiSubWindow* frame) {
    bool removed = false;
    for (qsizetype i = m_views.size() - 1; i >= 0; --i) {
        QWidget* view = m_views[i].data();
        if (view == nullptr || FrameOf(view) == frame) {
            if (auto* characterView = qobject_cast<CVARN_View*>(view))
                characterView->DetachDocument();
            m_views.removeAt(i);
            removed = true;
        }
    }
    if (m_closing)
        return;
    if (m_views.isEmpty())
        OnCloseDocument();
    else if (removed)
        UpdateFrameTitles();
}

void CVARN_Doc::SetPrinting(bool on) {
    if (printing == on)
        return;
    printing = on;
    emit PrintingChanged(on);
}

void CVARN_Doc::StartPrinting() {
    if (printing)
        return;
    const auto& opener = Manager().GetPrintWindowOpener();
    if (!opener)
        return;
    SetPrinting(true);
    QMdiSubWindow* window = opener(*this);
    if (window == nullptr) {
        SetPrinting(false);
        return;
    }
    window->setWindowTitle(QStringLiteral("Printing..."));
    window->showMaximized();
}

void CVARN_Doc::AddView(QWidget* view) {
    if (view == nullptr || m_views.contains(view))
        return;
    m_views.append(view);
}

void CVARN_Doc::RemoveView(QWidget* view) {
    const bool had = m_views.removeAll(view) > 0;
    if (!had || m_closing)
        return;
    if (m_views.isEmpty())
        OnCloseDocument();
    else
        UpdateFrameTitles();
}

QList<QWidget*> CVARN_Doc::Views() const {
    QList<QWidget*> views;
    for (const QPointer<QWidget>& view : m_views) {
        if (view)
            views.append(view.data());
    }
    return views;
}

QList<QMdiSubWindow*> CVARN_Doc::Frames() const {
    QList<QMdiSubWindow*> frames;
    for (QWidget* view : Views()) {
        QMdiSubWindow* frame = FrameOf(view);
        if (frame != nullptr && !frames.contains(frame))
            frames.append(frame);
    }
    return frames;
}

void CVARN_Doc::UpdateFrameTitles() {
    QList<CVARN_ChildFrame*> windows;
    for (QMdiSubWindow* frame : Frames()) {
        if (auto* child = qobject_cast<CVARN_ChildFrame*>(frame))
            windows.append(child);
    }
    for (qsizetype i = 0; i < windows.size(); ++i) {
        QString caption = m_title;
        if (windows.size() > 1)
            caption += QStringLiteral(":%1").arg(i + 1);
        windows[i]->setWindowTitle(caption);
    }
}

void CVARN_Doc::ActivateFirstFrame() {
    const QList<QMdiSubWindow*> frames = Frames();
    if (frames.isEmpty())
        return;
    QMdiSubWindow* frame = frames.front();
    if (QMdiArea* area = frame->mdiArea())
        area->setActiveSubWindow(frame);
    frame->show();
    frame->raise();
}

void CVARN_Doc::UpdateAllViews(CVARN_View* sender, int hint, CVARN_CharEquip* object) {
    // Copy first: a page may open or close windows while it reacts.
    for (QWidget* view : Views()) {
        if (auto* characterView = qobject_cast<CVARN_View*>(view))
            characterView->OnUpdate(sender, hint, object);
    }
}

void CVARN_Doc::OnCharacterChange(int hint, CVARN_CharEquip* piece) {
    UpdateAllViews(nullptr, hint, piece);
}

QMdiSubWindow* CVARN_Doc::FrameOf(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(const_cast<QWidget*>(w)))
            return frame;
    }
    return nullptr;
}
