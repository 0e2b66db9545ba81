// Typed numbers, the wheel, find as you type, hover texts, resizable windows and page keys,
// through real pages and character windows.
#include "PageHost.h"

using namespace editor_test;

namespace {

QList<QTreeWidgetItem*> Expanded(QTreeWidget* tree) {
    QList<QTreeWidgetItem*> open;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it)
        if ((*it)->isExpanded())
            open << *it;
    return open;
}

// Sends one notch of the wheel; returns whether the box kept the event for itself.
bool Wheel(QWidget* box) {
    const QPointF at(box->width() / 2.0, box->height() / 2.0);
    QWheelEvent wheel(at, box->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box, &wheel);
    return wheel.isAccepted();
}

// The tool tip shown on hovering the middle of `node`.
QString Hover(QTreeWidget* tree, QTreeWidgetItem* node) {
    const QPoint at = tree->visualItemRect(node).center();
    QHelpEvent help(QEvent::ToolTip, at, tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree->viewport(), &help);
    return QToolTip::text();
}

} // namespace

TEST(Comfort, TypedRanksTheFilterAndTheWheelOnTheTalentsAndAttributesPages) {
    PageHost host(SmallRules(), "Walker");
    CVARN_Character& c = host.character;
    auto* talents = host.Add<CVARN_PageTalents>();
    Activate(talents);
    c.SetDisciplineCircle(c.Rules().disciplineList.FindDiscipline("Warden"), 1);
    CMyListCtrl* list = Control<CMyListCtrl>(talents, "talentList");
    ClickRow(list, static_cast<int>(Column(list, 0).indexOf("Aim")));
    CVARN_CharTalent* aim = c.FindCharTalent("Aim");
    QSpinBox* rank = Control<QSpinBox>(talents, "rankSpin");
    rank->setFocus();
    host.Forget();

    rank->selectAll();
    QTest::keyClicks(rank, "12");
    EXPECT_EQ(aim->rank, 0) << "nothing happens digit by digit";
    QTest::keyClick(rank, Qt::Key_Return);
    EXPECT_EQ(aim->rank, 12);
    EXPECT_EQ(host.Count(HintTalentRank), 1);
    list->setFocus(); // leaving after Enter changes nothing more
    EXPECT_EQ(host.Count(HintTalentRank), 1);

    // Above the range on leaving: the highest rank, one change.
    rank->setFocus();
    rank->selectAll();
    QTest::keyClicks(rank, "99");
    list->setFocus();
    EXPECT_EQ(aim->rank, 15);
    EXPECT_EQ(rank->value(), 15);
    EXPECT_EQ(host.Count(HintTalentRank), 2);

    // An emptied box keeps its value; "-5" in a box from 0 gives 0, the nearest allowed value.
    rank->setFocus();
    for (const char* typed : {"", "-5", "15"}) {
        rank->selectAll();
        QTest::keyClick(rank, Qt::Key_Backspace);
        QTest::keyClicks(rank, typed);
        QTest::keyClick(rank, Qt::Key_Return);
        EXPECT_EQ(aim->rank, *typed == '-' ? 0 : 15) << typed;
    }

    // The filter survives a refill, and the sort arrow tells the truth.
    list->SortByColumn(CVARN_PageTalents::ColRank);
    EXPECT_TRUE(list->header()->isSortIndicatorShown());
    QTest::keyClicks(Control<CVARN_FindField>(talents, "findField"), "AI");
    EXPECT_EQ(VisibleLeaves(list), QStringList({"Aim"}));
    ClickRow(list, static_cast<int>(Column(list, 0).indexOf("Aim")));
    QTest::keyClick(list, Qt::Key_Left);
    EXPECT_EQ(aim->rank, 14);
    // A new circle refills the list in name order: still filtered, and no arrow on Rank.
    c.SetDisciplineCircle(c.Rules().disciplineList.FindDiscipline("Warden"), 2);
    EXPECT_EQ(VisibleLeaves(list), QStringList({"Aim"}));
    EXPECT_FALSE(list->header()->isSortIndicatorShown());
    QTest::keyClick(Control<CVARN_FindField>(talents, "findField"), Qt::Key_Escape);
    EXPECT_EQ(VisibleLeaves(list).size(), list->GetItemCount());

    // Below the range, on a page whose box checks more than its range: the lowest base
    // value, with the page redrawn as for the arrows.
    auto* attributes = host.Add<CVARN_PageAttributes>();
    Activate(attributes);
    QSpinBox* toughness = Control<QSpinBox>(attributes, "baseSpin", AttToughness);
    toughness->setFocus();
    toughness->selectAll();
    QTest::keyClicks(toughness, "1");
    QTest::keyClick(toughness, Qt::Key_Enter);
    EXPECT_EQ(c.Att(AttToughness).base, 2);
    EXPECT_EQ(Text(attributes, "pointsText"), "22 / 66");

    // The wheel turns only the box that has the focus; elsewhere the event goes on to what
    // holds the box, which scrolls.
    Control<QSpinBox>(attributes, "levelSpin", AttDexterity)->setFocus();
    EXPECT_FALSE(Wheel(toughness));
    EXPECT_FALSE(Wheel(Control<QComboBox>(attributes, "raceList")));
    EXPECT_EQ(c.Att(AttToughness).base, 2);
    EXPECT_EQ(c.raceName, "Walker");
    toughness->setFocus();
    EXPECT_TRUE(Wheel(toughness));
    EXPECT_EQ(c.Att(AttToughness).base, 3);
}

