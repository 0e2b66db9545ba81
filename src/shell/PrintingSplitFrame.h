#pragma once

#include "shell/PrintLayout.h"

#include <QMdiSubWindow>
#include <QPointer>

class QMdiArea;
class CMySplitterWnd;
class CVARN_Doc;
class CVARN_PrintingViewOptions;
class CVARN_PrintingViewText;
class CVARN_SheetPreview;
class QPushButton;
class QStackedWidget;
class QTimer;

// The print window of a document: a sub-window of the main window split into the options
// pane on the left and, on the right, the preview of the laid-out character sheet or the
// editable text sheet, as the options pane chooses. The splitter bar cannot be
// dragged; the options pane gets the width its sheet needs whenever the window is resized.
class CVARN_PrintingSplitFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit CVARN_PrintingSplitFrame(CVARN_Doc* doc, QWidget* parent = nullptr);
    ~CVARN_PrintingSplitFrame() override;

    // Makes the print window of `doc` inside the document manager's window area and fills
    // both panes; the caller captions it and shows it. This is the document manager's
    // print-window opener.
    static QMdiSubWindow* Open(CVARN_Doc& doc);

    CVARN_Doc* Document() const;
    CMySplitterWnd* Splitter() const { return splitter; }
    CVARN_PrintingViewOptions* OptionsView() const { return optionsView; }
    CVARN_PrintingViewText* TextView() const { return textView; }
    CVARN_SheetPreview* SheetView() const { return sheetView; }
    // The right pane shows the sheet the options pane chose: the laid-out one by default.
    QWidget* SheetPane() const;
    // The user edited the text and the character changed since: the text shows an earlier
    // state, which the window says, offering Refresh.
    bool TextIsStale() const;
    QPushButton* RefreshButton() const { return m_refresh; }

    // The first update of both panes: the options sheet is bound, the text sheet is built.
    void OnInitialUpdate();
    // The "Print" button: prints the chosen sheet, then closes the window, whether it was
    // printed, cancelled or failed.
    CVARN_PrintResult PrintAndClose();

    // The pane the commands go to: the one that last had the keyboard focus (the options
    // pane until the user goes to the text).
    QWidget* ActivePane() const;
    // Page Setup applies while the user is in one of the sheets.
    bool CanPageSetup() const;

signals:
    // The focus moved to the other pane: the commands' state may have changed.
    void ActivePaneChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FitOptionsColumn();
    void ShowSheet(bool characterSheet);
    // Page Setup in the main window's menu follows the pane the user is in while this
    // window is the current one.
    void WatchCommands();
    void UpdatePageSetup(QMdiSubWindow* current);
    void OnFocusChanged(QWidget* now);
    // The character changed: the preview is made anew, and so is the text unless edited.
    void FollowCharacter();

    QPointer<CVARN_Doc> m_doc;
    bool created = false;
    CMySplitterWnd* splitter;
    CVARN_PrintingViewOptions* optionsView;
    QStackedWidget* sheetStack;
    CVARN_PrintingViewText* textView;
    CVARN_SheetPreview* sheetView;
    QPointer<QWidget> m_activePane;
    QWidget* m_staleNotice;
    QPushButton* m_refresh;
    QTimer* m_refreshTimer;
};
