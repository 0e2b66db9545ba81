#pragma once

#include "editor/Page.h"

#include <cstdint>
#include <vector>

class CVARN_CharDisc;
class CVARN_DBDiscipline;
struct CVARN_DiscTalent;
class QCheckBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QSpinBox;

// The "Discipline" tab: the disciplines the character may follow, the circle
// reached in the selected one (0 removes it), and a browser of its abilities
// and of its talents circle by circle. Setting the circle is the only change
// this page makes to the character.
class CVARN_PageDiscipline : public CVARN_Page {
    Q_OBJECT
public:
    explicit CVARN_PageDiscipline(QWidget* parent = nullptr);

    void RefreshFromCharacter() override;
    void OnCharacterRestored() override;
    void OnCharacterUpdate(int hint, CVARN_CharEquip* object) override;

    // Item data role of both lists: the CVARN_DBDiscipline* or the const
    // CVARN_DiscTalent* the entry carries, as a quintptr.
    static constexpr int EntryRole = Qt::UserRole;

    const CVARN_DBDiscipline* SelectedDiscipline() const { return m_discipline; }
    CVARN_CharDisc* SelectedRecord() const { return m_record; }
    const CVARN_DiscTalent* SelectedTalent() const { return m_talent; }

private:
    void FillDisciplines();
    void SelectDiscipline();
    void FillAbilities();
    void FillTalents();
    void SelectTalent();
    void ShowTalentFlags();
    QString EntryText(const CVARN_DBDiscipline& discipline) const;
    // Inserts in the list's order, first letters ignoring case.
    static void InsertSorted(QListWidget* list, QListWidgetItem* item);
    // Appends `items` (emptied) to an empty list in that order.
    static void AddSorted(QListWidget* list, std::vector<QListWidgetItem*>& items);

    void OnAdeptCircleChanged(int circle);
    void OnViewCircleChanged(int circle);

    QListWidget* m_disciplines = nullptr;
    QSpinBox* m_adeptCircle = nullptr;
    QPlainTextEdit* m_abilities = nullptr;
    QSpinBox* m_viewCircle = nullptr;
    QListWidget* m_talents = nullptr;
    QLabel* m_formula = nullptr;
    QLabel* m_strain = nullptr;
    QPlainTextEdit* m_talentDescription = nullptr;
    QCheckBox* m_action = nullptr;
    QCheckBox* m_karma = nullptr;
    QCheckBox* m_discTalent = nullptr;
    QPlainTextEdit* m_information = nullptr;

    const CVARN_DBDiscipline* m_discipline = nullptr;
    CVARN_CharDisc* m_record = nullptr;
    const CVARN_DiscTalent* m_talent = nullptr;
    int m_talentIndex = -1;
    int16_t m_adept = 0;
    int16_t m_viewed = 1;
    // Set while the page fills or selects in its own lists; their signals are
    // then ignored.
    bool m_filling = false;
};
