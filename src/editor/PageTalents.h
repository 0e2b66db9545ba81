#pragma once

#include "editor/Page.h"

class CMyListCtrl;
class CVARN_FindField;
class CVARN_CharTalent;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QSpinBox;

// The "Talents" tab: the talents the character's disciplines grant, with rank,
// granting disciplines, formula and step; the rank of the selected talent is
// set with the arrows or with the Left and Right keys in the list. Below, what
// the character still lacks to hold its circles, with a warning icon.
class CVARN_PageTalents : public CVARN_Page {
    Q_OBJECT
public:
    explicit CVARN_PageTalents(QWidget* parent = nullptr);

    void RefreshFromCharacter() override;
    void OnCharacterRestored() override;
    void OnCharacterUpdate(int hint, CVARN_CharEquip* object) override;

    enum Column { ColName, ColRank, ColDiscipline, ColFormula, ColStep };

    CVARN_CharTalent* SelectedTalent() const { return m_talent; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillList();
    void SyncSelection();
    void ShowRow(int row, const CVARN_CharTalent& talent);
    void ChangeRank();
    void CheckDisplay();

    QSpinBox* m_rank = nullptr;
    QCheckBox* m_showRankZero = nullptr;
    CMyListCtrl* m_list = nullptr;
    CVARN_FindField* m_find = nullptr;
    QLabel* m_warning = nullptr;
    QPlainTextEdit* m_check = nullptr;

    int m_selectedRow = -1;
    CVARN_CharTalent* m_talent = nullptr;
    // Set while the page fills the list, whose selection signals are then not the
    // user's.
    bool m_filling = false;
};
