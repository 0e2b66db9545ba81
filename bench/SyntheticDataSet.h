#pragma once

// The synthetic data set of the benchmarks: the seven data files about a hundred times the
// shipped ones (many disciplines, talents, skills, spells, races and items in the shipped
// proportions, with matrix talents, weaving variants and race lists), generated into a
// temporary directory.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace varn_bench {

// Pronounceable names with a spread of letters, so that the byte-sum buckets fill the way
// they do with real names.
class NameMaker {
public:
    std::string Word() {
        static const char* const syllables[] = {"ka",  "lor", "vin", "dre", "tha", "mus", "el",
                                                "gar", "sil", "ond", "bre", "qua", "zen", "ur",
                                                "fyr", "hal", "wex", "ip",  "cor", "nim"};
        std::string word;
        const int n = 2 + static_cast<int>(random() % 3);
        for (int i = 0; i < n; ++i)
            word += syllables[random() % std::size(syllables)];
        word[0] = static_cast<char>(word[0] - 'a' + 'A');
        return word;
    }
    // A unique name: words plus a serial number.
    std::string Name(int words) {
        std::string name;
        for (int i = 0; i < words; ++i) {
            if (i > 0)
                name += ' ';
            name += Word();
        }
        return name + " " + std::to_string(++serial);
    }
    int Pick(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }

private:
    std::mt19937 random{12345};
    int serial = 0;
};

// How the entries of one unit are grouped: skill types, types of magic, disciplines and
// equipment categories per unit (the shipped files have about 5, 4, 10 and 5). A unit of the
// shipped shape is about 0.8 times the shipped files; one of 40 disciplines about 1.4 times.
struct DataShape {
    int skillTypes = 5;
    int magicTypes = 4;
    int disciplines = 10;
    int categories = 1; // sub-categories of each kind of equipment
};

// The size of a data set's files together, in bytes.
inline uintmax_t DataSetBytes(const std::string& dir) {
    uintmax_t total = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error))
        if (entry.is_regular_file(error))
            total += entry.file_size(error);
    return total;
}

