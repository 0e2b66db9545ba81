#include "shell/DocFixture.h"
#include "widgets/MyPropertySheet.h"
#include "widgets/MyTabCtrl.h"
#include "widgets/QtText.h"

TEST(Controls, TabsAreEqualTakeTheirColourFromThePaletteAndStackedStayInView) {
    CMyPropertySheet sheet;
    for (const char* caption : {"A", "Equipment", "Grimoire"})
        sheet.AddPage(new QLabel(caption), caption);
    CMyTabCtrl* tabs = sheet.GetTabControl();
    // A dark theme: the captions must be drawn in its button text, not in a fixed dark grey.
    QPalette dark = sheet.palette();
    dark.setColor(QPalette::Button, QColor(40, 40, 40));
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    dark.setColor(QPalette::ButtonText, QColor(255, 200, 0));
    sheet.setPalette(dark);
    sheet.resize(600, 300);
    sheet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    const QImage strip = tabs->grab().toImage();
    auto amber = [](const QColor& c) { return c.red() > 200 && c.green() > 150 && c.blue() < 60; };
    EXPECT_GT(varn_test::CountPixels(strip, strip.rect(), amber), 20);
    EXPECT_EQ(tabs->tabRect(0).size(), tabs->tabRect(1).size());
    EXPECT_EQ(tabs->tabRect(1).size(), tabs->tabRect(2).size());
    const int fullWidth = tabs->tabRect(0).width();

    sheet.EnableStackedTabs(true);
    sheet.resize(fullWidth * 3 - 40, 200);
    QCoreApplication::processEvents();
    // Every tab still lies inside the strip, and they shrank together.
    for (int i = 0; i < tabs->count(); ++i)
        EXPECT_LE(tabs->tabRect(i).right(), tabs->width()) << i;
    EXPECT_LT(tabs->tabRect(0).width(), fullWidth);
    EXPECT_NEAR(tabs->tabRect(0).width(), tabs->tabRect(2).width(), 1);
}

TEST(Controls, CoreTextIsUtf8WithLatin1ForStrayBytes) {
    const QString epee = QString::fromUtf8("Épée");
    EXPECT_EQ(FromCore("\xC3\x89p\xC3\xA9\x65"), epee);
    EXPECT_EQ(FromCore("\xC9p\xE9\x65"), epee); // an old 8-bit file
    EXPECT_EQ(ToCore(epee), "\xC3\x89p\xC3\xA9\x65");
    EXPECT_EQ(FromCore("caf\xE9 \xC3\xA9t\xC3\xA9 \xC2\xA9"), QString::fromUtf8("café été ©"));
    // Malformed sequences fall back byte by byte: overlong, surrogate, cut short at the end.
    EXPECT_EQ(FromCore("\xC0\xAF"), QString::fromUtf8("À¯"));
    EXPECT_EQ(FromCore("\xED\xA0\x80").size(), 3);
    EXPECT_EQ(FromCore("ab\xE2\x82"), QString("ab") + QChar(0xE2) + QChar(0x82));
    EXPECT_EQ(FromCore(std::string("a\0b", 3)).size(), 3);
    // Every byte after the first must continue the sequence, or each byte stands for itself.
    for (const char* cut : {"\xE2\x82\x41", "\xF0\x9D\x41\x99", "\xF0\x9D\x94\x41"}) {
        QString bytes;
        for (const char* b = cut; *b != 0; ++b)
            bytes += QChar(static_cast<unsigned char>(*b));
        EXPECT_EQ(FromCore(cut), bytes) << cut;
    }
    const std::string fourBytes = "\xF0\x9D\x94\x99"; // outside the 16-bit plane
    EXPECT_EQ(ToCore(FromCore(fourBytes)), fourBytes);
}
