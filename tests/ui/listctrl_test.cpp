#include "ui/MyListCtrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QColor TextColor(200, 0, 0);
const QColor GreyTextColor(0, 0, 200);

struct TalentList {
    CMyListCtrl list;
    TalentList() {
        list.InsertColumn(0, "Talents", Qt::AlignLeft, 120);
        list.InsertColumn(1, "Rank", Qt::AlignHCenter, 50);
        const char* rows[][2] = {{"Alpha", "2"}, {"beta", "10"}, {"Gamma", "1"}};
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
    QStringList Column(int col) const {
        QStringList texts;
        for (int r = 0; r < list.GetItemCount(); ++r)
            texts << list.GetItemText(r, col);
        return texts;
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

void SendMove(QWidget* target, const QPoint& pos, Qt::KeyboardModifiers modifiers = {}) {
    QMouseEvent move(QEvent::MouseMove, pos, target->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     modifiers);
    QApplication::sendEvent(target, &move);
}

} // namespace

TEST(ListCtrl, HeaderClicksSortBytewiseAndRowsMoveWhole) {
    TalentList t;
    t.list.SelectRow(1); // "beta"
    QSignalSpy selected(&t.list, &CMyListCtrl::SelectedRowChanged);

    t.ClickHeader(1);
    // Numbers sort as text: "10" before "2".
    EXPECT_EQ(t.Column(1), QStringList({"1", "10", "2"}));
    EXPECT_EQ(t.Column(0), QStringList({"Gamma", "beta", "Alpha"}));
    EXPECT_TRUE(t.list.IsSortAscending());
    // Data, dimmed state and selection went with their rows.
    EXPECT_EQ(t.list.GetItemData(0), 102u);
    EXPECT_EQ(t.list.GetItemData(1), 101u);
    EXPECT_FALSE(t.list.IsRowDimmed(0));
    EXPECT_TRUE(t.list.IsRowDimmed(1));
    EXPECT_FALSE(t.list.IsRowDimmed(2));
    EXPECT_EQ(t.list.GetSelectedRow(), 1);

    t.ClickHeader(1); // same column: descending
    EXPECT_EQ(t.Column(1), QStringList({"2", "10", "1"}));
    EXPECT_FALSE(t.list.IsSortAscending());

    t.ClickHeader(0); // another column: ascending again; capitals before small letters
    EXPECT_EQ(t.Column(0), QStringList({"Alpha", "Gamma", "beta"}));
    EXPECT_TRUE(t.list.IsSortAscending());
    EXPECT_EQ(t.list.GetSortColumn(), 0);
    EXPECT_EQ(t.list.GetSelectedRow(), 2);
    EXPECT_TRUE(t.list.IsRowDimmed(2));
    ASSERT_FALSE(selected.isEmpty());
    EXPECT_EQ(selected.last().at(0).toInt(), 2);

    t.ClickHeader(1, Qt::RightButton); // only the left button sorts
    EXPECT_EQ(t.Column(0), QStringList({"Alpha", "Gamma", "beta"}));
}

TEST(ListCtrl, SortCornerCases) {
    TalentList t;
    const QStringList before = t.Column(0);
    EXPECT_FALSE(t.list.SortByColumnText(2, true)); // no such column
    EXPECT_FALSE(t.list.SortByColumnText(-1, true));
    EXPECT_EQ(t.Column(0), before);

    // Bytes of UTF-8, not UTF-16 units or the locale: "É" (C3 89) after "z", "Ω" after "É".
    CMyListCtrl list;
    list.InsertColumn(0, "Name");
    for (const char* name : {"Ω", "z", "É", "Z"})
        list.InsertItem(list.GetItemCount(), QString::fromUtf8(name));
    EXPECT_TRUE(list.SortByColumnText(0, true));
    QStringList sorted;
    for (int r = 0; r < list.GetItemCount(); ++r)
        sorted << list.GetItemText(r, 0);
    EXPECT_EQ(sorted, QStringList({"Z", "z", QString::fromUtf8("É"), QString::fromUtf8("Ω")}));

    // A partial range leaves the other rows alone.
    EXPECT_TRUE(list.SortByColumnText(0, false, 1, 2));
    EXPECT_EQ(list.GetItemText(0, 0), "Z");
    EXPECT_EQ(list.GetItemText(1, 0), QString::fromUtf8("É"));
    EXPECT_EQ(list.GetItemText(2, 0), "z");

    CMyListCtrl one;
    one.InsertColumn(0, "Name");
    one.InsertItem(0, "only");
    EXPECT_FALSE(one.SortByColumnText(0, true));
    EXPECT_EQ(one.GetItemText(0, 0), "only");
}

TEST(ListCtrl, InsertKeepsFirstColumnOrderWhenAsked) {
    CMyListCtrl list;
    list.InsertColumn(0, "Talents");
    list.SetSortOnInsert(true);
    EXPECT_EQ(list.InsertItem(0, "Melee"), 0);
    EXPECT_EQ(list.InsertItem(0, "climbing"), 0);
    EXPECT_EQ(list.InsertItem(0, "Tracking"), 2);
    EXPECT_EQ(list.InsertItem(99, "Avoid Blow"), 0);
    EXPECT_EQ(list.GetItemText(3, 0), "Tracking");
    EXPECT_EQ(list.InsertItem(-1, "x"), -1);
}

TEST(ListCtrl, DimmedRowsDrawGreyWhereverTheyAreSorted) {
    TalentList t;
    t.list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&t.list));
    t.list.SortByColumnText(1, true);  // "beta" moves from row 1... and stays at row 1
    t.list.SortByColumnText(0, false); // "beta" to row 0
    ASSERT_EQ(t.list.GetItemText(0, 0), "beta");
    const QImage image = t.list.viewport()->grab().toImage();
    for (int row = 0; row < 3; ++row) {
        QRect rect = t.list.CellRect(row, 0).united(t.list.CellRect(row, 1));
        const bool dimmed = row == 0;
        EXPECT_EQ(TintedPixels(image, rect, GreyTextColor) > 0, dimmed) << row;
        EXPECT_EQ(TintedPixels(image, rect, TextColor) > 0, !dimmed) << row;
    }
    // Undimming a row draws it in the normal colour again.
    t.list.SetRowDimmed(0, false);
    const QImage after = t.list.viewport()->grab().toImage();
    const QRect rect0 = t.list.CellRect(0, 0).united(t.list.CellRect(0, 1));
    EXPECT_EQ(TintedPixels(after, rect0, GreyTextColor), 0);
    EXPECT_GT(TintedPixels(after, rect0, TextColor), 0);
}

