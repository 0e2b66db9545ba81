#include "editor/EntryTips.h"

#include "rules/EquipmentDatabase.h"
#include "rules/SkillDatabase.h"
#include "rules/SpellDatabase.h"
#include "rules/TalentDatabase.h"
#include "widgets/QtText.h"

#include <QEvent>
#include <QHelpEvent>
#include <QStringList>
#include <QToolTip>
#include <QTreeWidget>

namespace {

QString Html(const std::string& text) {
    QString html = FromCore(text).toHtmlEscaped();
    html.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    return html;
}

QString Figure(const QString& label, const QString& value) {
    return label + QStringLiteral(": ") + value;
}

QString Figure(const QString& label, const std::string& value) {
    return Figure(label, Html(value));
}

QString Amount(float v) {
    return QString::number(double(v), 'f', 1);
}

// Name in bold, then the figures one to a line, then the description.
QString Tip(const std::string& name, const QStringList& figures, const std::string& description) {
    QString tip = QStringLiteral("<p><b>") + Html(name) + QStringLiteral("</b>");
    for (const QString& figure : figures)
        tip += QStringLiteral("<br>") + figure;
    tip += QStringLiteral("</p>");
    if (!description.empty())
        tip += QStringLiteral("<p>") + Html(description) + QStringLiteral("</p>");
    return tip;
}

QString Flags(bool action, bool karma) {
    QStringList flags;
    if (action)
        flags << QStringLiteral("action");
    if (karma)
        flags << QStringLiteral("karma");
    return flags.join(QStringLiteral(", "));
}

class TipFilter : public QObject {
public:
    TipFilter(QTreeWidget* tree, std::function<QString(const QTreeWidgetItem*)> tipOf)
        : QObject(tree), m_tree(tree), m_tipOf(std::move(tipOf)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || watched != m_tree->viewport())
            return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        const QTreeWidgetItem* node = m_tree->itemAt(help->pos());
        const QString tip = node != nullptr ? m_tipOf(node) : QString();
        if (tip.isEmpty()) {
            QToolTip::hideText();
            return true;
        }
        QToolTip::showText(help->globalPos(), tip, m_tree->viewport(),
                           m_tree->visualItemRect(node));
        return true;
    }

private:
    QTreeWidget* m_tree;
    std::function<QString(const QTreeWidgetItem*)> m_tipOf;
};

} // namespace

QString TalentTip(const CVARN_DBTalent* talent) {
    if (talent == nullptr)
        return QString();
    QStringList figures{Figure(QStringLiteral("Formula"), talent->formula),
                        Figure(QStringLiteral("Strain"), QString::number(talent->strain))};
    if (const QString flags = Flags(talent->action != 0, talent->karma != 0); !flags.isEmpty())
        figures << flags;
    return Tip(talent->name, figures, talent->description);
}

QString SkillTip(const CVARN_DBSkill* skill) {
    if (skill == nullptr)
        return QString();
    QStringList figures{Figure(QStringLiteral("Type"), skill->type),
                        Figure(QStringLiteral("Formula"), skill->formula),
                        Figure(QStringLiteral("Strain"), QString::number(skill->strain))};
    if (const QString flags = Flags(skill->action != 0, skill->karma != 0); !flags.isEmpty())
        figures << flags;
    return Tip(skill->name, figures, skill->description);
}

QString SpellTip(const CVARN_DBSpell* spell) {
    if (spell == nullptr)
        return QString();
    QStringList types;
    for (const std::string& type : spell->types)
        types << Html(type);
    const QStringList figures{Figure(QStringLiteral("Circle"),
                                     QString::number(spell->circle) + QStringLiteral(" (") +
                                         types.join(QStringLiteral(", ")) + QStringLiteral(")")),
                              Figure(QStringLiteral("Threads"), spell->threads),
                              Figure(QStringLiteral("Weaving"), spell->weaving),
                              Figure(QStringLiteral("Reattuning"), spell->reattuning),
                              Figure(QStringLiteral("Range"), spell->range),
                              Figure(QStringLiteral("Duration"), spell->duration),
                              Figure(QStringLiteral("Difficulty"), spell->difficulty),
                              Figure(QStringLiteral("Effect"), spell->effect)};
    return Tip(spell->name, figures, spell->description);
}

QString ItemTip(const CVARN_Item* item) {
    if (item == nullptr)
        return QString();
    QStringList figures;
    if (const auto* thread = dynamic_cast<const CVARN_ThreadItemArmor*>(item)) {
        figures << Figure(QStringLiteral("Threads"), QString::number(thread->threadCount));
        figures << Figure(QStringLiteral("Physical armor"), QString::number(thread->physicArmor))
                << Figure(QStringLiteral("Mystic armor"), QString::number(thread->mysticArmor))
                << Figure(QStringLiteral("Initiative"), QString::number(thread->initiative));
        for (const CVARN_ThreadPower& power : thread->powers)
            figures << QStringLiteral("Rank %1: physical %2, mystic %3, initiative %4")
                           .arg(power.rank)
                           .arg(power.physicArmor)
                           .arg(power.mysticArmor)
                           .arg(power.initiative);
    } else if (const auto* armor = dynamic_cast<const CVARN_ItemArmor*>(item)) {
        figures << Figure(QStringLiteral("Physical armor"), QString::number(armor->physicArmor))
                << Figure(QStringLiteral("Mystic armor"), QString::number(armor->mysticArmor))
                << Figure(QStringLiteral("Initiative"), QString::number(armor->initiative));
    } else if (const auto* shield = dynamic_cast<const CVARN_ItemShield*>(item)) {
        figures << Figure(QStringLiteral("Physical armor"), QString::number(shield->physicArmor))
                << Figure(QStringLiteral("Mystic armor"), QString::number(shield->mysticArmor))
                << Figure(QStringLiteral("Initiative"), QString::number(shield->initiative))
                << Figure(QStringLiteral("Shatter"), QString::number(shield->shatter));
    } else if (const auto* weapon = dynamic_cast<const CVARN_ItemWeapon*>(item)) {
        figures << Figure(QStringLiteral("Damage"), QString::number(weapon->damage))
                << Figure(QStringLiteral("Strength min."), QString::number(weapon->minStrength))
                << Figure(QStringLiteral("Dexterity min."), QString::number(weapon->minDexterity))
                << Figure(QStringLiteral("Size"), QString::number(weapon->size));
    }
    figures << Figure(QStringLiteral("Weight"), Amount(item->weight))
            << Figure(QStringLiteral("Cost"), Amount(item->cost));
    return Tip(item->name, figures, std::string());
}

void InstallEntryTips(QTreeWidget* tree, std::function<QString(const QTreeWidgetItem*)> tipOf) {
    if (tree == nullptr || !tipOf)
        return;
    tree->viewport()->installEventFilter(new TipFilter(tree, std::move(tipOf)));
}
