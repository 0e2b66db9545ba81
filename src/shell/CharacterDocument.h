#pragma once

#include "character/ChangeHint.h"
#include "character/Character.h"
#include "character/CharacterSnapshot.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QMdiSubWindow;
class QUndoStack;
class QWidget;
class DocumentManager;
class CharacterView;

// One open character. The document owns the character, is its observer (every change hint
// goes on to the views, every change of stored data marks the document modified), and
// carries the path, title and modified mark that the file commands work with.
//
// The document keeps the character's undo history. The pages change the character as
// before; the document sees the changes arrive (hints and the modified mark) and, once the
// event that caused them is handled, records them as one step: the state before and the
// state after. Changes typed into one text field during one visit, or made by one hold of a
// spin box arrow, merge into one step. The modified mark follows the history's clean state.
//
// Views register themselves with addView when they are created and removeView when they
// go; a document whose last window closes closes itself and is deleted (later, from the
// event loop, so that callers up the stack stay valid).
class CharacterDocument : public QObject, public CVARN_CharacterObserver {
    Q_OBJECT
public:
    // The document belongs to `manager` until it closes.
    explicit CharacterDocument(DocumentManager& manager);
    ~CharacterDocument() override;

    CVARN_Character& character() { return m_character; }
    const CVARN_Character& character() const { return m_character; }
    DocumentManager& manager() const { return m_manager; }

    // --- file operations
    // Empty path, not modified, then the first race of the race table. Always succeeds.
    bool newDocument();
    // Reads a character file; a failure has been reported when it returns false, and the
    // character is then half-filled: the document must be discarded.
    bool openDocument(const QString& path);
    // Open of a .json file: the character is built from the document through its own
    // operations; a bad document is reported with the JSON path of what is wrong.
    bool importJson(const QString& path);
    // Writes a character file for a ".vrn" path (any case) and clears the modified mark;
    // any other path gets the text sheet and the mark stays. Failures are reported.
    bool saveDocument(const QString& path);
    // Stores the path (made absolute). A ".vrn" path also becomes the title and, if asked,
    // goes to the recent-file list.
    void setFilePath(const QString& path, bool addToRecent);

    const QString& filePath() const { return m_path; }
    const QString& title() const { return m_title; }
    void setTitle(const QString& title);
    bool isModified() const { return m_modified; }
    // Opening changed the character (the user chose replacements for unknown equipment).
    bool changedOnOpen() const { return m_changedOnOpen; }
    void setModified(bool modified);

    // --- commands
    // Save: to the document's own file when it has one that can be written, else Save As.
    bool save();
    // Save As: asks for a name (proposing the path or the title), then saves.
    bool saveAs();
    // Asks "Save changes to ...?" for a modified document; false when the user cancelled
    // or the character did not end up in a character file, so the document must stay open.
    bool maybeSave();
    // Closes every window of the document, the print window too, without asking.
    void close();
    // A window of this document asks to close: only its last window asks to save.
    bool canCloseWindow(QMdiSubWindow* frame);
    // A window of this document has closed: its views go; without views the document closes.
    void windowClosed(QMdiSubWindow* frame);
    bool isClosing() const { return m_closing; }

    // --- printing
    bool isPrinting() const { return m_printing; }
    // Set by the print window for as long as its options pane lives.
    void setPrinting(bool on);
    // The Print command: opens the print window unless one is open already.
    void startPrinting();

    // --- views
    void addView(QWidget* view);
    void removeView(QWidget* view);
    QList<QWidget*> views() const;
    // The windows that show this document, in the order their views were added.
    QList<QMdiSubWindow*> windows() const;
    // Renumbers the character windows' captions: "VARN1", or "VARN1:1", "VARN1:2".
    void updateWindowTitles();
    // Brings the document's first window to the front.
    void activateFirstWindow();

    // --- undo
    QUndoStack& undoStack() const { return *m_undo; }
    // Records the changes made since the last step as a step of their own, now rather than
    // once the current event is handled.
    void recordPendingStep();
    void undo();
    void redo();
    // Forgets the history: the character as it is now is where it starts (a document
    // fresh from New or Open, once its window has drawn it).
    void resetHistory();
    // The largest number of steps kept.
    static constexpr int UndoLimit = 1000;

    // CVARN_CharacterObserver
    void OnCharacterChange(int hint, CVARN_CharEquip* piece) override;
    void SetModifiedFlag() override;

    // The window that holds `widget`, or nullptr.
    static QMdiSubWindow* windowOf(const QWidget* widget);

signals:
    void titleChanged();
    // One change of the character, for the views to pass on to their pages; `piece` is the
    // piece of equipment of the equipment hints.
    void characterUpdated(int hint, CVARN_CharEquip* piece);
    // The character was put back to another state as a whole (undo, redo): every page
    // redraws from it.
    void characterRestored();
    // The character changed (by the user, or by undo and redo).
    void characterChanged();
    void modifiedChanged(bool modified);
    void printingChanged(bool m_printing);

private:
    DocumentManager& m_manager;
    // Members of the document proper: the character, then the printing mark.
    CVARN_Character m_character;
    bool m_printing = false;

    QString m_path;
    QString m_title;
    bool m_modified = false;
    bool m_closing = false;
    bool m_changedOnOpen = false;
    QList<QPointer<QWidget>> m_views;

    // --- undo
    friend class CharacterStep;
    // A change arrived: a step is open until recordPendingStep.
    void noteChange();
    // Puts the character in `state` (a step's before or after) and redraws.
    // `page` is the page of the change, brought to the front (-1: none).
    void restoreState(const CVARN_CharacterSnapshot::Ptr& state, int page);
    // The character view the user sees: the one in the current window, else the first.
    CharacterView* shownView() const;
    // The page the user is changing the character on, -1 when there is no such view.
    int pageOfChange() const;
    // Save for closing: the character ends in a character file, or false.
    bool saveCharacterForClose();

    QUndoStack* m_undo;
    // The character as the history last recorded it.
    CVARN_CharacterSnapshot::Ptr m_state;
    bool m_stepPending = false;
    bool m_restoring = false;
    // Where the open step came from, for merging typed text and held arrows.
    QPointer<QWidget> m_stepSource;
    quint64 m_stepGesture = 0;
    bool m_stepMergeable = false;
    int m_stepPage = -1;
    // The character file the title names (absolute), empty while there is none.
    QString m_characterPath;
};
