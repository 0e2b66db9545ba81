#pragma once

#include <QDialog>
#include <QUrl>

class QLabel;
class QPushButton;
class CMyTabCtrl;

// The About box: version, a mail link to the author and two tabbed pages, a legal notice and
// usage tips.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    static QString versionText();
    static QString mailAddress();

    CMyTabCtrl* tabControl() const { return m_tabs; }
    QPushButton* mailButton() const { return m_mail; }
    QWidget* legalPage() const { return m_legal; }
    QWidget* tipsPage() const { return m_tips; }
    QWidget* currentPage() const { return m_current; }

    // Shows the page of tab `index` (0 legal notice, 1 tips); other indexes change nothing.
    void showPage(int index);
    // Opens the mail link; on failure tells the user. Returns whether the link was opened.
    bool sendMail();

protected:
    // How the mail link is opened; tests replace it.
    virtual bool openUrl(const QUrl& url);

private:
    QWidget* m_legal = nullptr;
    QWidget* m_tips = nullptr;
    CMyTabCtrl* m_tabs = nullptr;
    QWidget* m_current = nullptr;
    QPushButton* m_mail = nullptr;
};