inline void GenerateDataSet(const std::string& dir, int units, DataShape shape = {}) {
    NameMaker names;
    std::ofstream skills(dir + "Skills.dat"), races(dir + "Races.dat"),
        talents(dir + "Talents.dat"), disciplines(dir + "Disciplines.dat"),
        spells(dir + "Spells.dat"), equipment(dir + "Equipment.dat"), varn(dir + "VARN.dat");
    static const char* const attributes[] = {"Dex", "Str", "Tou", "Per", "Wil", "Cha"};
    const std::string prose = "A line of description that runs on for a while, as they do.";

    talents << "[Durability]\nFormula: none\n[Thread Weaving]\nFormula: Per\nAction: Yes\n"
            << "[Karma Ritual]\nFormula: none\n";
    for (int unit = 0; unit < units; ++unit) {
        std::vector<std::string> raceNames, talentNames, matrixNames;
        // Each unit brings its own handful of skill types and types of magic, as many as the
        // shipped files have: a data set of many groups' files has many of them, each shared
        // by some ten entries (not a type per entry).
        std::vector<std::string> skillTypes, magicTypes;
        for (int i = 0; i < shape.skillTypes; ++i)
            skillTypes.push_back(names.Word());
        for (int i = 0; i < shape.magicTypes; ++i)
            magicTypes.push_back(names.Word());
        // Entry and line counts per unit follow the shipped files.
        for (int i = 0; i < 50; ++i) {
            skills << "[" << names.Name(2)
                   << "]\nType: " << skillTypes[names.Pick(shape.skillTypes)]
                   << "\nFormula: " << attributes[names.Pick(6)] << " + " << names.Pick(3) << "\n"
                   << (names.Pick(2) ? "Action: Yes\n" : "") << prose << "\n\n";
        }
        for (int i = 0; i < 7; ++i) {
            raceNames.push_back(names.Name(1));
            races << "[" << raceNames.back() << "]\n";
            for (int a = 0; a < 3; ++a)
                races << "Att: " << attributes[names.Pick(6)] << " " << names.Pick(5) - 2 << "\n";
            races << "Min: Str 5\nMax: Dex 16\nMvt: 1\nKarma Cost: 10\nKarma Max: 20\n"
                  << "Karma Start: 10\nKarma Step: 4\nRecovery Test: 1\nAbility: " << prose
                  << "\nAbility: " << prose << "\n\n";
        }
        for (int i = 0; i < 133; ++i) {
            const bool matrix = i < 2;
            (matrix ? matrixNames : talentNames).push_back(names.Name(2));
            talents << "[" << (matrix ? matrixNames.back() : talentNames.back()) << "]\n";
            if (matrix)
                talents << "Matrix: yes\n";
            else
                talents << "Formula: " << attributes[names.Pick(6)] << " + " << names.Pick(3)
                        << "\nAction: yes\n"
                        << (names.Pick(2) ? "Karma: yes\n" : "")
                        << (names.Pick(8) == 0 ? "Skill: yes\n" : "");
            talents << prose << "\n" << (names.Pick(2) ? prose + "\n" : "") << "\n";
        }
        for (int i = 0; i < shape.disciplines; ++i) {
            const std::string discipline = names.Name(1);
            disciplines << "[" << discipline << "]\n"
                        << prose << "\n"
                        << prose << "\n"
                        << prose << "\nForbidden Races: " << raceNames[names.Pick(7)]
                        << "\nTalent: Karma Ritual (" << discipline << ") |1|Y\n"
                        << "Talent: Thread Weaving (" << discipline << ") |1|Y\n"
                        << "Talent: Durability (" << 4 + names.Pick(4) << "/3) |2|Y\n";
            for (int t = 0; t < 21; ++t) {
                const int circle = 1 + t * 15 / 21;
                const std::string& talent =
                    t % 5 == 0 ? matrixNames[names.Pick(2)] : talentNames[names.Pick(131)];
                disciplines << "Talent: " << talent << " |" << circle << "|"
                            << (names.Pick(3) ? "Y" : "N") << "\n";
            }
            disciplines << "Modifier: Spell Def: (3) 1\nModifier: Karma Step: (5) 1\n"
                        << "Modifier: Spell Def: (7) 1\nModifier: Karma Max: (9) 10\n"
                        << "Ability: (5) " << prose << "\nAbility: (10) " << prose << "\n\n";
        }
        for (int i = 0; i < 67; ++i) {
            const int magic = names.Pick(shape.magicTypes);
            const int other = (magic + 1 + names.Pick(3)) % shape.magicTypes;
            spells << "[" << names.Name(2) << "]\nType: " << magicTypes[magic]
                   << (names.Pick(4) || other == magic ? "" : ", " + magicTypes[other])
                   << "\nCircle: " << 1 + names.Pick(8)
                   << "\nThreads: 1\nWeaving: 6/12\nReattuning: 15\nRange: 30 yards\n"
                   << "Duration: 5 rounds\nEffect: Step 8\n"
                   << prose << "\n\n";
        }
        // Each kind's entries spread over its categories; a category's name is the unit's own.
        auto section = [&](const char* kind, int i, int count) {
            const int per = std::max(1, (count + shape.categories - 1) / shape.categories);
            if (i % per == 0)
                equipment << "[" << kind << (shape.categories > 1 ? "->" + names.Word() : "")
                          << "]\n";
        };
        for (int i = 0; i < 15; ++i) {
            section("Miscellaneous->Goods", i, 15);
            equipment << names.Name(2) << " | 2.5 | 1 |\n";
        }
        for (int i = 0; i < 10; ++i) {
            section("Armors->Light", i, 10);
            equipment << names.Name(2) << " | 40 | 4 | 1 | 12 | 1 |\n";
        }
        for (int i = 0; i < 8; ++i) {
            section("Shields", i, 8);
            equipment << names.Name(2) << " | 20 | 2 | 0 | 8 | 1 | 18 |\n";
        }
        for (int i = 0; i < 20; ++i) {
            section("Weapons->Blades", i, 20);
            equipment << names.Name(2) << " | 25 | 5 | 11 | 12 | 4 | 3 |\n";
        }
        for (int i = 0; i < 4; ++i) {
            section("Thread Armors", i, 4);
            equipment << names.Name(2) << " | 900 | 5 | 3 | 20 | 1 |\n";
            for (int rank = 1; rank <= 4; ++rank)
                equipment << "Power: (" << rank << ") Physic Armor: " << rank << "\n";
        }
    }
    const int highest = 50 * units;
    varn << "[Attributes]\n";
    for (int v = highest; v >= 1; --v)
        varn << v << ' ' << v / 2 << ' ' << 6 * v << ' ' << 3 * v << ' ' << 10 * v << ' ' << 20 * v
             << ' ' << v + 20 << ' ' << v / 2 + 3 << ' ' << v + 10 << ' ' << v / 5 + 1 << ' '
             << v / 3 << '\n';
    varn << "[Action Dice]\n";
    for (int step = highest; step >= 1; --step)
        varn << step << " " << step / 6 << "D12+D" << 4 + 2 * (step % 5) << "\n";
}

// The synthetic set lives in a temporary directory for the whole run.
struct SyntheticSet {
    explicit SyntheticSet(DataShape shape = {}) {
        std::string pattern = (std::filesystem::temp_directory_path() / "varn-bench-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        dir = pattern + "/";
        GenerateDataSet(dir, 100, shape);
    }
    ~SyntheticSet() {
        std::error_code error;
        std::filesystem::remove_all(dir, error);
    }
    std::string dir;
};

} // namespace varn_bench
