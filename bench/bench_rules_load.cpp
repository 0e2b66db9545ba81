// Loading the rules database, against a floor that only reads the same files line by line.
//
// Three data sets: the shipped one, and two synthetic ones of SyntheticDataSet.h, about a
// hundred times larger, generated into a temporary directory: one of the shipped shape, one
// with four times the disciplines (the reader that resolves the most names) and eight
// equipment categories per group. After the runs the ratio load / getline
// is printed for each set. With "--write-set DIR" the program only writes the synthetic set
// into DIR.

#include "SyntheticDataSet.h"
#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using varn_bench::SyntheticSet;

const char* const dataFiles[] = {"Skills.dat", "Races.dat",     "Talents.dat", "Disciplines.dat",
                                 "Spells.dat", "Equipment.dat", "VARN.dat"};

const std::string& DataDir(int set) {
    static const std::string shipped = VARN_SHIPPED_DATA_DIR;
    static const SyntheticSet synthetic;
    static const SyntheticSet manyDisciplines(varn_bench::DataShape{5, 4, 40, 8});
    return set == 0 ? shipped : set == 1 ? synthetic.dir : manyDisciplines.dir;
}

int64_t SetBytes(const std::string& dir) {
    int64_t bytes = 0;
    for (const char* file : dataFiles) {
        std::error_code error;
        const auto size = std::filesystem::file_size(dir + file, error);
        bytes += error ? 0 : static_cast<int64_t>(size);
    }
    return bytes;
}

void BM_Load(benchmark::State& state) {
    const std::string& dir = DataDir(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto db = std::make_unique<RulesDatabase>();
        CVARN_SilentPrompt prompt;
        if (!LoadRulesDatabase(*db, dir, prompt)) {
            state.SkipWithError("the data set does not load");
            break;
        }
        // Freeing the tables is not loading them.
        state.PauseTiming();
        db.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * SetBytes(dir));
}

// What any reader must pay at least: opening the seven files and reading every line.
void BM_Getline(benchmark::State& state) {
    const std::string& dir = DataDir(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        size_t total = 0;
        for (const char* file : dataFiles) {
            std::ifstream in(dir + file, std::ios::in | std::ios::binary);
            std::string line;
            while (std::getline(in, line))
                total += line.size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * SetBytes(dir));
}

// A discipline that offers one matrix talent N times: each offer gets the next free number, and
// N such offers must take about N times as long as one.
void BM_RepeatedMatrixOffers(benchmark::State& state) {
    struct Files {
        explicit Files(int64_t offers) {
            std::string pattern = (std::filesystem::temp_directory_path() / "varn-bench-XXXXXX");
            if (::mkdtemp(pattern.data()) == nullptr)
                std::abort();
            dir = pattern + "/";
            std::ofstream(dir + "Talents.dat") << "[Woven Matrix]\nMatrix: yes\n";
            std::ofstream disciplines(dir + "Disciplines.dat");
            disciplines << "[Hoarder]\n";
            for (int64_t i = 0; i < offers; ++i)
                disciplines << "Talent: Woven Matrix |" << 1 + i % 15 << "|N\n";
        }
        ~Files() {
            std::error_code error;
            std::filesystem::remove_all(dir, error);
        }
        std::string dir;
    };
    const Files files(state.range(0));
    for (auto _ : state) {
        SkillTable skills;
        RaceTable races;
        TalentTable talents;
        DisciplineList disciplines;
        CVARN_SilentPrompt prompt;
        ReadTalents(talents, skills, races, files.dir, prompt);
        if (ReadDisciplines(disciplines, talents, races, files.dir, prompt) != ReadResult::Ok ||
            disciplines.disciplines[0]->talents.size() != static_cast<size_t>(state.range(0))) {
            state.SkipWithError("the offers do not load");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RepeatedMatrixOffers)
    ->Arg(1000)
    ->Arg(8000)
    ->ArgName("offers")
    ->Unit(benchmark::kMillisecond);

// Several repetitions, compared by their fastest: a shared machine's noise comes and goes
// between the runs of the two benchmarks and only ever adds time.
double Fastest(const std::vector<double>& times) {
    return times.empty() ? 0 : *std::min_element(times.begin(), times.end());
}

BENCHMARK(BM_Load)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("set")
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ComputeStatistics("min", Fastest)
    ->ReportAggregatesOnly();
BENCHMARK(BM_Getline)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("set")
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ComputeStatistics("min", Fastest)
    ->ReportAggregatesOnly();

// Prints the usual table, then load / getline for each set: of the fastest runs when the
// runs were repeated, else of the single runs.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if ((run.run_type == Run::RT_Iteration || median) && !run.error_occurred)
                times[run.run_name.function_name + "/" + run.run_name.args] = {
                    run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        }
    }
    void PrintRatios() const {
        const char* const setNames[] = {"shipped", "synthetic (x100)",
                                        "synthetic (x100, 40 disciplines a group)"};
        for (int set = 0; set < 3; ++set) {
            const std::string suffix = "/set:" + std::to_string(set);
            const auto load = times.find("BM_Load" + suffix);
            const auto floor = times.find("BM_Getline" + suffix);
            if (load == times.end() || floor == times.end() || floor->second.real <= 0 ||
                floor->second.cpu <= 0)
                continue;
            // CPU time as well: on a busy machine the wall clock also counts waiting.
            std::cout << "load / getline, " << setNames[set] << " set (" << SetBytes(DataDir(set))
                      << " bytes): real time x" << load->second.real / floor->second.real
                      << ", CPU time x" << load->second.cpu / floor->second.cpu << "\n";
        }
    }

private:
    struct Times {
        double real = 0;
        double cpu = 0;
    };
    std::map<std::string, Times> times;
};

} // namespace

int main(int argc, char** argv) {
    // For measuring whole programs on the same set (bench/load_vs_awk.sh).
    if (argc == 3 && std::string_view(argv[1]) == "--write-set") {
        const std::string dir = std::string(argv[2]) + "/";
        std::filesystem::create_directories(dir);
        varn_bench::GenerateDataSet(dir, 100);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
