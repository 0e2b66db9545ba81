#include "character/CharText.h"
#include "character/Character.h"

#include "rules/RulesDatabase.h"

#include <cctype>

CVARN_CharTalent::CVARN_CharTalent(const CVARN_DBTalent* entry) : talent(entry) {
    if (entry != nullptr)
        name = entry->name;
}

void CVARN_CharTalent::SetRank(int r) {
    rank = static_cast<int16_t>(r);
    legendCost = TalentCost(offerCircle, rank);
}

int16_t CVARN_CharTalent::ComputeTalentStep(const CVARN_Character& owner) {
    step = 0;
    if (rank > 0) {
        int sum = rank;
        if (talent != nullptr) {
            sum += talent->bonus;
            if (const CVARN_CharAtt* att = owner.AttByCode(talent->attribute))
                sum += att->step;
        }
        step = static_cast<int16_t>(sum);
    }
    return step;
}

void CVARN_CharTalent::RefreshDisciplines() {
    grantingDisciplines.clear();
    disciplinesText.clear();
    if (character == nullptr)
        return;
    for (const auto& d : character->disciplines) {
        if (d->discipline == nullptr)
            continue;
        const CVARN_DiscTalent* offer = d->discipline->FindDiscTalent(name);
        if (offer == nullptr || offer->circle > d->circle)
            continue;
        if (grantingDisciplines.empty())
            offerCircle = offer->circle;
        grantingDisciplines.push_back(d->discipline);
        if (!disciplinesText.empty())
            disciplinesText += ", ";
        disciplinesText += d->name;
        varn_text::AppendCircle(disciplinesText, offer->circle);
        // A durability talent carries the numbers of one offer only: the first discipline
        // that grants it names it, and the others are not looked at.
        if (varn_text::IsDurability(name)) {
            name = offer->name;
            break;
        }
    }
}

void CVARN_Character::SetTalentRank(CVARN_CharTalent* talent, int r) {
    // A record of another character would corrupt this one's legend account.
    if (talent == nullptr || talent->character != this || r < 0 || r > 15)
        return;
    talentLegend = static_cast<int32_t>(int64_t{talentLegend} - talent->legendCost);
    talent->SetRank(r);
    talentLegend = static_cast<int32_t>(int64_t{talentLegend} + talent->legendCost);
    Notify(HintTalentRank);
    Notify(HintLegend);
    SetModified();
    UpdateDurability(talent);
}

namespace {

// One number as "%hd" reads it: blanks, an optional sign, at least one digit; stored as
// 16 bits. False (and `out` untouched) when no number stands at `pos`.
bool ReadShort(const std::string& text, size_t& pos, int16_t& out) {
    size_t p = pos;
    while (p < text.size() && std::isspace(static_cast<unsigned char>(text[p])))
        ++p;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-'))
        negative = text[p++] == '-';
    if (p >= text.size() || !std::isdigit(static_cast<unsigned char>(text[p])))
        return false;
    uint32_t value = 0; // wraps like a 16-bit store would
    while (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p])))
        value = value * 10 + static_cast<uint32_t>(text[p++] - '0');
    if (negative)
        value = 0u - value;
    out = static_cast<int16_t>(static_cast<uint16_t>(value));
    pos = p;
    return true;
}

// A literal character of the pattern, after optional white space.
bool ReadLiteral(const std::string& text, size_t& pos, char c) {
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos])))
        ++pos;
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

} // namespace

void CVARN_Character::UpdateDurability(CVARN_CharTalent* talent) {
    if (talent == nullptr)
        return;
    if (!varn_text::IsNumberedDurability(talent->name))
        return;
    if (talent->rank >= 1) {
        durabilityRank = talent->rank;
        const std::string upper = varn_text::ToUpper(talent->name);
        // "( death / unconsciousness )"; a number that is not there keeps its old value.
        size_t pos = upper.find('(');
        if (ReadLiteral(upper, pos, '(') && ReadShort(upper, pos, deathPerRank) &&
            ReadLiteral(upper, pos, '/'))
            ReadShort(upper, pos, unconsciousnessPerRank);
    } else {
        durabilityRank = 0;
    }
    ComputeDamageRatings();
}

CVARN_CharTalent* CVARN_Character::FindCharTalent(const std::string& talentName) const {
    for (const auto& t : talents)
        if (varn_text::EqualNoCase(t->name, talentName))
            return t.get();
    return nullptr;
}