TEST(ListCtrl, HighlightModes) {
    TalentList t;
    EXPECT_EQ(t.list.GetHighlightMode(), CMyListCtrl::HighlightRow);
    EXPECT_EQ(t.list.SetHighlightMode(3), 2); // refused
    EXPECT_EQ(t.list.GetHighlightMode(), 2);
    QPalette pal = t.list.palette();
    for (auto group : {QPalette::Active, QPalette::Inactive})
        pal.setColor(group, QPalette::Highlight, QColor(0, 160, 0));
    t.list.setPalette(pal);
    t.list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&t.list));
    t.list.SelectRow(0);
    const auto green = [&](int x) {
        const QImage image = t.list.viewport()->grab().toImage();
        const QRect cell = t.list.CellRect(0, 0);
        return image.pixelColor(x, cell.center().y()) == QColor(0, 160, 0);
    };
    const int pastColumns = t.list.CellRect(0, 1).right() + 20;
    const int inRank = t.list.CellRect(0, 1).left() + 3;
    const int pastText = t.list.CellRect(0, 0).right() - 3; // "Alpha" is far shorter
    EXPECT_TRUE(green(pastColumns));                        // mode 2 reaches the right edge
    EXPECT_EQ(t.list.SetHighlightMode(1), 2);
    EXPECT_TRUE(green(inRank));
    EXPECT_FALSE(green(pastColumns));
    t.list.SetHighlightMode(0);
    EXPECT_TRUE(green(t.list.CellRect(0, 0).left() + 2));
    EXPECT_FALSE(green(pastText));
    EXPECT_FALSE(green(inRank));
}

TEST(ListCtrl, TitleTipShowsCutOffTextOnly) {
    CMyListCtrl list;
    list.InsertColumn(0, "Talents", Qt::AlignLeft, 70);
    list.InsertColumn(1, "Rank", Qt::AlignHCenter, 60);
    const QString longName = "Unarmed Combat of the Misty Mountains";
    list.InsertItem(0, longName);
    list.SetItemText(0, 1, "3");
    list.InsertItem(1, "Row");
    list.resize(300, 200);
    list.show();
    list.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    QWidget* viewport = list.viewport();
    CTitleTip* tip = list.TitleTip();

    const QRect longCell = list.CellRect(0, 0);
    SendMove(viewport, longCell.center());
    ASSERT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->Text(), longName);
    // Over the cell, with the text wider than the cell.
    const QPoint cellGlobal = viewport->mapToGlobal(longCell.topLeft());
    EXPECT_NEAR(tip->geometry().left(), cellGlobal.x(), list.TextOffset() + 2);
    EXPECT_EQ(tip->geometry().top(), cellGlobal.y());
    EXPECT_GT(tip->width(), longCell.width());

    // Moving within the cell keeps it; moving to a cell whose text fits hides it.
    SendMove(viewport, longCell.center() + QPoint(5, 0));
    EXPECT_TRUE(tip->isVisible());
    SendMove(viewport, list.CellRect(0, 1).center());
    EXPECT_FALSE(tip->isVisible());
    SendMove(viewport, list.CellRect(1, 0).center());
    EXPECT_FALSE(tip->isVisible());

    // No tip while Shift is held; a key press hides it.
    SendMove(viewport, longCell.center(), Qt::ShiftModifier);
    EXPECT_FALSE(tip->isVisible());
    SendMove(viewport, longCell.center());
    ASSERT_TRUE(tip->isVisible());
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_FALSE(tip->isVisible());

    // A click where the tip is acts on the list: the row is selected and the tip goes.
    SendMove(viewport, longCell.center());
    ASSERT_TRUE(tip->isVisible());
    EXPECT_TRUE(tip->testAttribute(Qt::WA_TransparentForMouseEvents));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, longCell.center());
    EXPECT_FALSE(tip->isVisible());
    EXPECT_EQ(list.GetSelectedRow(), 0);

    // Widening the column until the text fits: no tip any more.
    list.SetColumnWidth(0, 290);
    SendMove(viewport, list.CellRect(0, 0).center());
    EXPECT_FALSE(tip->isVisible());
}
