#include "shell/AboutDialog.h"
#include "shell/DocFixture.h"
#include "widgets/MyTabCtrl.h"

using varn_test::ReadAll;

namespace {
struct FakeMailDlg : AboutDialog {
    bool succeed = false;
    QList<QUrl> opened;
    bool openUrl(const QUrl& url) override {
        opened << url;
        return succeed;
    }
};
} // namespace

TEST(About, ShowsItsTextsOneOfTwoPagesAndOpensAMailLink) {
    FakeMailDlg dlg;
    auto* version = dlg.findChild<QLabel*>("versionText");
    ASSERT_NE(version, nullptr);
    CMyTabCtrl* tabs = dlg.tabControl();
    ASSERT_EQ(tabs->count(), 2);
    const QStringList texts{dlg.windowTitle(), version->text(), dlg.mailButton()->text(),
                            tabs->tabText(0), tabs->tabText(1)};
    EXPECT_EQ(texts.join('\n') + '\n',
              QString::fromUtf8(ReadAll(VARN_TEST_DATA_DIR "ui/about.txt")));
    // Exactly one page shows, the one of the current tab.
    auto showing = [&dlg](QWidget* page) {
        QWidget* other = page == dlg.legalPage() ? dlg.tipsPage() : dlg.legalPage();
        return dlg.currentPage() == page && !page->isHidden() && other->isHidden();
    };
    EXPECT_TRUE(showing(dlg.legalPage()));
    tabs->setCurrentIndex(1);
    EXPECT_TRUE(showing(dlg.tipsPage()));
    auto* picture = dlg.findChild<QLabel*>("tipsPicture");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(94, 197));
    dlg.showPage(1); // the page already shown
    dlg.showPage(5); // no such page
    EXPECT_TRUE(showing(dlg.tipsPage()));

    // The mail button opens a mail link, or says it cannot.
    dlg.succeed = true;
    dlg.mailButton()->click();
    EXPECT_EQ(dlg.opened, QList<QUrl>{QUrl("mailto:varn@example.org")});

    dlg.succeed = false;
    QString message;
    QTimer::singleShot(0, [&message] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->accept();
        }
    });
    EXPECT_FALSE(dlg.sendMail());
    EXPECT_EQ(message, "Can not send email !");
}
