#include "ui/AboutDlg.h"
#include "ui/MyTabCtrl.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class FakeMailDlg : public CVARN_AboutDlg {
public:
    bool succeed = false;
    QList<QUrl> opened;

protected:
    bool OpenUrl(const QUrl& url) override {
        opened << url;
        return succeed;
    }
};

// Closes the next message box and gives back its text.
QString CloseNextMessageBox(QString* text) {
    QTimer::singleShot(0, [text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *text = box->text();
            box->accept();
        }
    });
    return {};
}

} // namespace

TEST(About, ShowsVersionAndOneOfTwoPages) {
    CVARN_AboutDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "About VARN");
    EXPECT_EQ(dlg.GetVersionText(), "Mistreach Character Generator, Version 1.3e");
    auto* version = dlg.findChild<QLabel*>("versionText");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), dlg.GetVersionText());
    EXPECT_EQ(dlg.MailButton()->text(), "Mail To : varn@example.org");

    CMyTabCtrl* tabs = dlg.TabControl();
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), "Legal Stuff");
    EXPECT_EQ(tabs->tabText(1), "Tips");

    EXPECT_EQ(dlg.CurrentPage(), dlg.LegalPage());
    EXPECT_FALSE(dlg.LegalPage()->isHidden());
    EXPECT_TRUE(dlg.TipsPage()->isHidden());

    tabs->setCurrentIndex(1);
    EXPECT_EQ(dlg.CurrentPage(), dlg.TipsPage());
    EXPECT_TRUE(dlg.LegalPage()->isHidden());
    EXPECT_FALSE(dlg.TipsPage()->isHidden());
    auto* picture = dlg.findChild<QLabel*>("tipsPicture");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(94, 197));

    dlg.ShowPage(1); // the page already shown
    dlg.ShowPage(5); // no such page
    EXPECT_EQ(dlg.CurrentPage(), dlg.TipsPage());
    EXPECT_FALSE(dlg.TipsPage()->isHidden());

    tabs->setCurrentIndex(0);
    EXPECT_FALSE(dlg.LegalPage()->isHidden());
    EXPECT_TRUE(dlg.TipsPage()->isHidden());
}

TEST(About, MailButtonOpensMailLinkOrSaysItCannot) {
    FakeMailDlg dlg;
    dlg.succeed = true;
    dlg.MailButton()->click();
    ASSERT_EQ(dlg.opened.size(), 1);
    EXPECT_EQ(dlg.opened[0], QUrl("mailto:varn@example.org"));

    dlg.succeed = false;
    QString message;
    CloseNextMessageBox(&message);
    EXPECT_FALSE(dlg.SendMail());
    EXPECT_EQ(message, "Can not send email !");
}
