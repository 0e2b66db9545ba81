#include "shell/DocFixture.h"
#include "widgets/MyListCtrl.h"

using varn_test::CountPixels;
using varn_test::Rows;

namespace {

// Text is drawn anti-aliased against white: a pixel of red or blue text keeps its strong
// channel and loses the others.
bool Red(const QColor& c) {
    return c.red() > 120 && c.green() < 90 && c.blue() < 90;
}
bool Blue(const QColor& c) {
    return c.blue() > 120 && c.green() < 90 && c.red() < 90;
}

} // namespace

TEST(ListCtrl, HeaderClicksSortBytewiseRowsMoveWholeDimmedRowsDrawGreyAndInsertsMaySort) {
    CMyListCtrl list;
    list.InsertColumn(0, "Talents", Qt::AlignLeft, 120);
    list.InsertColumn(1, "Rank", Qt::AlignHCenter, 50);
    const char* texts[][2] = {{"Alpha", "2"}, {"beta", "10"}, {"Gamma", "2"}};
    for (int i = 0; i < 3; ++i) {
        list.SetItemText(list.InsertItem(i, texts[i][0]), 1, texts[i][1]);
        list.SetItemData(i, 100 + i);
    }
    list.SetRowDimmed(1, true); // "beta"
    QPalette pal = list.palette();
    pal.setColor(QPalette::Text, Qt::red);
    pal.setColor(QPalette::Disabled, QPalette::Text, Qt::blue);
    pal.setColor(QPalette::Base, Qt::white);
    list.setPalette(pal);
    list.SetStretchColumn(0); // takes the room the others leave, and only that
    list.resize(300, 200);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    EXPECT_EQ(list.header()->sectionSize(0), list.viewport()->width() - 50);
    list.SelectRow(1);
    QSignalSpy selected(&list, &CMyListCtrl::SelectedRowChanged);
    // Each row as "name|rank|data", a dimmed one marked with "~".
    auto rows = [&list] {
        QStringList rows;
        for (int r = 0; r < list.GetItemCount(); ++r)
            rows << QStringLiteral("%1%2|%3|%4")
                        .arg(list.IsRowDimmed(r) ? "~" : "", list.GetItemText(r, 0),
                             list.GetItemText(r, 1))
                        .arg(list.GetItemData(r));
        return rows;
    };
    auto click = [&list](int col, Qt::MouseButton button = Qt::LeftButton) {
        QHeaderView* header = list.header();
        const QPoint pos(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                         header->height() / 2);
        QTest::mouseClick(header->viewport(), button, Qt::NoModifier, pos);
    };

    // Numbers sort as text: "10" before "2"; equal texts keep their order either way. Data,
    // dimming and selection go with the rows.
    click(1);
    EXPECT_EQ(rows(), (QStringList{"~beta|10|101", "Alpha|2|100", "Gamma|2|102"}));
    EXPECT_EQ(list.GetSelectedRow(), 0);
    click(1); // same column: descending
    EXPECT_EQ(rows(), (QStringList{"Alpha|2|100", "Gamma|2|102", "~beta|10|101"}));
    click(0); // another column: ascending again; capitals before small letters
    EXPECT_EQ(rows(), (QStringList{"Alpha|2|100", "Gamma|2|102", "~beta|10|101"}));
    EXPECT_EQ(list.GetSelectedRow(), 2);
    ASSERT_FALSE(selected.isEmpty());
    EXPECT_EQ(selected.last().at(0).toInt(), 2);
    click(1, Qt::RightButton); // only the left button sorts
    EXPECT_EQ(rows(), (QStringList{"Alpha|2|100", "Gamma|2|102", "~beta|10|101"}));

    // A row or column outside the list reads as nothing and takes nothing.
    for (const auto& [row, col] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}}) {
        EXPECT_EQ(list.GetItemText(row, col), QString()) << row << " " << col;
        EXPECT_FALSE(list.SetItemText(row, col, "x")) << row << " " << col;
    }
    for (int row : {-1, 3}) {
        EXPECT_FALSE(list.SetItemData(row, 7)) << row;
        EXPECT_EQ(list.GetItemData(row), 0u) << row;
    }
    EXPECT_EQ(rows(), (QStringList{"Alpha|2|100", "Gamma|2|102", "~beta|10|101"}));

    // The dimmed row draws grey where the sorting took it; undimmed, in the normal colour.
    list.SelectRow(-1);
    auto drawnIn = [&list](int row, bool (*colour)(const QColor&), bool (*other)(const QColor&)) {
        const QImage image = list.viewport()->grab().toImage();
        const QRect rect = list.CellRect(row, 0).united(list.CellRect(row, 1));
        return CountPixels(image, rect, colour) > 0 && CountPixels(image, rect, other) == 0;
    };
    EXPECT_TRUE(drawnIn(2, Blue, Red));
    EXPECT_TRUE(drawnIn(0, Red, Blue));
    EXPECT_TRUE(drawnIn(1, Red, Blue));
    list.SetRowDimmed(2, false);
    EXPECT_TRUE(drawnIn(2, Red, Blue));
    // Every mode up to the whole row is taken, no other.
    EXPECT_EQ(list.SetHighlightMode(CMyListCtrl::HighlightLabel), CMyListCtrl::HighlightRow);
    EXPECT_EQ(list.SetHighlightMode(CMyListCtrl::HighlightRow), CMyListCtrl::HighlightLabel);
    EXPECT_EQ(list.SetHighlightMode(3), CMyListCtrl::HighlightRow);

    // Sorting a list by its text compares bytes of UTF-8; a list may also keep its rows sorted
    // as they come.
    CMyListCtrl names;
    names.InsertColumn(0, "Name");
    for (const char* name : {"Ω", "z", "É", "Z"})
        names.InsertItem(names.GetItemCount(), name);
    EXPECT_FALSE(names.SortByColumnText(1, true)); // no such column
    EXPECT_FALSE(names.SortByColumnText(-1, true));
    EXPECT_EQ(Rows(&names), "Ω|z|É|Z");
    // Bytes of UTF-8, not UTF-16 units or the locale: "É" (C3 89) after "z", "Ω" after "É".
    EXPECT_TRUE(names.SortByColumnText(0, true));
    EXPECT_EQ(Rows(&names), "Z|z|É|Ω");

    CMyListCtrl talents;
    talents.InsertColumn(0, "Talents");
    talents.SetSortOnInsert(true);
    EXPECT_EQ(talents.InsertItem(0, "Mauling"), 0);
    EXPECT_EQ(talents.InsertItem(0, "climbing"), 0);
    EXPECT_EQ(talents.InsertItem(0, "Trail Sense"), 2);
    EXPECT_EQ(talents.InsertItem(99, "Ambush"), 0);
    EXPECT_EQ(talents.InsertItem(-1, "x"), -1);
    EXPECT_EQ(Rows(&talents), "Ambush|climbing|Mauling|Trail Sense");
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
    list.SetColumnWidth(0, 70); // deleted rows take their tip with them
    ASSERT_TRUE(tipOver(0, 0));
    list.DeleteItem(0);
    EXPECT_FALSE(tip->isVisible());
    list.InsertItem(0, longName);
    ASSERT_TRUE(tipOver(0, 0));
    list.DeleteAllItems();
    EXPECT_FALSE(tip->isVisible());
}
