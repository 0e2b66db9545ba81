// The trees of the whole data set are filled when a page is first seen, and searched from texts
// folded once: a page bound but never shown still finds what the character's lists point at,
// and a search typed letter by letter shows what the same text typed at once shows.
#include "PageHost.h"

using namespace editor_test;

TEST(TreeFill, AHiddenPageFindsTheNodeOfARowPickedInItsList) {
    PageHost host(SmallItemRules());
    CVARN_Character& c = host.character;
    std::unique_ptr<CVARN_PageSkills> skills(host.Make<CVARN_PageSkills>());
    std::unique_ptr<CVARN_PageSpells> spells(host.Make<CVARN_PageSpells>());
    c.SetSkillRank(c.Rules().skillTable.Find("Mending"), 2);
    // Learnt under the second type, spelt in another case than the node.
    c.AddSpell(c.Rules().spellTable.Find("Twofold Ward"), "tempestry");

    // Reached without Control(), which would fill the pages as if they had been seen.
    skills->findChild<CMyListCtrl*>("skillList")->SelectRow(0);
    const QTreeWidgetItem* skill = skills->findChild<QTreeWidget*>()->currentItem();
    ASSERT_NE(skill, nullptr);
    EXPECT_EQ(skill->text(0), "Mending");
    EXPECT_EQ(skill->parent()->parent()->text(0), "Artisan");
    EXPECT_EQ(skills->findChild<QSpinBox*>("rankSpin")->value(), 2);

    spells->findChild<CMyListCtrl*>("spellList")->SelectRow(0);
    const QTreeWidgetItem* spell = spells->findChild<QTreeWidget*>()->currentItem();
    ASSERT_NE(spell, nullptr);
    EXPECT_EQ(spell->text(0), "Twofold Ward");
    EXPECT_EQ(spell->parent()->parent()->text(0), "Tempestry");

    // Shown for the first time: the same tree, nothing selected lost.
    spells->show();
    EXPECT_EQ(spells->findChild<QTreeWidget*>()->currentItem(), spell);
}

TEST(TreeFill, ASearchTypedLetterByLetterShowsWhatTheWholeTextShows) {
    QTreeWidget tree;
    QStringList leaves;
    for (const char* category : {"Blades", "Élan"}) {
        auto* node = new QTreeWidgetItem(&tree, QStringList(QString::fromUtf8(category)));
        for (const char* entry : {"Ébène Dagger", "ÉTÉ Blade", "Kaldra", "kalmar Edge", "Rope"}) {
            leaves << QString::fromUtf8(category) + " " + QString::fromUtf8(entry);
            new QTreeWidgetItem(node, QStringList(leaves.back()));
        }
    }
    CVARN_FindField field(&tree);
    tree.show();

    // Letters added narrow from the last result, letters taken away widen it again, a letter
    // inside the text narrows too; accents fold as letter case does.
    for (const char* typed :
         {"k", "kal", "kalm", "ka", "a", "la", "é", "ÉB", "éT", "ét", "rope", "ropes", "rope"}) {
        const QString text = QString::fromUtf8(typed);
        SCOPED_TRACE(typed);
        QStringList expected;
        for (const QString& leaf : leaves)
            if (leaf.contains(text, Qt::CaseInsensitive))
                expected << leaf;
        field.setText(text);
        EXPECT_EQ(field.Apply(), expected.size());
        EXPECT_EQ(VisibleLeaves(&tree), expected);
    }
}
