#include "rules/RulesDatabase.h"
#include "tools/Commands.h"
#include "tools/ToolPrompt.h"

#include <iostream>

int CommandCheck(const std::string& dataDirectory, bool answerYes) {
    ToolPrompt prompt(answerYes);
    RulesDatabase db;
    if (!LoadRulesDatabase(db, dataDirectory, prompt))
        return 1;
    std::cout << "races=" << db.raceTable.races.size()
              << " disciplines=" << db.disciplineList.disciplines.size()
              << " talents=" << db.talentTable.Count() << " skills=" << db.skillTable.Count()
              << " spells=" << db.spellTable.Count() << " items=" << db.equipmentDatabase.Count()
              << '\n';
    return std::cout.flush() ? 0 : 1;
}