TEST(Comfort, FindNarrowsEveryTreeAndEscBringsBackTheFullView) {
    PageHost host(SmallItemRules());
    auto* skills = host.Add<CVARN_PageSkills>();
    auto* spells = host.Add<CVARN_PageSpells>();
    auto* equipment = host.Add<CVARN_PageEquipment>();
    const EquipmentDatabase& db = host.character.Rules().equipmentDatabase;
    host.character.AddEquipment(db.weapons.at(0).get());
    host.character.AddEquipment(db.misc.at(0).get());
    CVARN_DlgSelectItem dialog(db, nullptr);
    dialog.show();
    NodeAt(Control<QTreeWidget>(skills, "skillTree"), {"Trade"})->setExpanded(true);

    struct Case {
        QTreeWidget* tree;
        CVARN_FindField* field;
        const char* text;
        QStringList shown;
    };
    const Case cases[] = {
        {Control<QTreeWidget>(skills, "skillTree"),
         Control<CVARN_FindField>(skills, "findField"),
         "ING",
         {"Mending", "Zither Playing", "apple picking", "Bargaining", "Ledger Keeping"}},
        // Listed under each of its two types of magic.
        {Control<QTreeWidget>(spells, "spellTree"),
         Control<CVARN_FindField>(spells, "findField"),
         "ward",
         {"Twofold Ward", "Twofold Ward"}},
        // A category never matches by its own name.
        {Control<QTreeWidget>(equipment, "availableTree"),
         Control<CVARN_FindField>(equipment, "availableFind"),
         "shield",
         {"Round Shield"}},
        {Control<QTreeWidget>(equipment, "characterTree"),
         Control<CVARN_FindField>(equipment, "characterFind"),
         "ro",
         {"Rope"}},
        {dialog.Tree(), dialog.FindField(), "coat", {"Quilted Coat"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        const QList<QTreeWidgetItem*> openBefore = Expanded(k.tree);
        k.field->setFocus();
        QTest::keyClicks(k.field, k.text);
        EXPECT_EQ(VisibleLeaves(k.tree), k.shown);
        EXPECT_TRUE(k.tree->updatesEnabled()) << "a filtered tree still paints";
        QTest::keyClick(k.field, Qt::Key_Escape);
        EXPECT_TRUE(k.field->text().isEmpty());
        EXPECT_EQ(Expanded(k.tree), openBefore);
        for (QTreeWidgetItemIterator it(k.tree); *it != nullptr; ++it)
            EXPECT_FALSE((*it)->isHidden()) << (*it)->text(0).toStdString();
    }
    // Ctrl+F in the dialog goes to its field; Esc in an empty field is the dialog's: it closes.
    Activate(&dialog);
    dialog.Tree()->setFocus();
    QTest::keyClick(dialog.Tree(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(dialog.FindField()->hasFocus());
    QTest::keyClick(dialog.FindField(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(Comfort, TheControlsWorkOnTheFilteredView) {
    PageHost host(SmallItemRules());
    CVARN_Character& c = host.character;
    auto* skills = host.Add<CVARN_PageSkills>();
    Activate(skills);
    QTreeWidget* tree = Control<QTreeWidget>(skills, "skillTree");

    // Ctrl+F goes to the page's field; what the filter shows is what the controls act on.
    QTest::keyClick(skills, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Control<CVARN_FindField>(skills, "findField")->hasFocus());
    QTest::keyClicks(Control<CVARN_FindField>(skills, "findField"), "mend");
    ClickNode(tree, NodeAt(tree, {"Artisan", "M-R", "Mending"}));
    QTest::keyClick(Control<QSpinBox>(skills, "rankSpin"), Qt::Key_Up);
    ASSERT_EQ(c.skills.size(), 1u);
    EXPECT_EQ(c.skills[0]->skill->name, "Mending");

    auto* equipment = host.Add<CVARN_PageEquipment>();
    Activate(equipment);
    QTreeWidget* available = Control<QTreeWidget>(equipment, "availableTree");
    QTest::keyClicks(Control<CVARN_FindField>(equipment, "availableFind"), "dirk");
    ClickNode(available, NodeAt(available, {"Weapons", "Blades", "Dirk"}));
    QTest::keyClick(available, Qt::Key_Return);
    EXPECT_EQ(VisibleLeaves(Control<QTreeWidget>(equipment, "characterTree")),
              QStringList({"Dirk"}));
}

TEST(Comfort, HoveringAnEntryShowsItsDescriptionAndFigures) {
    PageHost items(SmallItemRules());
    auto* skills = items.Add<CVARN_PageSkills>();
    auto* equipment = items.Add<CVARN_PageEquipment>();
    PageHost talentsHost(SmallRules(), "Walker");
    talentsHost.character.SetDisciplineCircle(
        talentsHost.character.Rules().disciplineList.FindDiscipline("Warden"), 1);
    auto* talents = talentsHost.Add<CVARN_PageTalents>();
    CMyListCtrl* list = Control<CMyListCtrl>(talents, "talentList");

    struct Case {
        CVARN_Page* page;
        QTreeWidget* tree;
        QTreeWidgetItem* node;
        QStringList holds;
    };
    QTreeWidget* available = Control<QTreeWidget>(equipment, "availableTree");
    const Case cases[] = {
        {talents,
         list,
         list->Row(static_cast<int>(Column(list, 0).indexOf("Aim"))),
         {"<b>Aim</b>", "Formula: Dex + 1", "Strain: 1", "Looses an arrow at a target."}},
        {skills,
         Control<QTreeWidget>(skills, "skillTree"),
         NodeAt(Control<QTreeWidget>(skills, "skillTree"), {"Trade", "A-F", "Bargaining"}),
         {"Formula: Cha + 2", "Haggles over prices."}},
        {equipment,
         available,
         NodeAt(available, {"Shields", "Round Shield"}),
         {"Physical armor: 3", "Shatter: 19"}},
    };
    for (const Case& k : cases) {
        ASSERT_NE(k.node, nullptr);
        Activate(k.page);
        for (QTreeWidgetItem* p = k.node->parent(); p != nullptr; p = p->parent())
            p->setExpanded(true);
        k.tree->scrollToItem(k.node);
        const QString tip = Hover(k.tree, k.node);
        for (const QString& part : k.holds)
            EXPECT_TRUE(tip.contains(part)) << tip.toStdString() << " lacks " << part.toStdString();
    }
    // A category has nothing to tell.
    Hover(available, NodeAt(available, {"Shields"}));
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::text().isEmpty(); }, 2000));
}

namespace {

class ComfortWindow : public varn_test::DocFixture {
protected:
    CharacterView* OpenView() {
        CharacterDocument* doc = docs->fileNew();
        return doc != nullptr ? qobject_cast<CharacterView*>(doc->views().front()) : nullptr;
    }
};

} // namespace

TEST_F(ComfortWindow, AResizedWindowGivesItsListsTheRoomAndTheDefaultStays) {
    CharacterView* view = OpenView();
    ASSERT_NE(view, nullptr);
    auto* window = qobject_cast<CharacterWindow*>(CharacterDocument::windowOf(view));
    ASSERT_NE(window, nullptr);
    const QSize standard = window->size();
    view->sheet()->SetActivePage(3);
    CMyListCtrl* list = Control<CMyListCtrl>(view->page(3), "talentList");
    QCoreApplication::processEvents();
    const int listWidth = list->width(), nameWidth = list->header()->sectionSize(0);

    window->resize(standard + QSize(300, 150));
    QCoreApplication::processEvents();
    EXPECT_GT(list->width(), listWidth + 150);
    EXPECT_GT(list->header()->sectionSize(0), nameWidth + 150) << "long names get the room";
    frame->newWindow();
    EXPECT_EQ(view->document()->windows().back()->size(), standard);

    // Where the standard size does not fit, the window takes the room there is and its
    // page scrolls.
    frame->resize(standard.width() / 2 + 100, standard.height() / 2 + 100);
    QCoreApplication::processEvents();
    CharacterView* small = OpenView();
    ASSERT_NE(small, nullptr);
    QMdiSubWindow* smallWindow = CharacterDocument::windowOf(small);
    const QSize room = frame->mdiArea()->viewport()->size();
    EXPECT_LE(smallWindow->width(), room.width());
    EXPECT_LE(smallWindow->height(), room.height());
    EXPECT_EQ(smallWindow->pos(), QPoint(0, 0)) << "no room to cascade: back to the corner";
    QCoreApplication::processEvents();
    QScrollArea* scroller = small->sheet()->GetPageScroller(small->sheet()->GetActivePageIndex());
    ASSERT_NE(scroller, nullptr);
    EXPECT_GT(scroller->verticalScrollBar()->maximum(), 0);
}

// Ctrl+PgUp/PgDn and Alt+digit move between the pages, wrapping at the ends. On every page Tab
// reaches every control a user can work, each once, and Shift+Tab walks the same controls back.
TEST_F(ComfortWindow, PageKeysWrapAndTabReachesEveryControlOfEachPageAndBack) {
    CharacterView* view = OpenView();
    ASSERT_NE(view, nullptr);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    CVARN_CharacterSheet* sheet = view->sheet();
    auto* name = sheet->Page(0)->findChild<QLineEdit*>();
    ASSERT_NE(name, nullptr);
    name->setFocus();
    // From the first page Ctrl+PgUp goes back to the last.
    const std::tuple<Qt::Key, Qt::KeyboardModifier, int> keys[] = {
        {Qt::Key_PageUp, Qt::ControlModifier, 7},
        {Qt::Key_PageDown, Qt::ControlModifier, 0},
        {Qt::Key_PageDown, Qt::ControlModifier, 1},
        {Qt::Key_5, Qt::AltModifier, 4},
        {Qt::Key_8, Qt::AltModifier, 7}};
    for (const auto& [key, modifier, index] : keys) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClick(QApplication::focusWidget(), key, modifier);
        EXPECT_EQ(sheet->GetActivePageIndex(), index) << key;
    }

    const auto walk = [](Qt::KeyboardModifiers modifiers, int limit) {
        QList<QWidget*> seen;
        for (int i = 0; i < limit; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
            seen << QApplication::focusWidget();
        }
        return seen;
    };
    for (int index = 0; index < 8; ++index) {
        sheet->SetActivePage(index);
        QWidget* page = sheet->Page(index);
        QList<QWidget*> workable;
        for (QWidget* w : page->findChildren<QWidget*>())
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(page) && w->isEnabled() &&
                w->focusProxy() == nullptr)
                workable << w;
        ASSERT_FALSE(workable.isEmpty()) << index;
        workable.front()->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        const int steps = 3 * static_cast<int>(workable.size()) + 20;
        const QList<QWidget*> forward = walk(Qt::NoModifier, steps);
        const QList<QWidget*> backward = walk(Qt::ShiftModifier, steps);
        for (QWidget* w : workable) {
            EXPECT_TRUE(forward.contains(w))
                << "page " << index << ": Tab misses " << w->metaObject()->className() << " "
                << w->objectName().toStdString();
            EXPECT_TRUE(backward.contains(w))
                << "page " << index << ": Shift+Tab misses " << w->metaObject()->className();
        }
        // The cycle back is the cycle forth reversed.
        const int cycle = static_cast<int>(forward.indexOf(forward.front(), 1));
        ASSERT_GT(cycle, 0) << "page " << index << ": Tab does not come round";
        for (int i = 0; i < cycle; ++i)
            EXPECT_EQ(backward.at(i), forward.at((steps - 2 - i) % cycle))
                << "page " << index << " step " << i;
    }
}
