#pragma once

// What the desktop program's benchmarks share: quiet message boxes, key presses, the built
// programs beside the benchmark, and a whole start of `varn` timed by its own CPU use.

#include "shell/QtPrompt.h"

#include <QApplication>
#include <QKeyEvent>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

extern char** environ;

namespace gui_bench {

// Runs the registered benchmarks inside a widget application, off screen unless a platform is
// named.
inline int RunAll(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Message boxes would wait for a person; a benchmark has none.
class QuietPrompt : public QtPrompt {
public:
    using QtPrompt::QtPrompt;
    void inform(const QString&) override {}
    bool confirm(const QString&) override { return false; }
    void warn(const QString&) override {}
    SaveAnswer askSaveChanges(const QString&) override { return SaveAnswer::No; }
};

inline void PressKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

inline std::string ProgramBeside(const char* name) {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return name;
    std::string path(buffer, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/') + 1) + name;
}

// Runs `argv` with `extraEnv` added to this process's environment (standard error
// silenced); the child's CPU time (user + system) in milliseconds, or -1 when it could not
// start or did not end with status 0. On a busy machine the child's own processor time says
// more than the clock.
inline double ChildCpuMs(std::vector<std::string> argv, const std::vector<std::string>& extraEnv) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const std::string& extra : extraEnv)
            replaced = replaced || entry.rfind(extra.substr(0, extra.find('=') + 1), 0) == 0;
        if (!replaced)
            env.push_back(entry);
    }
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp, args;
    for (std::string& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    for (std::string& arg : argv)
        args.push_back(arg.data());
    args.push_back(nullptr);

    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, args[0], &quiet, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&quiet);
    if (failed != 0)
        return -1;
    int status = 0;
    struct rusage usage = {};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// One start of the desktop program at `program`, off screen, until its main window with a
// new character is up; its CPU milliseconds, or -1.
inline double StartupCpuMs(const std::string& program) {
    return ChildCpuMs({program}, {"QT_QPA_PLATFORM=offscreen", "VARN_EXIT_AFTER_STARTUP=1"});
}

} // namespace gui_bench
