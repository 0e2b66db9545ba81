#pragma once

// Runs varn-tool as a user runs it from a shell, and keeps its exit code and what it printed.

#include "support/TempDir.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

struct ToolResult {
    int status = -1;
    std::string out, err;
};

inline std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Standard output goes to `out` when given (a device such as /dev/full), else it is kept.
inline ToolResult RunTool(const std::vector<std::string>& args, const std::string& out = "") {
    TempDir capture;
    std::string command = Quote(VARN_TOOL_PATH);
    for (const std::string& a : args)
        command += " " + Quote(a);
    command += " >" + Quote(out.empty() ? capture.path + "out" : out) + " 2>" +
               Quote(capture.path + "err") + " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(capture.path + "out"),
            Slurp(capture.path + "err")};
}
