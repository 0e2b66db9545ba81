#include "shell/Doc.h"

#include "character/CharacterFile.h"
#include "character/CharacterJson.h"
#include "editor/CharacterSheet.h"
#include "rules/RulesDatabase.h"
#include "shell/ChildFrame.h"
#include "shell/DocManager.h"
#include "shell/MultiDocTemplate.h"
#include "shell/QtPrompt.h"
#include "shell/View.h"
#include "widgets/QtText.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextEdit>
#include <QUndoStack>

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

bool IsUndoKey(const QKeyEvent* key) {
    const QKeyCombination combination = key->keyCombination();
    return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
           combination == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z) ||
           combination == QKeyCombination(Qt::CTRL, Qt::Key_Y);
}

// Counts the user's gestures for the whole program, so that the document can tell one
// field visit or one hold of an arrow from the next: a new focus, a new mouse press and a
// new (not repeated) key each end a gesture. It also hands the undo keys of text fields in
// character windows to the document: a field's own undo would change the text behind the
// character's back.
class GestureTracker : public QObject {
public:
    static GestureTracker& Instance() {
        // One per application object; it goes with the application.
        static QPointer<GestureTracker> tracker;
        if (tracker.isNull()) {
            tracker = new GestureTracker(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(tracker);
        }
        return *tracker;
    }

    quint64 focus = 0;
    quint64 press = 0;
    quint64 key = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::FocusIn:
            ++focus;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            ++press;
            break;
        case QEvent::KeyPress:
            if (!static_cast<QKeyEvent*>(event)->isAutoRepeat())
                ++key;
            break;
        case QEvent::ShortcutOverride:
            if (IsUndoKey(static_cast<QKeyEvent*>(event)) && InCharacterView(watched)) {
                event->ignore();
                return true;
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    using QObject::QObject;

    static bool InCharacterView(QObject* object) {
        for (auto* w = qobject_cast<QWidget*>(object); w != nullptr; w = w->parentWidget()) {
            if (qobject_cast<CVARN_View*>(w) != nullptr)
                return true;
        }
        return false;
    }
};

enum class SourceKind { Other, Text, Spin };

// What kind of control a change came from: text fields merge a whole visit, spin boxes one
// hold of an arrow or a key.
SourceKind KindOf(QWidget* source, QWidget** control) {
    for (QWidget* w = source; w != nullptr; w = w->parentWidget()) {
        if (qobject_cast<QAbstractSpinBox*>(w) != nullptr) {
            *control = w;
            return SourceKind::Spin;
        }
    }
    if (qobject_cast<QLineEdit*>(source) != nullptr ||
        qobject_cast<QPlainTextEdit*>(source) != nullptr ||
        qobject_cast<QTextEdit*>(source) != nullptr) {
        *control = source;
        return SourceKind::Text;
    }
    *control = nullptr;
    return SourceKind::Other;
}

// Passes the reading's messages and questions on, and counts the replacements the user chose
// for unknown equipment: the character then differs from its file.
class ReplacementCount : public CVARN_UserPrompt {
public:
    explicit ReplacementCount(CVARN_UserPrompt& user) : user(user) {}
    void ShowMessage(const std::string& text) override { user.ShowMessage(text); }
    bool AskOkCancel(const std::string& text) override { return user.AskOkCancel(text); }
    const CVARN_Item* SelectReplacementItem(const CVARN_CharEquip& piece) override {
        const CVARN_Item* item = user.SelectReplacementItem(piece);
        chosen += item != nullptr ? 1 : 0;
        return item;
    }
    bool TakesEveryMessage() const override { return user.TakesEveryMessage(); }

    int chosen = 0;

private:
    CVARN_UserPrompt& user;
};

quint64 GestureOf(SourceKind kind) {
    const GestureTracker& g = GestureTracker::Instance();
    // Mixed into one number; only equality matters.
    if (kind == SourceKind::Text)
        return g.focus;
    return (g.focus * 1000003u) ^ (g.press * 7919u) ^ (g.key * 104729u) ^ 1u;
}
} // namespace

// One step of the history: the character before and after one user change.
class CVARN_CharacterStep : public QUndoCommand {
public:
    CVARN_CharacterStep(CVARN_Doc& doc, CVARN_CharacterSnapshot::Ptr before,
                        CVARN_CharacterSnapshot::Ptr after, QWidget* source, quint64 gesture,
                        bool mergeable, int page)
        : m_doc(doc), m_before(std::move(before)), m_after(std::move(after)), m_source(source),
          m_gesture(gesture), m_mergeable(mergeable), m_page(page) {
        Name();
    }

