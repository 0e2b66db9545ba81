// How long the desktop program takes to come up, and to open a character window, with the
// shipped data set and Qt's off-screen platform.
//
// BM_ProcessStartToMainWindow runs the built `varn` beside this program (it quits as soon
// as its main window is up); BM_StartAgainstEmptyWindow runs it in turn with the smallest Qt
// program of the same kind (this program with --empty-window: a main window with a menu), with
// the settings of an earlier run and, as a first run, with none; BM_StartWithLargeData runs it
// in turn with itself on a data set about a hundred times the shipped one, of several shapes;
// each gives the whole processes' CPU milliseconds and their ratio (and the large set's size
// against the shipped one). The others work inside this process.
//
// For timing by hand, `bench_gui_startup --empty-window` is that empty program and
// `bench_gui_startup --write-data DIR [SKILL_TYPES MAGIC_TYPES DISCIPLINES CATEGORIES [UNITS]]`
// writes a data set of UNITS units (100 when not given) for `varn --data DIR`.

#include "rules/RulesDatabase.h"
#include "shell/CharacterDocument.h"
#include "shell/DocumentManager.h"
#include "shell/MainWindow.h"
#include "shell/QtPrompt.h"

#include "GuiBench.h"
#include "SyntheticDataSet.h"

#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {
using gui_bench::QuietPrompt;

struct Program {
    RulesDatabase rules;
    std::unique_ptr<QuietPrompt> prompt;
    std::unique_ptr<DocumentManager> docs;
    std::unique_ptr<MainWindow> frame;

    Program() {
        CVARN_SilentPrompt silent;
        rules.dataDirectory = VARN_SHIPPED_DATA_DIR;
        LoadRulesDatabase(rules, rules.dataDirectory, silent);
        prompt = std::make_unique<QuietPrompt>(rules);
        docs = std::make_unique<DocumentManager>(rules, *prompt);
        frame = std::make_unique<MainWindow>(*docs);
        frame->resize(1600, 1000);
        frame->show();
    }
    ~Program() {
        frame.reset();
        Flush();
        docs.reset();
    }
    static void Flush() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
};

