// Runs a scenario of the web engine natively, for web/engine-tests to compare with what the
// WebAssembly build gives for the same scenario.
//
//   varn-web-scenario DATA_DIR ROOT SCENARIO OUT_PREFIX
//
// A scenario holds one step a line: an operation as JSON, or one of
//   open PATH | import PATH | reimport | new | undo | redo | undo-all | redo-all | saved | view
// (PATH from ROOT; "#" starts a comment line). Every step's result goes to OUT_PREFIX.log;
// the character at the end to OUT_PREFIX.vrn, .txt, .json and .html.

#include "character/CharacterFile.h"
#include "web/WebEngine.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

std::string FileName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: varn-web-scenario DATA_DIR ROOT SCENARIO OUT_PREFIX\n";
        return 2;
    }
    const std::string root = std::string(argv[2]) + "/";
    const std::string out = argv[4];
    VarnWebEngine engine;
    std::string log = engine.LoadDataFolder(argv[1]) + "\n";
    std::istringstream scenario(ReadAll(argv[3]));
    for (std::string line; std::getline(scenario, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::string result;
        if (line[0] == '{') {
            result = engine.Apply(line);
        } else if (line.rfind("open ", 0) == 0) {
            const std::string path = line.substr(5);
            result = engine.OpenVrn(ReadAll(root + path), FileName(path));
        } else if (line.rfind("import ", 0) == 0) {
            result = engine.ImportJson(ReadAll(root + line.substr(7)));
        } else if (line == "reimport") {
            result = engine.ImportJson(engine.ExportJson());
        } else if (line == "new") {
            engine.NewCharacter();
        } else if (line == "undo" || line == "redo") {
            result = (line == "undo" ? engine.Undo() : engine.Redo()) ? "true" : "false";
        } else if (line == "undo-all" || line == "redo-all") {
            int steps = 0;
            while (line == "undo-all" ? engine.Undo() : engine.Redo())
                ++steps;
            result = std::to_string(steps);
        } else if (line == "saved") {
            engine.MarkSaved();
        } else if (line == "view") {
            result = engine.View();
        } else {
            std::cerr << "unknown step: " << line << '\n';
            return 2;
        }
        log += line + "\n=> " + result + " | " + engine.UndoText() + " | " + engine.RedoText() +
               " | " + (engine.IsModified() ? "modified" : "unmodified") + "\n";
    }
    const bool ok = WriteAll(out + ".log", log) && WriteAll(out + ".vrn", engine.SaveVrn()) &&
                    WriteAll(out + ".txt", engine.TextSheet()) &&
                    WriteAll(out + ".json", engine.ExportJson()) &&
                    WriteAll(out + ".html", engine.HtmlSheet());
    return ok ? 0 : 1;
}
