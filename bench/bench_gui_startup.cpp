// How long the desktop program takes to come up, and to open a character window, with the
// shipped data set and Qt's off-screen platform.
//
// BM_ProcessStartToMainWindow runs the built `varn` beside this program (it quits as soon
// as its main window is up); the others work inside this process.

#include "rules/RulesDatabase.h"
#include "ui/Doc.h"
#include "ui/DocManager.h"
#include "ui/MainFrame.h"
#include "ui/MultiDocTemplate.h"
#include "ui/QtPrompt.h"

#include "GuiBench.h"

#include <QApplication>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {
using gui_bench::QuietPrompt;

struct Program {
    RulesDatabase rules;
    std::unique_ptr<QuietPrompt> prompt;
    std::unique_ptr<CMyDocManager> docs;
    std::unique_ptr<CVARN_MainFrame> frame;

    Program() {
        CVARN_SilentPrompt silent;
        rules.dataDirectory = VARN_SHIPPED_DATA_DIR;
        LoadRulesDatabase(rules, rules.dataDirectory, silent);
        prompt = std::make_unique<QuietPrompt>(rules);
        docs = std::make_unique<CMyDocManager>(rules, *prompt);
        docs->AddDocTemplate(std::make_unique<CMyMultiDocTemplate>(*docs));
        frame = std::make_unique<CVARN_MainFrame>(*docs);
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

void BM_NewCharacterWindow(benchmark::State& state) {
    Program program;
    for (auto _ : state) {
        CVARN_Doc* doc = program.docs->OnFileNew();
        benchmark::DoNotOptimize(doc);
        state.PauseTiming();
        doc->OnCloseDocument();
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
        CVARN_Doc* doc = QFileInfo::exists(example) ? program.docs->OpenDocumentFile(example)
                                                    : program.docs->OnFileNew();
        if (doc == nullptr || !doc->SaveDocument(path)) {
            state.SkipWithError("no character to open");
            return;
        }
        doc->OnCloseDocument();
        Program::Flush();
    }
    for (auto _ : state) {
        CVARN_Doc* doc = program.docs->OpenDocumentFile(path);
        benchmark::DoNotOptimize(doc);
        state.PauseTiming();
        if (doc != nullptr)
            doc->OnCloseDocument();
        Program::Flush();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenCharacterWindow)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
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
