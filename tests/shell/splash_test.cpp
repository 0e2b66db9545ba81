#include "shell/DocFixture.h"
#include "shell/SplashWindow.h"

#include <memory>

namespace {

// Each test starts with no splash and the real time-out.
struct SplashTest : ::testing::Test {
    void SetUp() override { SplashWindow::enableSplashScreen(true); }
    void TearDown() override {
        SplashWindow::hideSplashScreen();
        SplashWindow::setTimeout(SplashWindow::DefaultTimeoutMs);
        SplashWindow::enableSplashScreen(false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace

TEST_F(SplashTest, ShowsOnlyWhenEnabledOnlyOnceAndGoesAwayByItselfWithItsParentAndOnAnyInput) {
    SplashWindow::enableSplashScreen(false);
    SplashWindow::showSplashScreen(nullptr);
    EXPECT_FALSE(SplashWindow::isSplashShown());

    SplashWindow::enableSplashScreen(true);
    SplashWindow::showSplashScreen(nullptr);
    ASSERT_TRUE(SplashWindow::isSplashShown());
    SplashWindow* first = SplashWindow::current();
    EXPECT_EQ(first->size(), QSize(400, 200));
    EXPECT_TRUE(first->windowFlags() & Qt::FramelessWindowHint);
    SplashWindow::showSplashScreen(nullptr);
    EXPECT_EQ(SplashWindow::current(), first);
    SplashWindow::hideSplashScreen();
    varn_test::FlushDeletes();

    // The time-out may already run out while the window is shown on a loaded machine; that
    // must neither crash nor leave the splash up.
    SplashWindow::setTimeout(1);
    SplashWindow::showSplashScreen(nullptr);
    EXPECT_TRUE(QTest::qWaitFor([] { return !SplashWindow::isSplashShown(); }, 5000));

    // A parent window closing first must not leave a dangling splash behind.
    SplashWindow::setTimeout(SplashWindow::DefaultTimeoutMs);
    auto parent = std::make_unique<QMainWindow>();
    SplashWindow::showSplashScreen(parent.get());
    ASSERT_TRUE(SplashWindow::isSplashShown());
    parent.reset();
    EXPECT_FALSE(SplashWindow::isSplashShown());
    SplashWindow::showSplashScreen(nullptr);
    EXPECT_TRUE(SplashWindow::isSplashShown());
    QLineEdit edit; // and the input watch still works for the next splash
    QTest::keyClick(&edit, Qt::Key_A);
    EXPECT_FALSE(SplashWindow::isSplashShown());

    // Any key or button hides it and still reaches its widget.
    QPushButton button("Go");
    edit.show();
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    QSignalSpy clicked(&button, &QPushButton::clicked);

    SplashWindow::showSplashScreen(nullptr);
    QTest::keyClick(&edit, Qt::Key_Q);
    EXPECT_FALSE(SplashWindow::isSplashShown());
    EXPECT_EQ(edit.text(), "aq"); // both keys reached the field
    SplashWindow::showSplashScreen(nullptr);
    QTest::keyClick(&edit, Qt::Key_F, Qt::AltModifier);
    EXPECT_FALSE(SplashWindow::isSplashShown());

    SplashWindow::showSplashScreen(nullptr);
    QTest::mouseMove(&button, button.rect().center());
    EXPECT_TRUE(SplashWindow::isSplashShown()); // moving is not pressing
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_FALSE(SplashWindow::isSplashShown());
    EXPECT_EQ(clicked.count(), 1);
    SplashWindow::showSplashScreen(nullptr);
    QTest::mouseClick(&button, Qt::RightButton);
    EXPECT_FALSE(SplashWindow::isSplashShown());

    // A click on the splash itself hides it; the window goes once the event is done.
    SplashWindow::showSplashScreen(nullptr);
    QPointer<SplashWindow> splash = SplashWindow::current();
    QTest::mouseClick(splash.data(), Qt::LeftButton);
    EXPECT_FALSE(SplashWindow::isSplashShown());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
}
