#pragma once

#include "editor/CatalogPage.h"

class CVARN_DBSkill;
class CVARN_PCSkill;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QSpinBox;

// The "Skills" tab: every skill of the rules grouped by type and initial
// letter, the character's skills, and the rank of the selected skill. A rank
// above 0 adds the skill to the character, 0 removes it.
class CVARN_PageSkills : public CVARN_CatalogPage {
    Q_OBJECT
public:
    explicit CVARN_PageSkills(QWidget* parent = nullptr);

    void RefreshFromCharacter() override;
    void OnCharacterRestored() override;
    void OnCharacterUpdate(int hint, CVARN_CharEquip* object) override;

    const CVARN_DBSkill* SelectedSkill() const { return m_selSkill; }
    CVARN_PCSkill* SelectedCharSkill() const { return m_selCharSkill; }

    // Node data role: the CVARN_DBSkill* a skill node carries (type and letter
    // nodes carry none).
    static constexpr int SkillRole = Qt::UserRole;

protected:
    void BuildTree(SortedTreeBuilder& builder) override;
    QString NodeTip(const QTreeWidgetItem* node) const override;
    QString RecordTip(quintptr record) const override;
    void OnNodeSelected() override;
    void OnRowSelected() override;
    void MarkList() override;

private:
    void FillList();
    void SetupRank();
    void ShowInformation();
    QTreeWidgetItem* FindSkillNode(const CVARN_DBSkill* skill) const;

    void OnRankChanged(int rank);
    void OnFlagClicked();

    QSpinBox* m_rank = nullptr;
    QLabel* m_formula = nullptr;
    QLabel* m_strain = nullptr;
    QCheckBox* m_action = nullptr;
    QCheckBox* m_karma = nullptr;
    QPlainTextEdit* m_description = nullptr;

    const CVARN_DBSkill* m_selSkill = nullptr;
    CVARN_PCSkill* m_selCharSkill = nullptr;
};
