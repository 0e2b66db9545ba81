#pragma once

#include <QMdiSubWindow>

class CharacterDocument;
class QtPrompt;
class CharacterView;

// A character window: a sub-window of the main window holding one character view. It opens at
// the sheet's size, the same for every character window of a run, or at the largest size the
// main window's area (or the screen) holds when that one is too large; its pages then scroll.
// The user can resize and maximise it; that changes this window only. No minimise box.
class CharacterWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    // Set by a document that closes all its windows: the window then closes unasked.
    static constexpr const char* ForceCloseProperty = "varnForceClose";

    explicit CharacterWindow(QtPrompt& prompt, QWidget* parent = nullptr);

    CharacterView* view() const;
    CharacterDocument* document() const;

    // Gives the window the size of this run's character windows, once it is known, cut down to
    // the room there is.
    void applySizeForRun();
    // `wanted` cut down to the room of the window's area when that is on screen, and always
    // to the screen's available area.
    QSize fitToRoom(QSize wanted) const;
    // Takes the window size for a bound sheet, and remembers it for the rest of the run.
    void fitToSheet();
    // Forgets this run's window size (for tests that build windows of other pages).
    static void forgetSizeForRun();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QtPrompt& m_prompt;
};
