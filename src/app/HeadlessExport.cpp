#include "app/HeadlessExport.h"

#include "character/Character.h"
#include "character/CharacterFile.h"
#include "character/CharacterJson.h"
#include "character/TextUtf8.h"
#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"
#include "shell/SheetLayout.h"

#include <QApplication>
#include <QByteArray>

#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// Messages to standard error; questions answered Cancel.
class StderrPrompt : public CVARN_UserPrompt {
public:
    void ShowMessage(const std::string& text) override { std::cerr << text << '\n'; }
    bool AskOkCancel(const std::string& text) override {
        std::cerr << text << '\n';
        return false;
    }
};

int Usage(const std::string& problem) {
    std::cerr << "varn: " << problem << "\n"
              << "usage: varn --export-pdf [--data DIR] [--paper a4|letter] IN.vrn OUT.pdf\n";
    return 2;
}

} // namespace

bool IsHeadlessExport(int argc, char** argv) {
    return argc >= 2 && std::strcmp(argv[1], "--export-pdf") == 0;
}

int RunHeadlessExport(int argc, char** argv) {
    std::string dataDirectory;
    QPageSize::PageSizeId paper = QPageSize::A4;
    std::vector<std::string> files;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--data" || arg == "--paper") {
            if (i + 1 >= argc)
                return Usage(arg + " needs a value");
            const std::string value = argv[++i];
            if (arg == "--data") {
                dataDirectory = value;
            } else if (value == "a4" || value == "A4") {
                paper = QPageSize::A4;
            } else if (value == "letter" || value == "Letter") {
                paper = QPageSize::Letter;
            } else {
                return Usage("unknown paper '" + value + "' (a4 or letter)");
            }
        } else if (arg.starts_with("--")) {
            return Usage("unknown option '" + arg + "'");
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2)
        return Usage("--export-pdf needs a character file and a PDF file");
    // As varn-tool export names its outputs: the extension says what the file holds.
    const std::string& out = files[1];
    std::string extension = out.size() >= 4 ? out.substr(out.size() - 4) : std::string();
    for (char& ch : extension)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    if (extension != ".pdf") {
        std::cerr << "varn: --export-pdf writes OUT.pdf, not '" << varn_text::ShowControls(out)
                  << "'\n";
        return 2;
    }
    if (dataDirectory.empty())
        dataDirectory = DataDirectoryFor(ProgramDirectory());
    else if (dataDirectory.back() != '/')
        dataDirectory += '/';

    // Fonts and painting need a GUI application, but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    StderrPrompt prompt;
    RulesDatabase rules;
    if (!LoadRulesDatabase(rules, dataDirectory, prompt))
        return 1;
    auto character = std::make_unique<CVARN_Character>(rules);
    if (const std::string problem = ReadCharacterFileExplained(*character, files[0], prompt);
        !problem.empty()) {
        std::cerr << problem << '\n';
        return 1;
    }
    QString error;
    if (!WriteSheetPdf(*character, QString::fromLocal8Bit(files[1].c_str()), paper, &error)) {
        std::cerr << error.toStdString() << '\n';
        return 1;
    }
    return 0;
}
