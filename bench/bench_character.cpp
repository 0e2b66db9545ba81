// Speed of the character's recomputations on the shipped data set.

#include "character/Character.h"
#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>

namespace {

RulesDatabase& Shipped() {
    static RulesDatabase* db = [] {
        auto* rules = new RulesDatabase;
        CVARN_SilentPrompt prompt;
        if (!LoadRulesDatabase(*rules, VARN_SHIPPED_DATA_DIR, prompt)) {
            std::cerr << "cannot load the shipped data from " << VARN_SHIPPED_DATA_DIR << "\n";
            std::exit(1);
        }
        return rules;
    }();
    return *db;
}

// A developed character: the first discipline at circle 8, the second at 4, every talent
// ranked, a few skills and a worn armour.
void Develop(CVARN_Character& c) {
    RulesDatabase& db = Shipped();
    c.SetRace(db.raceTable.races.front().get());
    c.SetDisciplineCircle(db.disciplineList.disciplines[0].get(), 8);
    c.SetDisciplineCircle(db.disciplineList.disciplines[1].get(), 4);
    for (const auto& t : c.talents)
        c.SetTalentRank(t.get(), 6);
    int n = 0;
    for (CVARN_DBSkill* s = db.skillTable.First(); s != nullptr && n < 5;
         s = db.skillTable.Next(s), ++n)
        c.SetSkillRank(s, 3);
    if (!db.equipmentDatabase.armors.empty()) {
        auto* piece = static_cast<CVARN_CharEquipArmor*>(
            c.AddEquipment(db.equipmentDatabase.armors.front().get()));
        piece->worn = 1;
        c.EquipmentChanged(piece);
    }
}

void BM_RecomputeAll(benchmark::State& state) {
    CVARN_Character c(Shipped());
    Develop(c);
    for (auto _ : state) {
        c.RecomputeAll();
        benchmark::DoNotOptimize(c.initiativeStep);
    }
}
BENCHMARK(BM_RecomputeAll);

void BM_TalentRankChange(benchmark::State& state) {
    CVARN_Character c(Shipped());
    Develop(c);
    CVARN_CharTalent* talent = c.talents.front().get();
    int rank = 0;
    for (auto _ : state) {
        rank = rank == 7 ? 6 : 7;
        c.SetTalentRank(talent, rank);
        benchmark::DoNotOptimize(c.talentLegend);
    }
}
BENCHMARK(BM_TalentRankChange);

void BM_DisciplineCircleZeroToFifteenAndBack(benchmark::State& state) {
    RulesDatabase& db = Shipped();
    CVARN_Character c(db);
    c.SetRace(db.raceTable.races.front().get());
    CVARN_DBDiscipline* discipline = db.disciplineList.disciplines.front().get();
    for (auto _ : state) {
        c.SetDisciplineCircle(discipline, 15);
        c.SetDisciplineCircle(discipline, 0);
        benchmark::DoNotOptimize(c.talents.size());
    }
}
BENCHMARK(BM_DisciplineCircleZeroToFifteenAndBack);

void BM_CheckCircleRequirements(benchmark::State& state) {
    CVARN_Character c(Shipped());
    Develop(c);
    for (auto _ : state)
        benchmark::DoNotOptimize(c.CheckCircleRequirements());
}
BENCHMARK(BM_CheckCircleRequirements);

} // namespace

BENCHMARK_MAIN();