    int id() const override { return m_mergeable ? 1 : -1; }

    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const CVARN_CharacterStep*>(other);
        if (m_source.isNull() || next->m_source != m_source || next->m_gesture != m_gesture)
            return false;
        m_after = next->m_after;
        Name();
        // Typed and then deleted again: nothing is left to undo.
        if (*m_before == *m_after)
            setObsolete(true);
        return true;
    }

    void redo() override {
        // The change was made before the step was recorded.
        if (m_fresh) {
            m_fresh = false;
            return;
        }
        m_doc.RestoreState(m_after, m_page);
    }

    void undo() override { m_doc.RestoreState(m_before, m_page); }

    size_t MemoryBytes() const { return m_before->MemoryBytes() + m_after->MemoryBytes(); }

private:
    void Name() {
        setText(
            QString::fromStdString(CVARN_CharacterSnapshot::DescribeChange(*m_before, *m_after)));
    }

    CVARN_Doc& m_doc;
    CVARN_CharacterSnapshot::Ptr m_before;
    CVARN_CharacterSnapshot::Ptr m_after;
    QPointer<QWidget> m_source;
    quint64 m_gesture;
    bool m_mergeable;
    int m_page; // the page the change was made on, -1 when none is known
    bool m_fresh = true;
};

CVARN_Doc::CVARN_Doc(const RulesDatabase& rules, CMyMultiDocTemplate& docTemplate)
    : QObject(&docTemplate), m_template(docTemplate), character(rules),
      m_undo(new QUndoStack(this)) {
    character.document = this;
    m_undo->setUndoLimit(UndoLimit);
    character.RefreshSteps();
    m_state = CVARN_CharacterSnapshot::Take(character, nullptr);
    if (QCoreApplication::instance() != nullptr)
        GestureTracker::Instance();
    // Undoing back to the saved state, or redoing to it, shows the character unmodified.
    connect(m_undo, &QUndoStack::indexChanged, this, [this] { SetModified(!m_undo->isClean()); });
    connect(m_undo, &QUndoStack::cleanChanged, this, [this] { SetModified(!m_undo->isClean()); });
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
    ResetHistory();
    return true;
}

bool CVARN_Doc::OpenDocument(const QString& path) {
    if (IsJsonPath(PathToCore(path)))
        return ImportJson(path);
    ReplacementCount prompt(Manager().Prompt());
    const CVARN_FileFailure failure = LoadCharacterFile(character, PathToCore(path), prompt);
    if (failure != CVARN_FileFailure::None) {
        Manager().Prompt().Warn(FromCore(FileFailureText(failure, PathToCore(path))));
        return false;
    }
    // A replacement the user chose is a change to the file: saving keeps it, closing asks.
    m_changedOnOpen = prompt.chosen > 0;
    ResetHistory();
    SetModified(m_changedOnOpen);
    return true;
}

bool CVARN_Doc::ImportJson(const QString& path) {
    std::string text;
    if (const std::string problem = ReadJsonDocument(PathToCore(path), text); !problem.empty()) {
        Manager().Prompt().Warn(FromCore(problem));
        return false;
    }
    const CVARN_JsonImport result = CharacterFromJson(character, text);
    if (!result.ok) {
        Manager().Prompt().Warn(FromCore(result.error));
        return false;
    }
    if (!result.warnings.empty()) {
        std::string all;
        for (const std::string& w : result.warnings)
            all += w + "\n";
        all.pop_back();
        Manager().Prompt().Inform(FromCore(all));
    }
    SetModified(false);
    return true;
}

bool CVARN_Doc::SaveDocument(const QString& path) {
    RecordPendingStep();
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
    if (wroteCharacterFile) {
        m_undo->setClean();
        SetModified(false);
    }
    return true;
}

void CVARN_Doc::SetDocumentPath(const QString& path, bool addToRecent) {
    const QFileInfo info(path);
    m_path = info.absoluteFilePath();
    if (IsCharacterFilePath(PathToCore(m_path))) {
        m_characterPath = m_path;
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
    for (QMdiSubWindow* frame : Frames())
        frame->setWindowModified(modified);
    emit ModifiedChanged(modified);
}

void CVARN_Doc::SetModifiedFlag() {
    // A page redrawing the restored character must not mark it: the history says whether
    // it differs from the file.
    if (m_restoring)
        return;
    NoteChange();
    SetModified(true);
    emit CharacterChanged();
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
        return SaveCharacterForClose();
    }
    return false;
}

