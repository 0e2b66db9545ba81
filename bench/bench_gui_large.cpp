// The desktop program on a data set about a hundred times the shipped one (the load
// benchmark's synthetic set, written by `bench_rules_load --write-set`): its whole start
// beside the start with the shipped set, and each everyday action through a real window,
// timed with the repaint it causes. A player notices anything above some 50 ms.
//
// Run off screen: QT_QPA_PLATFORM=offscreen ./bench_gui_large

#include "app/AppCore.h"
#include "character/Character.h"
#include "editor/DlgSelectItem.h"
#include "editor/EquipmentTree.h"
#include "editor/PageAttributes.h"
#include "editor/PageEquipment.h"
#include "editor/PageSkills.h"
#include "editor/PageSpells.h"
#include "editor/PageTalents.h"
#include "rules/RulesDatabase.h"
#include "shell/CharacterDocument.h"
#include "shell/CharacterView.h"
#include "shell/DocumentManager.h"
#include "shell/MainWindow.h"
#include "support/Controls.h"
#include "widgets/MyListCtrl.h"

#include "GuiBench.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using gui_bench::PressKey;

// A directory holding the large set as Data/ and a copy of `varn` that reads it (the
// program takes its data from beside itself). Written once per run.
const QTemporaryDir& LargeSet() {
    static QTemporaryDir dir;
    static const bool written = [] {
        const std::string base = dir.path().toStdString() + "/";
        std::error_code error;
        std::filesystem::copy_file(gui_bench::ProgramBeside("varn"), base + "varn", error);
        return gui_bench::ChildCpuMs(
                   {gui_bench::ProgramBeside("bench_rules_load"), "--write-set", base + "Data"},
                   {}) >= 0;
    }();
    (void)written;
    return dir;
}

std::string SetDirectory(int set) {
    return set == 0 ? std::string(VARN_SHIPPED_DATA_DIR)
                    : LargeSet().path().toStdString() + "/Data/";
}

