// Speed of exporting the veteran example: JSON and the HTML page (the core alone), and the
// laid-out sheet as PDF (Qt's PDF writer, offscreen). Each runs on the character already
// read, as File > Export does.

#include "GuiBench.h"
#include "character/Character.h"
#include "character/CharacterFile.h"
#include "character/CharacterJson.h"
#include "character/HtmlSheet.h"
#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"
#include "shell/SheetLayout.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>

#include <cstdlib>
#include <iostream>
#include <memory>

namespace {

struct Veteran {
    RulesDatabase rules;
    std::unique_ptr<CVARN_Character> character;
};

Veteran& Loaded() {
    static Veteran* v = [] {
        auto* loaded = new Veteran;
        CVARN_SilentPrompt prompt;
        loaded->character = std::make_unique<CVARN_Character>(loaded->rules);
        if (!LoadRulesDatabase(loaded->rules, VARN_SHIPPED_DATA_DIR, prompt) ||
            LoadCharacterFile(*loaded->character, VARN_SHIPPED_DATA_DIR "../examples/veteran.vrn",
                              prompt) != CVARN_FileFailure::None) {
            std::cerr << "cannot load the veteran example\n";
            std::exit(1);
        }
        return loaded;
    }();
    return *v;
}

void ExportJson(benchmark::State& state) {
    const CVARN_Character& c = *Loaded().character;
    for (auto _ : state)
        benchmark::DoNotOptimize(CharacterToJson(c));
}
BENCHMARK(ExportJson)->Unit(benchmark::kMicrosecond);

void ExportHtml(benchmark::State& state) {
    const CVARN_Character& c = *Loaded().character;
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildHtmlSheet(c));
}
BENCHMARK(ExportHtml)->Unit(benchmark::kMicrosecond);

void ImportJson(benchmark::State& state) {
    Veteran& v = Loaded();
    const std::string json = CharacterToJson(*v.character);
    for (auto _ : state) {
        CVARN_Character c(v.rules);
        benchmark::DoNotOptimize(CharacterFromJson(c, json).ok);
    }
}
BENCHMARK(ImportJson)->Unit(benchmark::kMicrosecond);

void ExportPdf(benchmark::State& state) {
    const CVARN_Character& c = *Loaded().character;
    const QString path = QDir::temp().filePath(QStringLiteral("varn-bench-sheet.pdf"));
    for (auto _ : state) {
        QString error;
        if (!WriteSheetPdf(c, path, QPageSize::A4, &error))
            state.SkipWithError(error.toStdString().c_str());
    }
    QFile::remove(path);
}
BENCHMARK(ExportPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return gui_bench::RunAll(argc, argv);
}