void BM_ProcessStartToMainWindow(benchmark::State& state) {
    const std::string program = gui_bench::ProgramBeside("varn");
    if (access(program.c_str(), X_OK) != 0) {
        state.SkipWithError("varn is not built beside the benchmark");
        return;
    }
    double childCpu = 0;
    for (auto _ : state) {
        const double cpu = gui_bench::StartupCpuMs(program);
        if (cpu < 0) {
            state.SkipWithError("varn did not start up");
            break;
        }
        childCpu += cpu;
    }
    state.counters["varn_cpu_ms"] = benchmark::Counter(
        childCpu / static_cast<double>(std::max<int64_t>(1, state.iterations())));
}
BENCHMARK(BM_ProcessStartToMainWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(20);

std::string Shipped() {
    return QFileInfo(QStringLiteral(VARN_SHIPPED_DATA_DIR)).absoluteFilePath().toStdString();
}

// The pair's CPU milliseconds, started in turn so that a drift of the machine hits both. Each
// keeps its settings in a folder of its own, filled by a start before the timed ones: the
// character window's size is kept there for the data set it was measured with, and two
// programs sharing one folder would measure it again at every start. For first runs the
// folders are emptied before each start instead.
enum class Settings { Kept, None };

void RunPair(benchmark::State& state, const std::vector<std::string>& a,
             const std::vector<std::string>& b, const char* nameA, const char* nameB,
             Settings settings = Settings::Kept) {
    const QTemporaryDir settingsA, settingsB;
    auto env = [](const QTemporaryDir& folder) {
        return std::vector<std::string>{"QT_QPA_PLATFORM=offscreen", "VARN_EXIT_AFTER_STARTUP=1",
                                        "XDG_CONFIG_HOME=" + folder.path().toStdString()};
    };
    auto start = [settings](const std::vector<std::string>& program, const QTemporaryDir& folder,
                            const std::vector<std::string>& programEnv) {
        if (settings == Settings::None) {
            std::error_code error;
            for (const auto& entry :
                 std::filesystem::directory_iterator(folder.path().toStdString(), error))
                std::filesystem::remove_all(entry.path(), error);
        }
        return gui_bench::ChildCpuMs(program, programEnv);
    };
    const std::vector<std::string> envA = env(settingsA), envB = env(settingsB);
    start(a, settingsA, envA);
    start(b, settingsB, envB);
    std::vector<double> ta, tb;
    for (auto _ : state) {
        const double x = start(a, settingsA, envA);
        const double y = start(b, settingsB, envB);
        if (x < 0 || y < 0) {
            state.SkipWithError("a program did not start up");
            return;
        }
        ta.push_back(x);
        tb.push_back(y);
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    state.counters[nameA] = median(ta);
    state.counters[nameB] = median(tb);
    state.counters["ratio"] = median(tb) > 0 ? median(ta) / median(tb) : 0;
}

// varn with the shipped data against an empty main window with a menu: with the settings of
// an earlier run (0), where the character window's size is kept, and as a first run (1).
void BM_StartAgainstEmptyWindow(benchmark::State& state) {
    const std::string varn = gui_bench::ProgramBeside("varn");
    RunPair(state, {varn, "--data", Shipped()},
            {gui_bench::ProgramBeside("bench_gui_startup"), "--empty-window"}, "varn_cpu_ms",
            "empty_cpu_ms", state.range(0) == 0 ? Settings::Kept : Settings::None);
}
BENCHMARK(BM_StartAgainstEmptyWindow)
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(15);

// varn with a data set about a hundred times the shipped one against varn with the shipped
// one. The shapes: as shipped; few and many skill types and types of magic; many disciplines;
// many equipment categories; many disciplines and categories together, with few and with many
// types. A unit of 40 disciplines is larger than one as shipped: of those shapes, a hundred
// units are some 140 times the shipped set, and the last two are cut to a hundred times.
void BM_StartWithLargeData(benchmark::State& state) {
    struct Large {
        varn_bench::DataShape shape;
        int units;
    };
    const Large sets[] = {{{}, 100},
                          {{1, 1, 10, 1}, 100},
                          {{50, 60, 10, 1}, 100},
                          {{5, 4, 40, 1}, 100},
                          {{5, 4, 10, 8}, 100},
                          {{5, 4, 40, 8}, 100},
                          {{50, 60, 40, 8}, 100},
                          {{5, 4, 40, 1}, 71},
                          {{50, 60, 40, 8}, 71}};
    const Large& set = sets[state.range(0)];
    std::string dir = (std::filesystem::temp_directory_path() / "varn-bench-XXXXXX").string();
    if (::mkdtemp(dir.data()) == nullptr) {
        state.SkipWithError("no temporary directory");
        return;
    }
    dir += '/';
    varn_bench::GenerateDataSet(dir, set.units, set.shape);
    const std::string varn = gui_bench::ProgramBeside("varn");
    RunPair(state, {varn, "--data", dir}, {varn, "--data", Shipped()}, "large_cpu_ms",
            "shipped_cpu_ms");
    state.counters["size_vs_shipped"] = static_cast<double>(varn_bench::DataSetBytes(dir)) /
                                        static_cast<double>(varn_bench::DataSetBytes(Shipped()));
    std::error_code error;
    std::filesystem::remove_all(dir, error);
}
BENCHMARK(BM_StartWithLargeData)
    ->DenseRange(0, 8)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(9);

void BM_NewCharacterWindow(benchmark::State& state) {
    Program program;
    for (auto _ : state) {
        CharacterDocument* doc = program.docs->fileNew();
        benchmark::DoNotOptimize(doc);
        state.PauseTiming();
        doc->close();
        Program::Flush();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_NewCharacterWindow)->Unit(benchmark::kMillisecond);

void BM_OpenCharacterWindow(benchmark::State& state) {
    Program program;
    QTemporaryDir scratch;
    const QString path = scratch.filePath("bench.vrn");
    {
        // The example veteran: many disciplines, talents, spells and pieces of equipment.
        const QString example = QStringLiteral(VARN_SHIPPED_DATA_DIR "../examples/veteran.vrn");
        CharacterDocument* doc = QFileInfo::exists(example)
                                     ? program.docs->openDocumentFile(example)
                                     : program.docs->fileNew();
        if (doc == nullptr || !doc->saveDocument(path)) {
            state.SkipWithError("no character to open");
            return;
        }
        doc->close();
        Program::Flush();
    }
    for (auto _ : state) {
        CharacterDocument* doc = program.docs->openDocumentFile(path);
        benchmark::DoNotOptimize(doc);
        state.PauseTiming();
        if (doc != nullptr)
            doc->close();
        Program::Flush();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenCharacterWindow)->Unit(benchmark::kMillisecond);
} // namespace

// The yardstick: what any Qt program with a main window and a menu costs to come up.
int EmptyWindow(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Open..."));
    file->addAction(QStringLiteral("E&xit"), &app, &QCoreApplication::quit);
    window.showMaximized();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--empty-window")
        return EmptyWindow(argc, argv);
    if (argc >= 3 && std::string(argv[1]) == "--write-data") {
        varn_bench::DataShape shape;
        int units = 100;
        int* fields[] = {&shape.skillTypes, &shape.magicTypes, &shape.disciplines,
                         &shape.categories, &units};
        for (int i = 3; i < argc && i < 8; ++i)
            *fields[i - 3] = std::max(1, std::atoi(argv[i]));
        std::filesystem::create_directories(argv[2]);
        varn_bench::GenerateDataSet(std::string(argv[2]) + "/", units, shape);
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The recent-file list of these runs goes to a scratch file, not the user's settings.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
