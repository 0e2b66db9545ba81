#pragma once

#include "editor/Page.h"

class CMyListCtrl;
class QCheckBox;
class QPushButton;
class QSpinBox;

// The "System" tab: the rule switches that travel with the character and its
// attribute point budget. Each change here is announced to the other pages,
// which apply the rule.
class CVARN_PageSystem : public CVARN_Page {
    Q_OBJECT
public:
    explicit CVARN_PageSystem(QWidget* parent = nullptr);

    void RefreshFromCharacter() override;

    // The data edition buttons: "Books", "Talents", "Equipment", "Spells", "Skills", "Disciplines",
    // "Races".
    static constexpr int DataEditionCount = 7;

private:
    void OnCompatibilityClicked(bool on);
    void OnAttributesCostClicked(bool on);
    void OnAttributeIncreaseClicked(bool on);
    void OnStoredOnlyClicked();
    void OnBudgetChanged(int points);

    QCheckBox* m_compatibility = nullptr;
    QCheckBox* m_attributesCost = nullptr;
    QSpinBox* m_budget = nullptr;
    QCheckBox* m_attributeIncrease = nullptr;
    QCheckBox* m_minMax = nullptr;
    QCheckBox* m_circleAdvancement = nullptr;
    QCheckBox* m_armorsWorn = nullptr;
    CMyListCtrl* m_books = nullptr;
    QPushButton* m_dataEdition[DataEditionCount] = {};
};
