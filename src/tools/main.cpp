#include "rules/RulesDatabase.h"
#include "tools/Commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view usage =
    "usage: varn-tool check   [--data DIR] [--yes]\n"
    "       varn-tool sheet   [--data DIR] FILE.vrn\n"
    "       varn-tool convert [--data DIR] IN.vrn OUT\n"
    "       varn-tool export  [--data DIR] IN.vrn OUT.json|OUT.html\n"
    "       varn-tool import  [--data DIR] IN.json OUT.vrn\n"
    "\n"
    "  check    load the rules database as the desktop program does at start-up\n"
    "  sheet    print a character's text sheet to standard output\n"
    "  convert  read a character and save it to OUT (.vrn: character file, else text sheet)\n"
    "  export   write a character as JSON, or its laid-out sheet as one HTML page\n"
    "  import   build a character from JSON and save it; nothing is written on error\n"
    "\n"
    "  --data DIR  the data directory itself (default: the desktop program's)\n"
    "  --yes       answer OK to the question to rename a shortened data-file name\n";

int UsageError(std::string_view problem) {
    std::cerr << "varn-tool: " << problem << "\n" << usage;
    return 2;
}

// Standard output is buffered: a full disk or a closed pipe shows only when the buffer is
// flushed, often at exit where nobody looks. Flush and close it here and turn any write
// that failed along the way into a message and a failing status. std::cout writes through
// stdout's buffer (the streams stay synchronised), so this covers both.
int FinishOutput(int status) {
    int err = 0;
    if (std::fflush(stdout) != 0)
        err = errno;
    if (err == 0 && (std::ferror(stdout) || !std::cout))
        err = EIO;
    if (std::fclose(stdout) != 0 && err == 0)
        err = errno;
    if (err == 0)
        return status;
    std::cerr << "varn-tool: cannot write to standard output: " << std::strerror(err) << "\n";
    return status == 0 ? 1 : status;
}

int Run(int argc, char** argv);

} // namespace

int main(int argc, char** argv) {
    return FinishOutput(Run(argc, argv));
}

namespace {

int Run(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return UsageError("no command given");
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << usage;
        return 0;
    }
    if (command != "check" && command != "sheet" && command != "convert" && command != "export" &&
        command != "import")
        return UsageError("unknown command '" + command + "'");

    std::string dataDirectory;
    bool haveData = false;
    bool answerYes = false;
    bool optionsEnded = false;
    std::vector<std::string> operands;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--data" || arg.starts_with("--data=")) {
            if (arg == "--data") {
                if (i + 1 >= args.size())
                    return UsageError("--data needs a directory");
                dataDirectory = args[++i];
            } else {
                dataDirectory = arg.substr(7);
            }
            if (dataDirectory.empty())
                return UsageError("--data needs a directory");
            haveData = true;
        } else if (arg == "--yes" && command == "check") {
            answerYes = true;
        } else {
            return UsageError("unknown option '" + arg + "' for " + command);
        }
    }

    if (haveData) {
        if (dataDirectory.back() != '/')
            dataDirectory += '/';
    } else {
        dataDirectory = DataDirectoryFor(ProgramDirectory());
    }

    if (command == "check") {
        if (!operands.empty())
            return UsageError("check takes no file");
        return CommandCheck(dataDirectory, answerYes);
    }
    if (command == "sheet") {
        if (operands.size() != 1)
            return UsageError("sheet needs one character file");
        return CommandSheet(dataDirectory, operands);
    }
    if (operands.size() != 2)
        return UsageError(command + " needs an input and an output file");
    if (command == "export")
        return CommandExport(dataDirectory, operands);
    if (command == "import")
        return CommandImport(dataDirectory, operands);
    return CommandConvert(dataDirectory, operands);
}

} // namespace
