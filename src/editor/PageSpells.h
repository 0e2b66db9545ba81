#pragma once

#include "editor/CatalogPage.h"

#include <string>

class CVARN_DBSpell;
class CVARN_PCSpell;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The "Grimoire" tab: every spell of the rules by type of magic and circle, the
// spells the character knows, one button that learns or forgets the selected
// spell, and a warning when the character cannot weave threads for the selected
// spell's magic.
class CVARN_PageSpells : public CVARN_CatalogPage {
    Q_OBJECT
public:
    explicit CVARN_PageSpells(QWidget* parent = nullptr);

    void RefreshFromCharacter() override;
    void OnCharacterRestored() override;
    void OnCharacterUpdate(int hint, CVARN_CharEquip* object) override;

    const CVARN_DBSpell* SelectedSpell() const { return m_selSpell; }
    CVARN_PCSpell* SelectedCharSpell() const { return m_selCharSpell; }
    const std::string& SelectedType() const { return m_selType; }
    QString WarningText() const { return m_warning; }

    // Node data: a spell node carries its CVARN_DBSpell*, a circle node its
    // circle, a type node the type's text as read from the rules.
    static constexpr int SpellRole = Qt::UserRole;
    static constexpr int CircleRole = Qt::UserRole + 1;
    static constexpr int TypeRole = Qt::UserRole + 2;

protected:
    void BuildTree(SortedTreeBuilder& builder) override;
    QString NodeTip(const QTreeWidgetItem* node) const override;
    QString RecordTip(quintptr record) const override;
    void OnNodeSelected() override;
    void OnRowSelected() override;
    void MarkList() override;

private:
    void FillList();
    void UpdateButton();
    void ShowInformation();
    void CheckThreadWeaving();
    QTreeWidgetItem* FindSpellNode(const std::string& type, const CVARN_DBSpell* spell) const;

    void OnLearnClicked();
    void OnDescriptionClicked();

    QPlainTextEdit* m_warningEdit = nullptr;
    QLabel* m_warningIcon = nullptr;
    QPushButton* m_learn = nullptr;
    QLabel* m_infoTexts[6] = {};
    QPlainTextEdit* m_effect = nullptr;
    QPushButton* m_describe = nullptr;

    const CVARN_DBSpell* m_selSpell = nullptr;
    CVARN_PCSpell* m_selCharSpell = nullptr;
    std::string m_selType;
    QString m_warning;
};
