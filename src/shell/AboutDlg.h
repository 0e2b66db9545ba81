#pragma once

#include <QDialog>
#include <QUrl>

class QLabel;
class QPushButton;
class CMyTabCtrl;

// The About box: version, a mail link to the author and two tabbed pages, a legal notice and
// usage tips.
class CVARN_AboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CVARN_AboutDlg(QWidget* parent = nullptr);

    static QString VersionText();
    static QString MailAddress();

    CMyTabCtrl* TabControl() const { return m_tabs; }
    QPushButton* MailButton() const { return m_mail; }
    QWidget* LegalPage() const { return m_legal; }
    QWidget* TipsPage() const { return m_tips; }
    QWidget* CurrentPage() const { return m_current; }

    // Shows the page of tab `index` (0 legal notice, 1 tips); other indexes change nothing.
    void ShowPage(int index);
    // Opens the mail link; on failure tells the user. Returns whether the link was opened.
    bool SendMail();

protected:
    // How the mail link is opened; tests replace it.
    virtual bool OpenUrl(const QUrl& url);

private:
    QWidget* m_legal = nullptr;
    QWidget* m_tips = nullptr;
    CMyTabCtrl* m_tabs = nullptr;
    QWidget* m_current = nullptr;
    QPushButton* m_mail = nullptr;
};
