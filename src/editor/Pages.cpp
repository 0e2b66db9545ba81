#include "editor/Pages.h"

#include "editor/PageAttributes.h"
#include "editor/PageCharacter.h"
#include "editor/PageDiscipline.h"
#include "editor/PageEquipment.h"
#include "editor/PageSkills.h"
#include "editor/PageSpells.h"
#include "editor/PageSystem.h"
#include "editor/PageTalents.h"

std::unique_ptr<CVARN_Page> CreateCharacterPage(int tab) {
    switch (tab) {
    case 0:
        return std::make_unique<CVARN_PageCharacter>();
    case 1:
        return std::make_unique<CVARN_PageAttributes>();
    case 2:
        return std::make_unique<CVARN_PageDiscipline>();
    case 3:
        return std::make_unique<CVARN_PageTalents>();
    case 4:
        return std::make_unique<CVARN_PageSkills>();
    case 5:
        return std::make_unique<CVARN_PageEquipment>();
    case 6:
        return std::make_unique<CVARN_PageSpells>();
    case 7:
        return std::make_unique<CVARN_PageSystem>();
    default:
        return nullptr;
    }
}
