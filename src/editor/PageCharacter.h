#pragma once

#include "editor/Page.h"

#include <cstdint>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

// The "Character" tab: the character's name and description, the three legend
// amounts the player enters by hand, and what has been spent and what is left.
class CVARN_PageCharacter : public CVARN_Page {
    Q_OBJECT
public:
    explicit CVARN_PageCharacter(QWidget* parent = nullptr);

    void RefreshFromCharacter() override;
    void OnCharacterUpdate(int hint, CVARN_CharEquip* object) override;

    // Typed amounts are held to this magnitude, so that earned + creation and
    // every difference of the legend account stay inside 32 bits.
    static constexpr int32_t AmountLimit = 999999999;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LegendDisplay();
    // Name and description, from the character.
    void TextDisplay();
    void AvailableDisplay();
    void OnAmountEdited(QLineEdit* edit);
    void CommitAmounts();

    QLineEdit* m_name = nullptr;
    QPlainTextEdit* m_description = nullptr;
    QLineEdit* m_creation = nullptr;
    QLineEdit* m_earned = nullptr;
    QLineEdit* m_extra = nullptr;
    QLabel* m_spent = nullptr;
    QLabel* m_available = nullptr;
    QLabel* m_availableIcon = nullptr;

    // An amount was typed and the other pages have not been told yet.
    bool m_edited = false;
    // Set while the page writes into its own edits, whose change signals are then
    // not the user's.
    bool m_filling = false;
};
