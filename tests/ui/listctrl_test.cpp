#include "ui/MyListCtrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QStringList Texts(const CMyListCtrl& list, int col = 0) {
    QStringList texts;
    for (int r = 0; r < list.GetItemCount(); ++r)
        texts << list.GetItemText(r, col);
    return texts;
}

const QColor TextColor(200, 0, 0);
const QColor GreyTextColor(0, 0, 200);

struct TalentList {
    CMyListCtrl list;
    TalentList() {
        list.InsertColumn(0, "Talents", Qt::AlignLeft, 120);
        list.InsertColumn(1, "Rank", Qt::AlignHCenter, 50);
        const char* rows[][2] = {{"Alpha", "2"}, {"beta", "10"}, {"Gamma", "2"}};
        for (int i = 0; i < 3; ++i) {
            const int row = list.InsertItem(i, rows[i][0]);
            list.SetItemText(row, 1, rows[i][1]);
            list.SetItemData(row, 100 + i);
        }
        list.SetRowDimmed(1, true); // "beta"
        QPalette pal = list.palette();
        pal.setColor(QPalette::Text, TextColor);
        pal.setColor(QPalette::Disabled, QPalette::Text, GreyTextColor);
        pal.setColor(QPalette::Base, Qt::white);
        list.setPalette(pal);
        list.resize(300, 200);
    }
    // Each row as "name|rank|data", a dimmed one marked with "~".
    QStringList Rows() const {
        QStringList rows;
        for (int r = 0; r < list.GetItemCount(); ++r)
            rows << QStringLiteral("%1%2|%3|%4")
                        .arg(list.IsRowDimmed(r) ? "~" : "", list.GetItemText(r, 0),
                             list.GetItemText(r, 1))
                        .arg(list.GetItemData(r));
        return rows;
    }
    void ClickHeader(int col, Qt::MouseButton button = Qt::LeftButton) {
        QHeaderView* header = list.header();
        const QPoint pos(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                         header->height() / 2);
        QTest::mouseClick(header->viewport(), button, Qt::NoModifier, pos);
    }
};

// Counts the pixels of a row that are mostly the given primary colour (text is anti-aliased
// against white, so a tinted pixel keeps its strong channel and loses the others).
int TintedPixels(const QImage& image, const QRect& rect, const QColor& tint) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const bool red = c.red() > 120 && c.green() < 90 && c.blue() < 90;
            const bool blue = c.blue() > 120 && c.green() < 90 && c.red() < 90;
            if ((tint == TextColor && red) || (tint == GreyTextColor && blue))
                ++count;
        }
    }
    return count;
}

} // namespace

TEST(ListCtrl, HeaderClicksSortBytewiseAndRowsMoveWhole) {
    TalentList t;
    t.list.SelectRow(1); // "beta"
    QSignalSpy selected(&t.list, &CMyListCtrl::SelectedRowChanged);

    // Numbers sort as text: "10" before "2"; equal texts keep their order either way. Data,
    // dimming and selection go with the rows.
    t.ClickHeader(1);
    EXPECT_EQ(t.Rows(), (QStringList{"~beta|10|101", "Alpha|2|100", "Gamma|2|102"}));
    EXPECT_EQ(t.list.GetSelectedRow(), 0);
    t.ClickHeader(1); // same column: descending
    EXPECT_EQ(t.Rows(), (QStringList{"Alpha|2|100", "Gamma|2|102", "~beta|10|101"}));
    t.ClickHeader(0); // another column: ascending again; capitals before small letters
    EXPECT_EQ(t.Rows(), (QStringList{"Alpha|2|100", "Gamma|2|102", "~beta|10|101"}));
    EXPECT_EQ(t.list.GetSelectedRow(), 2);
    ASSERT_FALSE(selected.isEmpty());
    EXPECT_EQ(selected.last().at(0).toInt(), 2);

    t.ClickHeader(1, Qt::RightButton); // only the left button sorts
    EXPECT_EQ(t.Rows(), (QStringList{"Alpha|2|100", "Gamma|2|102", "~beta|10|101"}));
}

