#pragma once

#include <QString>

#include <functional>

class CVARN_DBSkill;
class CVARN_DBSpell;
class CVARN_DBTalent;
class CVARN_Item;
class QTreeWidget;
class QTreeWidgetItem;

// Hover texts of the entries in the pages' lists and trees: the entry's key figures and the
// data set's own description, as rich text so that the tool tip wraps it to a readable width.
// Empty for nullptr.
QString TalentTip(const CVARN_DBTalent* talent);
QString SkillTip(const CVARN_DBSkill* skill);
QString SpellTip(const CVARN_DBSpell* spell);
QString ItemTip(const CVARN_Item* item);

// Shows `tipOf(node)` as the tool tip of the node under the mouse. The text is made only when
// asked for, so filling a tree of thousands of entries costs nothing more. Nodes with an
// empty text (categories) show no tip.
void InstallEntryTips(QTreeWidget* tree, std::function<QString(const QTreeWidgetItem*)> tipOf);
