// Speed of the character file and the text sheet, on the high-circle example character.

#include "character/Character.h"
#include "character/CharacterFile.h"
#include "character/TextSheet.h"
#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>

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

const std::string& VeteranBytes() {
    static const std::string bytes = [] {
        std::string path = std::string(VARN_SHIPPED_DATA_DIR) + "../examples/veteran.vrn";
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::cerr << "cannot read " << path << "\n";
            std::exit(1);
        }
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return bytes;
}

std::unique_ptr<CVARN_Character> Veteran() {
    auto c = std::make_unique<CVARN_Character>(Shipped());
    CVARN_SilentPrompt prompt;
    if (ReadCharacter(*c, VeteranBytes(), prompt) != CVARN_FileFailure::None) {
        std::cerr << "the veteran example does not read\n";
        std::exit(1);
    }
    return c;
}

// Reading includes building the character's records through the rules and destroying
// them again, as opening and closing a document does.
void BM_ReadCharacter(benchmark::State& state) {
    const std::string& bytes = VeteranBytes();
    CVARN_SilentPrompt prompt;
    for (auto _ : state) {
        CVARN_Character c(Shipped());
        benchmark::DoNotOptimize(ReadCharacter(c, bytes, prompt));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadCharacter);

void BM_WriteCharacter(benchmark::State& state) {
    auto c = Veteran();
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteCharacter(*c));
}
BENCHMARK(BM_WriteCharacter);

void BM_BuildTextSheet(benchmark::State& state) {
    auto c = Veteran();
    std::string sheet;
    for (auto _ : state) {
        BuildTextSheet(*c, sheet);
        benchmark::DoNotOptimize(sheet.data());
    }
}
BENCHMARK(BM_BuildTextSheet);

} // namespace

BENCHMARK_MAIN();