TEST(ListCtrl, SortsByUtf8BytesAndInsertsInOrderWhenAsked) {
    CMyListCtrl list;
    list.InsertColumn(0, "Name");
    for (const char* name : {"Ω", "z", "É", "Z"})
        list.InsertItem(list.GetItemCount(), name);
    EXPECT_FALSE(list.SortByColumnText(1, true)); // no such column
    EXPECT_FALSE(list.SortByColumnText(-1, true));
    EXPECT_EQ(Texts(list), QStringList({"Ω", "z", "É", "Z"}));
    // Bytes of UTF-8, not UTF-16 units or the locale: "É" (C3 89) after "z", "Ω" after "É".
    EXPECT_TRUE(list.SortByColumnText(0, true));
    EXPECT_EQ(Texts(list), QStringList({"Z", "z", "É", "Ω"}));

    CMyListCtrl talents;
    talents.InsertColumn(0, "Talents");
    talents.SetSortOnInsert(true);
    EXPECT_EQ(talents.InsertItem(0, "Mauling"), 0);
    EXPECT_EQ(talents.InsertItem(0, "climbing"), 0);
    EXPECT_EQ(talents.InsertItem(0, "Trail Sense"), 2);
    EXPECT_EQ(talents.InsertItem(99, "Ambush"), 0);
    EXPECT_EQ(talents.InsertItem(-1, "x"), -1);
    EXPECT_EQ(Texts(talents), QStringList({"Ambush", "climbing", "Mauling", "Trail Sense"}));
}

TEST(ListCtrl, DimmedRowsDrawGreyWhereverTheyAreSorted) {
    TalentList t;
    t.list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&t.list));
    t.list.SortByColumnText(1, true);  // "beta" moves from row 1 to row 0...
    t.list.SortByColumnText(0, false); // ...and stays there
    ASSERT_EQ(t.list.GetItemText(0, 0), "beta");
    // Whether a row's text shows in the one colour and not in the other.
    auto drawnIn = [&t](int row, const QColor& colour) {
        const QImage image = t.list.viewport()->grab().toImage();
        const QRect rect = t.list.CellRect(row, 0).united(t.list.CellRect(row, 1));
        const QColor& other = colour == TextColor ? GreyTextColor : TextColor;
        return TintedPixels(image, rect, colour) > 0 && TintedPixels(image, rect, other) == 0;
    };
    EXPECT_TRUE(drawnIn(0, GreyTextColor));
    EXPECT_TRUE(drawnIn(1, TextColor));
    EXPECT_TRUE(drawnIn(2, TextColor));
    // Undimming a row draws it in the normal colour again.
    t.list.SetRowDimmed(0, false);
    EXPECT_TRUE(drawnIn(0, TextColor));
}

TEST(ListCtrl, TitleTipShowsCutOffTextOnly) {
    CMyListCtrl list;
    list.InsertColumn(0, "Talents", Qt::AlignLeft, 70);
    list.InsertColumn(1, "Rank", Qt::AlignHCenter, 60);
    const QString longName = "Open Hand of the Misty Mountains";
    list.InsertItem(0, longName);
    list.SetItemText(0, 1, "3");
    list.InsertItem(1, "Row");
    list.resize(300, 200);
    list.show();
    list.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    QWidget* viewport = list.viewport();
    CTitleTip* tip = list.TitleTip();
    // Moves the mouse to the middle of a cell; whether the tip shows then.
    auto tipOver = [&](int row, int col, Qt::KeyboardModifiers modifiers = {}) {
        const QPoint pos = list.CellRect(row, col).center();
        QMouseEvent move(QEvent::MouseMove, pos, viewport->mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, modifiers);
        QApplication::sendEvent(viewport, &move);
        return tip->isVisible();
    };

    ASSERT_TRUE(tipOver(0, 0));
    EXPECT_EQ(tip->Text(), longName);
    // Over the cell, with the text wider than the cell.
    const QRect longCell = list.CellRect(0, 0);
    const QPoint cellGlobal = viewport->mapToGlobal(longCell.topLeft());
    EXPECT_NEAR(tip->geometry().left(), cellGlobal.x(), list.TextOffset() + 2);
    EXPECT_EQ(tip->geometry().top(), cellGlobal.y());
    EXPECT_GT(tip->width(), longCell.width());

    EXPECT_FALSE(tipOver(0, 1)); // texts that fit have none
    EXPECT_FALSE(tipOver(1, 0));
    EXPECT_FALSE(tipOver(0, 0, Qt::ShiftModifier)); // none while Shift is held
    ASSERT_TRUE(tipOver(0, 0));
    QTest::keyClick(&list, Qt::Key_Down); // a key press hides it
    EXPECT_FALSE(tip->isVisible());

    // A click where the tip is acts on the list: the row is selected and the tip goes.
    ASSERT_TRUE(tipOver(0, 0));
    EXPECT_TRUE(tip->testAttribute(Qt::WA_TransparentForMouseEvents));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, longCell.center());
    EXPECT_FALSE(tip->isVisible());
    EXPECT_EQ(list.GetSelectedRow(), 0);

    list.SetColumnWidth(0, 290); // wide enough now: no tip any more
    EXPECT_FALSE(tipOver(0, 0));
}
