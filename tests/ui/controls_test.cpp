#include "ui/MyPropertySheet.h"
#include "ui/MyTabCtrl.h"
#include "ui/QtText.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QColor ButtonFace(236, 222, 170);

// Top and bottom rows of the pixels of a tab drawn in the caption colour (dark grey on the
// button face; anti-aliasing only makes pixels lighter). {-1, -1} when there are none.
std::pair<int, int> CaptionRows(const QImage& image, const QRect& tab, int* darkest) {
    int top = -1, bottom = -1;
    for (int y = tab.top(); y <= tab.bottom(); ++y) {
        for (int x = tab.left(); x <= tab.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const bool grey =
                std::abs(c.red() - c.green()) < 12 && std::abs(c.green() - c.blue()) < 12;
            if (grey && c.red() < 120) {
                *darkest = std::min(*darkest, c.red());
                if (top < 0)
                    top = y;
                bottom = y;
            }
        }
    }
    return {top, bottom};
}

} // namespace

TEST(Controls, PropertySheetPages) {
    CMyPropertySheet sheet("VARN");
    EXPECT_NE(qobject_cast<CMyTabCtrl*>(sheet.tabBar()), nullptr);
    EXPECT_EQ(sheet.GetTabControl(), sheet.tabBar());
    QSignalSpy activated(&sheet, &CMyPropertySheet::PageActivated);
    auto* a = new QLabel("a");
    auto* b = new QLabel("b");
    EXPECT_EQ(sheet.AddPage(a, "Character"), 0);
    EXPECT_EQ(sheet.AddPage(b, "Attributes"), 1);
    EXPECT_EQ(sheet.AddPage(nullptr, "None"), -1);
    EXPECT_EQ(sheet.GetPageCount(), 2);
    EXPECT_EQ(sheet.GetPage(1), b);
    EXPECT_EQ(sheet.GetPage(2), nullptr);
    EXPECT_EQ(sheet.GetPage(-1), nullptr);
    EXPECT_EQ(sheet.GetPageIndex(b), 1);
    EXPECT_EQ(sheet.GetActivePageIndex(), 0);

    activated.clear();
    sheet.SetActivePage(1);
    EXPECT_EQ(sheet.GetActivePageIndex(), 1);
    EXPECT_EQ(sheet.GetActivePage(), b);
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated[0][0].toInt(), 1);
    sheet.SetActivePage(7);
    sheet.SetActivePage(-1);
    EXPECT_EQ(sheet.GetActivePageIndex(), 1);
    sheet.SetActivePage(a);
    EXPECT_EQ(sheet.GetActivePageIndex(), 0);
    EXPECT_EQ(activated.count(), 2);
}

TEST(Controls, TabsAreEqualAndStackedTabsStayInView) {
    CMyPropertySheet sheet;
    for (const char* caption : {"A", "Equipment", "Grimoire"})
        sheet.AddPage(new QLabel(caption), caption);
    CMyTabCtrl* tabs = sheet.GetTabControl();
    sheet.resize(600, 300);
    sheet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    EXPECT_EQ(tabs->tabRect(0).size(), tabs->tabRect(1).size());
    EXPECT_EQ(tabs->tabRect(1).size(), tabs->tabRect(2).size());
    const int fullWidth = tabs->tabRect(0).width();

    sheet.EnableStackedTabs(true);
    EXPECT_TRUE(sheet.StackedTabsEnabled());
    EXPECT_FALSE(sheet.usesScrollButtons());
    sheet.resize(fullWidth * 3 - 40, 200);
    QCoreApplication::processEvents();
    // Every tab still lies inside the strip, and they shrank together.
    for (int i = 0; i < tabs->count(); ++i)
        EXPECT_LE(tabs->tabRect(i).right(), tabs->width()) << i;
    EXPECT_LT(tabs->tabRect(0).width(), fullWidth);
    EXPECT_NEAR(tabs->tabRect(0).width(), tabs->tabRect(2).width(), 1);
}

TEST(Controls, TabCaptionsDarkGreySelectedCentredOthersAtTheBottom) {
    CMyPropertySheet sheet;
    for (const char* caption : {"Character", "Talents", "Skills"})
        sheet.AddPage(new QLabel(caption), caption);
    CMyTabCtrl* tabs = sheet.GetTabControl();
    QPalette pal = tabs->palette();
    pal.setColor(QPalette::Button, ButtonFace);
    tabs->setPalette(pal);
    QFont font = tabs->font();
    font.setPixelSize(11);
    tabs->setFont(font);
    sheet.resize(400, 200);
    sheet.SetActivePage(1);
    sheet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));

    const QImage image = tabs->grab().toImage();
    for (int i = 0; i < tabs->count(); ++i) {
        const QRect tab = tabs->tabRect(i);
        int darkest = 255;
        const auto [top, bottom] = CaptionRows(image, tab.adjusted(3, 3, -3, -2), &darkest);
        ASSERT_GE(top, 0) << "no caption drawn in tab " << i;
        EXPECT_NEAR(darkest, 50, 12) << i; // RGB(50, 50, 50), not the style's black
        const int middle = (top + bottom) / 2;
        if (i == 1)
            EXPECT_NEAR(middle, tab.center().y(), 3);
        else
            EXPECT_GE(bottom, tab.bottom() - 5) << i;
        // The inside of the tab is the button face.
        const QColor fill = image.pixelColor(tab.left() + 4, tab.bottom() - 3);
        EXPECT_EQ(fill, ButtonFace) << i;
    }
}

TEST(Controls, CoreTextIsUtf8WithLatin1ForStrayBytes) {
    EXPECT_EQ(FromCore("\xC3\x89p\xC3\xA9"
                       "e"),
              QString::fromUtf8("Épée"));
    EXPECT_EQ(FromCore("\xC9p\xE9"
                       "e"),
              QString::fromUtf8("Épée")); // an old 8-bit file
    EXPECT_EQ(FromCore("caf\xE9 \xC3\xA9t\xC3\xA9"), QString::fromUtf8("café été"));
    // Malformed sequences fall back byte by byte: overlong, surrogate, cut short at the end.
    EXPECT_EQ(FromCore("\xC0\xAF"), QString::fromUtf8("À¯"));
    EXPECT_EQ(FromCore("\xED\xA0\x80").size(), 3);
    EXPECT_EQ(FromCore("ab\xE2\x82"), QString("ab") + QChar(0xE2) + QChar(0x82));
    EXPECT_EQ(FromCore(std::string("a\0b", 3)).size(), 3);
    const std::string fourBytes = "\xF0\x9D\x94\x99"; // outside the 16-bit plane
    EXPECT_EQ(ToCore(FromCore(fourBytes)), fourBytes);
    EXPECT_EQ(ToCore(QString::fromUtf8("Épée")), "\xC3\x89p\xC3\xA9"
                                                 "e");
    EXPECT_EQ(FromCore(""), QString());
}