void BM_StartToNewCharacter(benchmark::State& state) {
    const std::string program = state.range(0) == 0 ? gui_bench::ProgramBeside("varn")
                                                    : LargeSet().path().toStdString() + "/varn";
    double cpu = 0;
    for (auto _ : state) {
        const double once = gui_bench::StartupCpuMs(program);
        if (once < 0) {
            state.SkipWithError("varn did not start up (built beside the benchmark?)");
            return;
        }
        cpu += once;
    }
    state.counters["varn_cpu_ms"] = cpu / static_cast<double>(state.iterations());
}
BENCHMARK(BM_StartToNewCharacter)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("large")
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The program as started, with its new character's window: the real main window, sheet
// and eight pages, reading the shipped or the large set.
class Window {
public:
    explicit Window(int set) {
        static const RulesDatabase none; // the prompt's rules: only for replacing items
        m_core = std::make_unique<AppCore>(std::make_unique<gui_bench::QuietPrompt>(none));
        StartupOptions options;
        options.dataDirectory = QString::fromStdString(SetDirectory(set));
        options.splash = false;
        if (!m_core->initialize(options) || m_core->documentManager()->documents().isEmpty()) {
            m_core.reset();
            return;
        }
        m_doc = m_core->documentManager()->documents().front();
        m_view = qobject_cast<CharacterView*>(m_doc->views().front());
        QApplication::processEvents();
    }
    ~Window() {
        if (m_doc != nullptr) {
            m_doc->setModified(false);
            m_core->documentManager()->closeAllDocuments();
        }
        m_core.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    bool Up() const { return m_view != nullptr; }
    CVARN_Character& Character() const { return m_doc->character(); }
    const RulesDatabase& Rules() const { return m_core->rules(); }
    QWidget* Frame() const { return m_core->mainWindow(); }

    // Brings page `tab` to the front, painted.
    template <class PageType = CVARN_Page> PageType* Show(int tab) {
        m_view->sheet()->SetActivePage(tab);
        QApplication::processEvents();
        return static_cast<PageType*>(m_view->page(tab));
    }

private:
    std::unique_ptr<AppCore> m_core;
    CharacterDocument* m_doc = nullptr;
    CharacterView* m_view = nullptr;
};

enum Tab {
    TabCharacter,
    TabAttributes,
    TabDiscipline,
    TabTalents,
    TabSkills,
    TabEquipment,
    TabSpells
};

// The first node of `tree`, depth first, that `accept` takes; nullptr when none.
template <class Accept> QTreeWidgetItem* FindNode(QTreeWidget* tree, Accept accept) {
    std::vector<QTreeWidgetItem*> stack;
    for (int i = tree->topLevelItemCount() - 1; i >= 0; --i)
        stack.push_back(tree->topLevelItem(i));
    while (!stack.empty()) {
        QTreeWidgetItem* node = stack.back();
        stack.pop_back();
        if (accept(node))
            return node;
        for (int i = node->childCount() - 1; i >= 0; --i)
            stack.push_back(node->child(i));
    }
    return nullptr;
}

void Select(QTreeWidget* tree, QTreeWidgetItem* node) {
    tree->scrollToItem(node);
    tree->setCurrentItem(node);
    QApplication::processEvents();
}

// Each action is timed with the events it leaves behind (the repaint of what changed).
// Actions that go back and forth (a rank up, then down) alternate between iterations.
template <class Act> void TimeActions(benchmark::State& state, Act act) {
    bool forth = true;
    for (auto _ : state) {
        act(forth);
        QApplication::processEvents();
        forth = !forth;
    }
}

// Page switches: to page `tab` from the Character page, the switch back untimed.
void BM_PageSwitch(benchmark::State& state) {
    Window window(1);
    if (!window.Up())
        return state.SkipWithError("no window on the large set");
    const int tab = static_cast<int>(state.range(0));
    for (auto _ : state) {
        window.Show(tab);
        state.PauseTiming();
        window.Show(tab == TabCharacter ? TabAttributes : TabCharacter);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PageSwitch)
    ->DenseRange(0, 7)
    ->ArgName("tab")
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

// The first visit of a page in a new window, when it fills what it left for its first showing
// (the trees of the whole data set). A fresh window each time, made untimed.
void BM_FirstPageSwitch(benchmark::State& state) {
    const int tab = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Window>(1);
        if (!window->Up())
            return state.SkipWithError("no window on the large set");
        state.ResumeTiming();
        window->Show(tab);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstPageSwitch)
    ->DenseRange(4, 6)
    ->ArgName("tab")
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

void BM_RaceChange(benchmark::State& state) {
    Window window(1);
    if (!window.Up())
        return state.SkipWithError("no window on the large set");
    auto* races = Control<QComboBox>(window.Show<CVARN_PageAttributes>(TabAttributes), "raceList");
    races->setFocus();
    const CVARN_RaceDesc* before = window.Character().race;
    PressKey(races, Qt::Key_Down);
    if (window.Character().race == before)
        return state.SkipWithError("the Down key did not change the race");
    TimeActions(state, [&](bool forth) { PressKey(races, forth ? Qt::Key_Up : Qt::Key_Down); });
}

void BM_AttributeChange(benchmark::State& state) {
    Window window(1);
    if (!window.Up())
        return state.SkipWithError("no window on the large set");
    auto* dexterity = Control<QSpinBox>(window.Show<CVARN_PageAttributes>(TabAttributes),
                                        "baseSpin", AttDexterity);
    dexterity->setFocus();
    TimeActions(state, [&](bool forth) { PressKey(dexterity, forth ? Qt::Key_Up : Qt::Key_Down); });
}

// On a character of circle 5 in its race's first discipline: a long talent list.
void BM_TalentRank(benchmark::State& state) {
    Window window(1);
    if (!window.Up())
        return state.SkipWithError("no window on the large set");
    CVARN_Character& character = window.Character();
    for (const auto& discipline : window.Rules().disciplineList.disciplines) {
        const auto& races = discipline->races;
        if (std::find(races.begin(), races.end(), character.race) != races.end()) {
            character.SetDisciplineCircle(discipline.get(), 5);
            break;
        }
    }
    auto* list = Control<CMyListCtrl>(window.Show<CVARN_PageTalents>(TabTalents), "talentList");
    if (list->GetItemCount() == 0)
        return state.SkipWithError("no talent to rank");
    list->setFocus();
    list->SelectRow(list->GetItemCount() / 2);
    TimeActions(state, [&](bool forth) { PressKey(list, forth ? Qt::Key_Right : Qt::Key_Left); });
    state.counters["rows"] = list->GetItemCount();
}

void BM_SkillRank(benchmark::State& state) {
    Window window(1);
    if (!window.Up())
        return state.SkipWithError("no window on the large set");
    auto* page = window.Show<CVARN_PageSkills>(TabSkills);
    auto* tree = Control<QTreeWidget>(page, "skillTree");
    QTreeWidgetItem* skill = FindNode(tree, [](QTreeWidgetItem* node) {
        return node->data(0, CVARN_PageSkills::SkillRole).value<quintptr>() != 0;
    });
    if (skill == nullptr)
        return state.SkipWithError("no skill in the tree");
    Select(tree, skill);
    auto* rank = Control<QSpinBox>(page, "rankSpin");
    rank->setFocus();
    TimeActions(state, [&](bool forth) { PressKey(rank, forth ? Qt::Key_Up : Qt::Key_Down); });
}

// Learning a spell, then forgetting it, by the Learn button.
void BM_LearnSpell(benchmark::State& state) {
    Window window(1);
    if (!window.Up())
        return state.SkipWithError("no window on the large set");
    auto* page = window.Show<CVARN_PageSpells>(TabSpells);
    auto* tree = Control<QTreeWidget>(page, "spellTree");
    QTreeWidgetItem* spell = FindNode(tree, [](QTreeWidgetItem* node) {
        return node->data(0, CVARN_PageSpells::SpellRole).value<quintptr>() != 0;
    });
    if (spell == nullptr)
        return state.SkipWithError("no spell in the tree");
    Select(tree, spell);
    auto* learn = Control<QPushButton>(page, "learnButton");
    if (!learn->isEnabled())
        return state.SkipWithError("the spell cannot be learnt");
    TimeActions(state, [&](bool) { learn->click(); });
}

// Buying the same item again and again: the character's list grows by one piece a time.
void BM_BuyItem(benchmark::State& state) {
    Window window(1);
    if (!window.Up())
        return state.SkipWithError("no window on the large set");
    auto* page = window.Show<CVARN_PageEquipment>(TabEquipment);
    auto* tree = Control<QTreeWidget>(page, "availableTree");
    QTreeWidgetItem* item =
        FindNode(tree, [](QTreeWidgetItem* node) { return EquipmentItem(node) != nullptr; });
    if (item == nullptr)
        return state.SkipWithError("no item to buy");
    Select(tree, item);
    const size_t before = window.Character().equipment.size();
    auto* equip = Control<QPushButton>(page, "equipButton");
    TimeActions(state, [&](bool) { equip->click(); });
    if (window.Character().equipment.size() == before)
        state.SkipWithError("the Equip button bought nothing");
}

// The item selection dialog up and painted, then closed (the closing untimed).
void BM_OpenItemDialog(benchmark::State& state) {
    Window window(1);
    if (!window.Up())
        return state.SkipWithError("no window on the large set");
    for (auto _ : state) {
        auto dialog = std::make_unique<CVARN_DlgSelectItem>(window.Rules().equipmentDatabase,
                                                            nullptr, window.Frame());
        dialog->show();
        QApplication::processEvents();
        state.PauseTiming();
        dialog.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_RaceChange)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AttributeChange)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TalentRank)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SkillRank)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LearnSpell)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuyItem)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenItemDialog)->Iterations(10)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
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
