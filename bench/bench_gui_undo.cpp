// Undo and redo through a real character window on the veteran example, each with the
// redraw of all eight pages and the painting of the visible one: a talent rank change, and a
// discipline taken from circle 0 to 15. Also the memory a full history (1,000 steps) holds.
// Run off screen: QT_QPA_PLATFORM=offscreen ./bench_gui_undo

#include "GuiBench.h"
#include "character/Character.h"
#include "editor/PageDiscipline.h"
#include "editor/PageTalents.h"
#include "rules/RulesDatabase.h"
#include "shell/CharacterDocument.h"
#include "shell/CharacterView.h"
#include "shell/DocumentManager.h"
#include "shell/QtPrompt.h"
#include "support/Controls.h"
#include "widgets/MyListCtrl.h"

#include <QApplication>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSpinBox>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <chrono>
#include <malloc.h>
#include <memory>

namespace {

using gui_bench::QuietPrompt;

const char* const kVeteran = VARN_SHIPPED_DATA_DIR "../examples/veteran.vrn";

// The shipped rules and the veteran in a visible window.
struct Window {
    RulesDatabase rules;
    QuietPrompt prompt{rules};
    QMdiArea area;
    std::unique_ptr<DocumentManager> manager;
    CharacterDocument* doc = nullptr;
    CharacterView* view = nullptr;

    bool Open() {
        if (!LoadRulesDatabase(rules, VARN_SHIPPED_DATA_DIR, prompt))
            return false;
        area.resize(1200, 800);
        manager = std::make_unique<DocumentManager>(rules, prompt);
        manager->setMdiArea(&area);
        area.show();
        doc = manager->openDocumentFile(QString::fromUtf8(kVeteran));
        if (doc == nullptr)
            return false;
        view = qobject_cast<CharacterView*>(doc->views().front());
        return view != nullptr;
    }

    ~Window() {
        if (doc != nullptr)
            doc->setModified(false);
        if (manager)
            manager->closeAllDocuments();
    }

    void Paint() { doc->windows().front()->repaint(); }
};

// Undo then redo of the one step on the stack, each timed with its redraw and painting.
void UndoRedoLoop(benchmark::State& state, Window& w) {
    using Clock = std::chrono::steady_clock;
    double undoSeconds = 0, redoSeconds = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        w.doc->undo();
        w.Paint();
        auto middle = Clock::now();
        w.doc->redo();
        w.Paint();
        auto end = Clock::now();
        undoSeconds += std::chrono::duration<double>(middle - start).count();
        redoSeconds += std::chrono::duration<double>(end - middle).count();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["undo_ms"] = undoSeconds * 1000 / n;
    state.counters["redo_ms"] = redoSeconds * 1000 / n;
}

void BM_UndoRedoTalentRank(benchmark::State& state) {
    Window w;
    if (!w.Open()) {
        state.SkipWithError("the veteran did not open");
        return;
    }
    auto* talents = static_cast<CVARN_PageTalents*>(w.view->page(3));
    w.view->sheet()->SetActivePage(3);
    QApplication::processEvents();
    Control<CMyListCtrl>(talents, "talentList")->SelectRow(0);
    auto* rank = Control<QSpinBox>(talents, "rankSpin");
    rank->setValue(rank->value() == 15 ? 14 : 15);
    w.doc->recordPendingStep();
    if (w.doc->undoStack().count() != 1) {
        state.SkipWithError("the rank change made no step");
        return;
    }
    UndoRedoLoop(state, w);
}

void BM_UndoRedoDisciplineCircle0To15(benchmark::State& state) {
    Window w;
    if (!w.Open()) {
        state.SkipWithError("the veteran did not open");
        return;
    }
    auto* page = static_cast<CVARN_PageDiscipline*>(w.view->page(2));
    w.view->sheet()->SetActivePage(2);
    QApplication::processEvents();
    // The first discipline the veteran does not follow that goes to circle 15.
    auto* list = Control<QListWidget>(page, "disciplineList");
    auto* circle = Control<QSpinBox>(page, "adeptCircleSpin");
    for (int row = 0; row < list->count(); ++row) {
        list->setCurrentRow(row);
        if (page->SelectedRecord() == nullptr && circle->maximum() == 15)
            break;
    }
    if (page->SelectedRecord() != nullptr || circle->maximum() != 15) {
        state.SkipWithError("no discipline to take to circle 15");
        return;
    }
    circle->setValue(15);
    w.doc->recordPendingStep();
    state.counters["talents"] = static_cast<double>(w.doc->character().talents.size());
    UndoRedoLoop(state, w);
}

// 1,000 steps, each a talent rank or a circle change, measured as heap growth.
void BM_HistoryMemory1000Steps(benchmark::State& state) {
    Window w;
    if (!w.Open()) {
        state.SkipWithError("the veteran did not open");
        return;
    }
    CVARN_Character& c = w.doc->character();
    auto& disciplines = w.rules.disciplineList.disciplines;
    for (auto _ : state) {
        const size_t before = mallinfo2().uordblks;
        for (int i = 0; i < CharacterDocument::UndoLimit; ++i) {
            if (i % 10 == 9) {
                auto* entry = disciplines[static_cast<size_t>(i / 10) % disciplines.size()].get();
                CVARN_CharDisc* record = c.FindCharDisc(entry);
                c.SetDisciplineCircle(entry, record != nullptr ? 0 : 1);
            } else if (!c.talents.empty()) {
                CVARN_CharTalent* talent =
                    c.talents[static_cast<size_t>(i) % c.talents.size()].get();
                c.SetTalentRank(talent, talent->rank == 15 ? talent->rank - 1 : talent->rank + 1);
            }
            w.doc->recordPendingStep();
        }
        const size_t after = mallinfo2().uordblks;
        state.counters["steps"] = w.doc->undoStack().count();
        state.counters["history_MB"] = static_cast<double>(after - before) / (1024.0 * 1024.0);
        state.counters["talents"] = static_cast<double>(c.talents.size());
    }
}

} // namespace

BENCHMARK(BM_UndoRedoTalentRank)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoDisciplineCircle0To15)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryMemory1000Steps)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return gui_bench::RunAll(argc, argv);
}
