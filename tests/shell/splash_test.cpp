#include "shell/DocFixture.h"
#include "shell/SplashWnd.h"

#include <memory>

namespace {

// Each test starts with no splash and the real time-out.
struct SplashTest : ::testing::Test {
    void SetUp() override { CVARNWndSplash::EnableSplashScreen(true); }
    void TearDown() override {
        CVARNWndSplash::HideSplashScreen();
        CVARNWndSplash::SetTimeout(CVARNWndSplash::DefaultTimeoutMs);
        CVARNWndSplash::EnableSplashScreen(false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace

TEST_F(SplashTest, ShowsOnlyWhenEnabledOnlyOnceAndGoesAwayByItselfWithItsParentAndOnAnyInput) {
    CVARNWndSplash::EnableSplashScreen(false);
    CVARNWndSplash::ShowSplashScreen(nullptr);
    EXPECT_FALSE(CVARNWndSplash::IsShown());

    CVARNWndSplash::EnableSplashScreen(true);
    CVARNWndSplash::ShowSplashScreen(nullptr);
    ASSERT_TRUE(CVARNWndSplash::IsShown());
    CVARNWndSplash* first = CVARNWndSplash::Current();
    EXPECT_EQ(first->size(), QSize(400, 200));
    EXPECT_TRUE(first->windowFlags() & Qt::FramelessWindowHint);
    CVARNWndSplash::ShowSplashScreen(nullptr);
    EXPECT_EQ(CVARNWndSplash::Current(), first);
    CVARNWndSplash::HideSplashScreen();
    varn_test::FlushDeletes();

    // The time-out may already run out while the window is shown on a loaded machine; that
    // must neither crash nor leave the splash up.
    CVARNWndSplash::SetTimeout(1);
    CVARNWndSplash::ShowSplashScreen(nullptr);
    EXPECT_TRUE(QTest::qWaitFor([] { return !CVARNWndSplash::IsShown(); }, 5000));

    // A parent window closing first must not leave a dangling splash behind.
    CVARNWndSplash::SetTimeout(CVARNWndSplash::DefaultTimeoutMs);
    auto parent = std::make_unique<QMainWindow>();
    CVARNWndSplash::ShowSplashScreen(parent.get());
    ASSERT_TRUE(CVARNWndSplash::IsShown());
    parent.reset();
    EXPECT_FALSE(CVARNWndSplash::IsShown());
    CVARNWndSplash::ShowSplashScreen(nullptr);
    EXPECT_TRUE(CVARNWndSplash::IsShown());
    QLineEdit edit; // and the input watch still works for the next splash
    QTest::keyClick(&edit, Qt::Key_A);
    EXPECT_FALSE(CVARNWndSplash::IsShown());

    // Any key or button hides it and still reaches its widget.
    QPushButton button("Go");
    edit.show();
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    QSignalSpy clicked(&button, &QPushButton::clicked);

    CVARNWndSplash::ShowSplashScreen(nullptr);
    QTest::keyClick(&edit, Qt::Key_Q);
    EXPECT_FALSE(CVARNWndSplash::IsShown());
    EXPECT_EQ(edit.text(), "aq"); // both keys reached the field
    CVARNWndSplash::ShowSplashScreen(nullptr);
    QTest::keyClick(&edit, Qt::Key_F, Qt::AltModifier);
    EXPECT_FALSE(CVARNWndSplash::IsShown());

    CVARNWndSplash::ShowSplashScreen(nullptr);
    QTest::mouseMove(&button, button.rect().center());
    EXPECT_TRUE(CVARNWndSplash::IsShown()); // moving is not pressing
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_FALSE(CVARNWndSplash::IsShown());
    EXPECT_EQ(clicked.count(), 1);
    CVARNWndSplash::ShowSplashScreen(nullptr);
    QTest::mouseClick(&button, Qt::RightButton);
    EXPECT_FALSE(CVARNWndSplash::IsShown());

    // A click on the splash itself hides it; the window goes once the event is done.
    CVARNWndSplash::ShowSplashScreen(nullptr);
    QPointer<CVARNWndSplash> splash = CVARNWndSplash::Current();
    QTest::mouseClick(splash.data(), Qt::LeftButton);
    EXPECT_FALSE(CVARNWndSplash::IsShown());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
}
