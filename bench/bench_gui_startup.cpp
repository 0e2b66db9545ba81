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

#include <QApplication>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace {
std::string ProgramBeside(const char* name) {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return name;
    std::string path(buffer, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/') + 1) + name;
}

// Message boxes would wait for a person; a benchmark has none.
class QuietPrompt : public CVARN_QtPrompt {
public:
    using CVARN_QtPrompt::CVARN_QtPrompt;
    void Inform(const QString&) override {}
    bool Confirm(const QString&) override { return false; }
    void Warn(const QString&) override {}
    SaveAnswer AskSaveChanges(const QString&) override { return SaveAnswer::No; }
};

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
    const std::string program = ProgramBeside("varn");
    if (access(program.c_str(), X_OK) != 0) {
        state.SkipWithError("varn is not built beside the benchmark");
        return;
    }
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (entry.rfind("QT_QPA_PLATFORM=", 0) != 0 && entry.rfind("VARN_EXIT", 0) != 0)
            env.push_back(entry);
    }
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("VARN_EXIT_AFTER_STARTUP=1");
    std::vector<char*> envp;
    for (std::string& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string arg0 = program;
    char* argv[] = {arg0.data(), nullptr};

    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);

    // The machine may be busy: the program's own processor time says more than the clock.
    double childCpu = 0;
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, program.c_str(), &quiet, nullptr, argv, envp.data()) != 0) {
            state.SkipWithError("cannot start varn");
            break;
        }
        int status = 0;
        struct rusage usage = {};
        wait4(pid, &status, 0, &usage);
        childCpu += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                    static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("varn did not start up");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&quiet);
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
