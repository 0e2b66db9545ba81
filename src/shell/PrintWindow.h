#pragma once

#include "shell/PrintLayout.h"

#include <QMdiSubWindow>
#include <QPointer>

class QMdiArea;
class CMySplitterWnd;
class CharacterDocument;
class PrintOptionsView;
class PrintTextView;
class SheetPreview;
class QPushButton;
class QStackedWidget;
class QTimer;

// The print window of a document: a sub-window of the main window split into the options
// pane on the left and, on the right, the preview of the laid-out character sheet or the
// editable text sheet, as the options pane chooses. The splitter bar cannot be
// dragged; the options pane gets the width its sheet needs whenever the window is resized.
class PrintWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit PrintWindow(CharacterDocument* doc, QWidget* parent = nullptr);
    ~PrintWindow() override;

    // Makes the print window of `doc` inside the document manager's window area and fills
    // both panes; the caller captions it and shows it. This is the document manager's
    // print-window opener.
    static QMdiSubWindow* open(CharacterDocument& doc);

    CharacterDocument* document() const;
    CMySplitterWnd* splitter() const { return m_splitter; }
    PrintOptionsView* optionsView() const { return m_optionsView; }
    PrintTextView* textView() const { return m_textView; }
    SheetPreview* sheetView() const { return m_sheetView; }
    // The right pane shows the sheet the options pane chose: the laid-out one by default.
    QWidget* sheetPane() const;
    // The user edited the text and the character changed since: the text shows an earlier
    // state, which the window says, offering Refresh.
    bool textIsStale() const;
    QPushButton* refreshButton() const { return m_refresh; }

    // The first update of both panes: the options sheet is bound, the text sheet is built.
    void initialUpdate();
    // The "Print" button: prints the chosen sheet, then closes the window, whether it was
    // printed, cancelled or failed.
    PrintResult printAndClose();

    // The pane the commands go to: the one that last had the keyboard focus (the options
    // pane until the user goes to the text).
    QWidget* activePane() const;
    // Page Setup applies while the user is in one of the sheets.
    bool canPageSetup() const;

signals:
    // The focus moved to the other pane: the commands' state may have changed.
    void activePaneChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fitOptionsColumn();
    void showSheet(bool characterSheet);
    // Page Setup in the main window's menu follows the pane the user is in while this
    // window is the current one.
    void watchCommands();
    void updatePageSetup(QMdiSubWindow* current);
    void focusChanged(QWidget* now);
    // The character changed: the preview is made anew, and so is the text unless edited.
    void followCharacter();

    QPointer<CharacterDocument> m_doc;
    bool m_created = false;
    CMySplitterWnd* m_splitter;
    PrintOptionsView* m_optionsView;
    QStackedWidget* m_sheetStack;
    PrintTextView* m_textView;
    SheetPreview* m_sheetView;
    QPointer<QWidget> m_activePane;
    QWidget* m_staleNotice;
    QPushButton* m_refresh;
    QTimer* m_refreshTimer;
};
