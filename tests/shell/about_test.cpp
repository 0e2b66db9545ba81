#include "shell/AboutDlg.h"
#include "shell/DocFixture.h"
#include "widgets/MyTabCtrl.h"

using varn_test::ReadAll;

namespace {
struct FakeMailDlg : CVARN_AboutDlg {
    bool succeed = false;
    QList<QUrl> opened;
    bool OpenUrl(const QUrl& url) override {
        opened << url;
        return succeed;
    }
};
} // namespace

TEST(About, ShowsItsTextsOneOfTwoPagesAndOpensAMailLink) {
    FakeMailDlg dlg;
    auto* version = dlg.findChild<QLabel*>("versionText");
    ASSERT_NE(version, nullptr);
    CMyTabCtrl* tabs = dlg.TabControl();
    ASSERT_EQ(tabs->count(), 2);
    const QStringList texts{dlg.windowTitle(), version->text(), dlg.MailButton()->text(),
                            tabs->tabText(0), tabs->tabText(1)};
    EXPECT_EQ(texts.join('\n') + '\n',
              QString::fromUtf8(ReadAll(VARN_TEST_DATA_DIR "ui/about.txt")));
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

    // The mail button opens a mail link, or says it cannot.
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