bool CVARN_Doc::SaveCharacterForClose() {
    // After a text export the path names the sheet, which cannot be read back: the
    // character goes to the character file the title names.
    const QString target = IsCharacterFilePath(PathToCore(m_path)) ? m_path : m_characterPath;
    if (!target.isEmpty()) {
        const QFileInfo info(target);
        if (info.exists() && info.isWritable()) {
            if (!SaveDocument(target))
                return false;
            SetDocumentPath(target, true);
            return true;
        }
    }
    // Nowhere to write it yet: ask, as Save As does, offering a character file name.
    const QString exported = m_path;
    if (!target.isEmpty())
        m_path = target;
    else if (!m_path.isEmpty())
        m_path = QFileInfo(m_path).dir().filePath(QFileInfo(m_path).completeBaseName() +
                                                  m_template.Strings().filterExt);
    const bool saved = DoSaveAs();
    if (!saved)
        m_path = exported;
    // Only a character file holds the work; another text export does not.
    return saved && !m_modified;
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
        // The platform's modified mark stands in for "[*]".
        caption.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
        windows[i]->setWindowTitle(caption + QStringLiteral("[*]"));
        windows[i]->setWindowModified(m_modified);
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

void CVARN_Doc::OnCharacterChange(int hint, CVARN_CharEquip* piece) {
    NoteChange();
    emit CharacterUpdated(hint, piece);
    emit CharacterChanged();
}

// --- undo

void CVARN_Doc::ResetHistory() {
    const bool modified = m_modified;
    m_stepPending = false;
    m_undo->clear();
    // No state in the history is the file's own then: undo never reaches an unmodified one.
    if (m_changedOnOpen)
        m_undo->resetClean();
    character.RefreshSteps();
    m_state = CVARN_CharacterSnapshot::Take(character, nullptr);
    SetModified(modified);
    m_stepPending = false;
}

void CVARN_Doc::NoteChange() {
    if (m_restoring || m_closing || m_stepPending)
        return;
    m_stepPending = true;
    QWidget* control = nullptr;
    const SourceKind kind = KindOf(QApplication::focusWidget(), &control);
    m_stepSource = control;
    m_stepMergeable = kind != SourceKind::Other;
    m_stepGesture = m_stepMergeable ? GestureOf(kind) : 0;
    m_stepPage = PageOfChange();
    // Everything the event that caused the change does belongs to the same step.
    QMetaObject::invokeMethod(this, &CVARN_Doc::RecordPendingStep, Qt::QueuedConnection);
}

void CVARN_Doc::RecordPendingStep() {
    if (!m_stepPending || m_restoring)
        return;
    m_stepPending = false;
    character.RefreshSteps();
    CVARN_CharacterSnapshot::Ptr now = CVARN_CharacterSnapshot::Take(character, m_state.get());
    if (*now == *m_state)
        return; // marked, but nothing changed
    auto* step = new CVARN_CharacterStep(*this, m_state, now, m_stepSource.data(), m_stepGesture,
                                         m_stepMergeable, m_stepPage);
    m_state = std::move(now);
    m_undo->push(step);
}

void CVARN_Doc::Undo() {
    RecordPendingStep();
    m_undo->undo();
}

void CVARN_Doc::Redo() {
    RecordPendingStep();
    m_undo->redo();
}

void CVARN_Doc::RestoreState(const CVARN_CharacterSnapshot::Ptr& state, int page) {
    m_restoring = true;
    // The pages may still hold what they remembered of the old records while they redraw.
    CVARN_RetiredRecords retired;
    state->RestoreInto(character, &retired);
    m_state = state;
    m_stepPending = false;
    emit CharacterRestored();
    m_restoring = false;
    // The user sees what undo or redo changed: the page of the change comes to the front.
    if (CVARN_View* view = ShownView(); view != nullptr && page >= 0)
        view->Sheet()->SetActivePage(page);
    emit CharacterChanged();
}

CVARN_View* CVARN_Doc::ShownView() const {
    CVARN_View* first = nullptr;
    for (QWidget* widget : Views()) {
        auto* view = qobject_cast<CVARN_View*>(widget);
        if (view == nullptr)
            continue;
        QMdiSubWindow* frame = FrameOf(view);
        if (frame != nullptr && frame->mdiArea() != nullptr &&
            frame->mdiArea()->currentSubWindow() == frame)
            return view;
        if (first == nullptr)
            first = view;
    }
    return first;
}

int CVARN_Doc::PageOfChange() const {
    // The view the user works in: the one with the focus, else the one in front.
    for (QWidget* widget : Views()) {
        auto* view = qobject_cast<CVARN_View*>(widget);
        QWidget* focus = QApplication::focusWidget();
        if (view != nullptr && focus != nullptr && view->isAncestorOf(focus))
            return view->Sheet()->GetActivePageIndex();
    }
    CVARN_View* view = ShownView();
    return view != nullptr ? view->Sheet()->GetActivePageIndex() : -1;
}

QMdiSubWindow* CVARN_Doc::FrameOf(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(const_cast<QWidget*>(w)))
            return frame;
    }
    return nullptr;
}
