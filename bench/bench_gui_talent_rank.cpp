// A talent rank changed on the Talents page of a real character window, as a
// player does it with the Right and Left keys: the character's change, every
// notification through the document to all eight pages, their redraw, and the
// painting of the visible page. Run off screen: QT_QPA_PLATFORM=offscreen
// ./bench_gui_talent_rank

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

#include "GuiBench.h"

#include <QApplication>
#include <QMdiArea>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

using gui_bench::PressKey;
using gui_bench::QuietPrompt;

void BM_TalentRankThroughSheet(benchmark::State& state) {
    RulesDatabase rules;
    QuietPrompt prompt(rules);
    if (!LoadRulesDatabase(rules, VARN_SHIPPED_DATA_DIR, prompt)) {
        state.SkipWithError("the shipped data did not load");
        return;
    }
    QMdiArea area;
    area.resize(1200, 800);
    DocumentManager manager(rules, prompt);
    manager.setMdiArea(&area);
    area.show();
    CharacterDocument* doc = manager.fileNew();
    if (doc == nullptr) {
        state.SkipWithError("no new document");
        return;
    }
    auto* view = qobject_cast<CharacterView*>(doc->views().front());
    CVARN_Character& character = doc->character();

    // A character at circle 5 of the first discipline its race may follow, so
    // that the list is long and the circle check has work to do.
    for (const auto& discipline : rules.disciplineList.disciplines) {
        const auto& races = discipline->races;
        if (std::find(races.begin(), races.end(), character.race) != races.end()) {
            character.SetDisciplineCircle(discipline.get(), 5);
            break;
        }
    }
    auto* talents = static_cast<CVARN_PageTalents*>(view->page(3));
    view->sheet()->SetActivePage(3);
    QApplication::processEvents();
    auto* list = Control<CMyListCtrl>(talents, "talentList");
    if (list->GetItemCount() == 0) {
        state.SkipWithError("no talent to rank");
        return;
    }
    list->setFocus();
    list->SelectRow(list->GetItemCount() / 2);
    CVARN_CharTalent* talent = talents->SelectedTalent();
    PressKey(list, Qt::Key_Right);
    if (talent == nullptr || talent->rank != 1) {
        state.SkipWithError("the Right key did not raise the rank");
        return;
    }
    PressKey(list, Qt::Key_Left);

    bool up = true;
    for (auto _ : state) {
        PressKey(list, up ? Qt::Key_Right : Qt::Key_Left);
        QApplication::processEvents(); // the repaint of what changed
        up = !up;
    }
    state.counters["rows"] = list->GetItemCount();
    doc->setModified(false);
    manager.closeAllDocuments();
}

} // namespace

BENCHMARK(BM_TalentRankThroughSheet)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return gui_bench::RunAll(argc, argv);
}
