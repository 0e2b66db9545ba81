#include "ui/AboutDlg.h"
#include "ui/MyTabCtrl.h"
#include "ui/doc_fixture.h"

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
} // namespace

TEST(About, ShowsVersionAndOneOfTwoPages) {
    CVARN_AboutDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "About VARN");
    auto* version = dlg.findChild<QLabel*>("versionText");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "Mistreach Character Generator, Version 1.3e");
    EXPECT_EQ(dlg.MailButton()->text(), "Mail To : varn@example.org");

    CMyTabCtrl* tabs = dlg.TabControl();
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), "Legal Stuff");
    EXPECT_EQ(tabs->tabText(1), "Tips");
    // Exactly one page shows, the one of the current tab.
    auto showing = [&dlg](QWidget* page) {
        QWidget* other = page == dlg.LegalPage() ? dlg.TipsPage() : dlg.LegalPage();
        return dlg.CurrentPage() == page && !page->isHidden() && other->isHidden();
    };
    EXPECT_TRUE(showing(dlg.LegalPage()));
    tabs->setCurrentIndex(1);
    EXPECT_TRUE(showing(dlg.TipsPage()));
    auto* picture = dlg.findChild<QLabel*>("tipsPicture");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(94, 197));
    dlg.ShowPage(1); // the page already shown
    dlg.ShowPage(5); // no such page
    EXPECT_TRUE(showing(dlg.TipsPage()));
}

TEST(About, MailButtonOpensMailLinkOrSaysItCannot) {
    FakeMailDlg dlg;
    dlg.succeed = true;
    dlg.MailButton()->click();
    EXPECT_EQ(dlg.opened, QList<QUrl>{QUrl("mailto:varn@example.org")});

    dlg.succeed = false;
    QString message;
    QTimer::singleShot(0, [&message] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->accept();
        }
    });
    EXPECT_FALSE(dlg.SendMail());
    EXPECT_EQ(message, "Can not send email !");
}
