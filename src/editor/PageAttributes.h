#pragma once

#include "editor/Page.h"
#include "rules/RaceDatabase.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

// The "Attributes" tab: race, the six attributes with their base values bought
// in attribute points and their increases bought in legend points, karma, and
// every characteristic the character derives from them.
class CVARN_PageAttributes : public CVARN_Page {
    Q_OBJECT
public:
    explicit CVARN_PageAttributes(QWidget* parent = nullptr);

    void RefreshFromCharacter() override;
    void OnCharacterUpdate(int hint, CVARN_CharEquip* object) override;

    // Karma amounts typed beyond this are taken as this: the karma fields are
    // 16-bit.
    static constexpr int KarmaLimit = 32767;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillRaceList();
    void RaceDisplay();
    void LevelPositions();
    void PointsDisplay();
    void StepDisplay();
    void ValueDisplay();
    void IncreaseDisplay();
    void DefensesDisplay();
    void ArmorsDisplay();
    void MovementDisplay();
    void DamageDisplay();
    void InitiativeDisplay();
    void CapacityDisplay();
    void KarmaDisplay();
    void KarmaAvailableDisplay();

    void OnRaceActivated(int index);
    void OnBaseChanged(CVARN_AttributeSlot a, int value);
    void OnLevelChanged(CVARN_AttributeSlot a, int value);
    void OnKarmaEdited(QLineEdit* edit);

    QComboBox* m_race = nullptr;
    QSpinBox* m_base[AttCount] = {};
    QSpinBox* m_level[AttCount] = {};
    QLabel* m_modifier[AttCount] = {};
    QLabel* m_value[AttCount] = {};
    QLabel* m_step[AttCount] = {};
    QLabel* m_points = nullptr;
    QLabel* m_pointsIcon = nullptr;
    QLabel* m_increases = nullptr;
    QLabel* m_increasesIcon = nullptr;
    QPlainTextEdit* m_abilities = nullptr;
    QLabel* m_initiative = nullptr;
    QLabel* m_physicalDefense = nullptr;
    QLabel* m_spellDefense = nullptr;
    QLabel* m_socialDefense = nullptr;
    QLabel* m_physicalArmor = nullptr;
    QLabel* m_mysticArmor = nullptr;
    QLabel* m_land = nullptr;
    QLabel* m_fly = nullptr;
    QLabel* m_death = nullptr;
    QLabel* m_unconsciousness = nullptr;
    QLabel* m_wound = nullptr;
    QLabel* m_recoveryTests = nullptr;
    QLabel* m_recoveryDice = nullptr;
    QLabel* m_carry = nullptr;
    QLabel* m_lift = nullptr;
    QLabel* m_karmaCost = nullptr;
    QLabel* m_karmaMax = nullptr;
    QLabel* m_karmaDice = nullptr;
    QLineEdit* m_karmaBought = nullptr;
    QLineEdit* m_karmaSpent = nullptr;
    QLabel* m_karmaAvailable = nullptr;
    QLabel* m_karmaIcon = nullptr;

    // Karma was typed and the other pages have not been told yet.
    bool m_karmaEdited = false;
};
