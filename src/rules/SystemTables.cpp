#include "rules/SystemTables.h"

#include "rules/DataFile.h"
#include "rules/UserPrompt.h"

#include <algorithm>
#include <limits>

using namespace DataFile;

const CVARN_AttributeRow& SystemTables::AttributeRow(int value) const {
    static const CVARN_AttributeRow zeros;
    if (attributeRows.empty())
        return zeros;
    const int last = static_cast<int>(attributeRows.size()) - 1;
    return attributeRows[static_cast<size_t>(std::clamp(value, 0, last))];
}

std::string SystemTables::GetActionDice(int step) const {
    if (diceTexts.empty())
        return {};
    const int last = static_cast<int>(diceTexts.size()) - 1;
    return diceTexts[static_cast<size_t>(std::clamp(step, 0, last))];
}

namespace {

enum class Section { None, Attributes, ActionDice };

// The row key of a table line: a value that does not fit the 16-bit highest value cannot
// index the table, so such a line is dropped rather than clamped onto another row.
bool ScanRowKey(std::string_view& text, int& key) {
    int64_t value = 0;
    if (!ScanInteger(text, value) || value > std::numeric_limits<int16_t>::max())
        return false;
    key = static_cast<int>(value);
    return true;
}

void ReadAttributeLine(SystemTables& tables, std::string_view text) {
    int value = 0;
    if (!ScanRowKey(text, value))
        return;
    if (tables.attributeRows.empty()) {
        tables.attributeRows.resize(static_cast<size_t>(value) + 1);
        tables.highestAttributeValue = static_cast<int16_t>(value);
    }
    // The first row fixes the table: a larger value later has no row to land in.
    if (value > tables.highestAttributeValue)
        return;
    CVARN_AttributeRow& row = tables.attributeRows[static_cast<size_t>(value)];
    // File columns: defense, full and combat movement, carrying, lifting, death, wound
    // threshold, unconsciousness, recovery tests, mystic armor. A short row sets what it has.
    int16_t* const columns[] = {
        &row.defense,       &row.fullMovement, &row.combatMovement, &row.carrying,
        &row.lifting,       &row.deathBase,    &row.woundThreshold, &row.unconsciousnessBase,
        &row.recoveryTests, &row.mysticArmor};
    for (int16_t* column : columns)
        if (!ScanInt16(text, *column))
            break;
}

void ReadDiceLine(SystemTables& tables, std::string_view text) {
    int step = 0;
    if (!ScanRowKey(text, step))
        return;
    if (tables.diceTexts.empty()) {
        tables.diceTexts.resize(static_cast<size_t>(step) + 1);
        tables.highestStep = static_cast<int16_t>(step);
    }
    if (step > tables.highestStep)
        return;
    // One word: the text up to the next white space.
    const std::string_view rest = TrimLeft(text);
    size_t end = 0;
    while (end < rest.size() && !IsWhiteSpace(rest[end]))
        ++end;
    if (end > 0)
        tables.diceTexts[static_cast<size_t>(step)] = std::string(rest.substr(0, end));
}

} // namespace

bool ReadSystemTables(SystemTables& tables, const std::string& dataDirectory,
                      CVARN_UserPrompt& prompt) {
    Reader file;
    if (!OpenDataFile(file, dataDirectory, "VARN.dat", "File 'VARN.dat' not found", prompt))
        return false;

    Section section = Section::None;
    std::string_view raw;
    while (file.NextLine(raw)) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line[0] == '#')
            continue;
        if (EqualsNoCase(line, "[Attributes]")) {
            section = Section::Attributes;
            continue;
        }
        if (EqualsNoCase(line, "[Action Dice]")) {
            section = Section::ActionDice;
            continue;
        }
        if (line[0] < '0' || line[0] > '9')
            continue;
        if (section == Section::Attributes)
            ReadAttributeLine(tables, line);
        else if (section == Section::ActionDice)
            ReadDiceLine(tables, line);
    }
    return !file.ReadFailed();
}
