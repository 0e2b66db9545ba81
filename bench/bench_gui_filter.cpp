// One keystroke in a find field over the data set a hundred times the shipped one: the
// filter of the tree, the layout of what it shows and the painting of the tree. Each tree of
// the pages is measured (Skills, Grimoire, the available Equipment); "nodes" tells which one
// is the largest. Three cases: the first letter (the whole tree is searched, its expansion
// kept and every category with a match opened), a further letter, and a letter that matches
// nothing. Run off screen: QT_QPA_PLATFORM=offscreen ./bench_gui_filter

#include "GuiBench.h"
#include "SyntheticDataSet.h"
#include "character/Character.h"
#include "editor/PageEquipment.h"
#include "editor/PageSkills.h"
#include "editor/PageSpells.h"
#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"
#include "support/Controls.h"
#include "widgets/FindField.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>

namespace {

RulesDatabase* LargeRules() {
    static std::unique_ptr<RulesDatabase> rules = [] {
        static const varn_bench::SyntheticSet set;
        auto db = std::make_unique<RulesDatabase>();
        CVARN_SilentPrompt prompt;
        if (!LoadRulesDatabase(*db, set.dir, prompt))
            db.reset();
        return db;
    }();
    return rules.get();
}

// A page bound to a character the way the sheet binds it, without a document.
template <class P> class Bound : public P {
public:
    explicit Bound(CVARN_Character* c) {
        this->character = c;
        this->initialised = true;
        this->RefreshFromCharacter();
    }
};

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

bool Visible(const QTreeWidgetItem* node) {
    for (; node != nullptr; node = node->parent())
        if (node->isHidden() || (node->parent() != nullptr && !node->parent()->isExpanded()))
            return false;
    return true;
}

void Type(QWidget* field, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(field, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(field, &release);
}

enum Case { FirstLetter, NextLetter, NoMatch };

template <class P>
void RunFilter(benchmark::State& state, const char* treeName, const char* findName) {
    RulesDatabase* rules = LargeRules();
    if (rules == nullptr) {
        state.SkipWithError("the large data set did not load");
        return;
    }
    CVARN_Character character(*rules);
    Bound<P> page(&character);
    page.resize(1000, 700);
    page.show();
    QApplication::processEvents();
    auto* view = Control<QTreeWidget>(&page, treeName);
    auto* find = Control<CVARN_FindField>(&page, findName);
    find->setFocus();
    int nodes = 0;
    for (QTreeWidgetItemIterator it(view); *it != nullptr; ++it)
        ++nodes;

    const Case what = static_cast<Case>(state.range(0));
    // Before each timed keystroke the field holds `before`; the keystroke adds `letter`.
    const QString before = what == FirstLetter ? QString() : QStringLiteral("ka");
    const QString letter = what == NoMatch ? QStringLiteral("#") : QStringLiteral("l");
    int shown = 0;
    double filterSeconds = 0;
    double paintSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        find->setText(before);
        QApplication::processEvents();
        view->viewport()->repaint();
        state.ResumeTiming();
        const double start = ThreadSeconds();
        Type(find, what == NoMatch ? Qt::Key_NumberSign : Qt::Key_L, letter);
        const double filtered = ThreadSeconds();
        view->viewport()->repaint(); // lays out the rows shown and paints them
        const double painted = ThreadSeconds();
        state.PauseTiming();
        filterSeconds += filtered - start;
        paintSeconds += painted - filtered;
        shown = 0;
        for (QTreeWidgetItemIterator it(view); *it != nullptr; ++it)
            shown += (*it)->childCount() == 0 && Visible(*it);
        state.ResumeTiming();
    }
    // Processor time of this thread, apart for the filter and for the layout and painting.
    const double runs = static_cast<double>(state.iterations());
    state.counters["filter_ms"] = 1000 * filterSeconds / runs;
    state.counters["paint_ms"] = 1000 * paintSeconds / runs;
    state.counters["nodes"] = nodes;
    state.counters["shown"] = shown;
}

void BM_FilterSkills(benchmark::State& state) {
    RunFilter<CVARN_PageSkills>(state, "skillTree", "findField");
}
void BM_FilterGrimoire(benchmark::State& state) {
    RunFilter<CVARN_PageSpells>(state, "spellTree", "findField");
}
void BM_FilterEquipment(benchmark::State& state) {
    RunFilter<CVARN_PageEquipment>(state, "availableTree", "availableFind");
}

} // namespace

BENCHMARK(BM_FilterSkills)->DenseRange(FirstLetter, NoMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterGrimoire)->DenseRange(FirstLetter, NoMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterEquipment)->DenseRange(FirstLetter, NoMatch)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return gui_bench::RunAll(argc, argv);
}
