// Start-up: the data files decide whether the program runs at all, and the command line
// decides what it opens.
#include "app/AppCore.h"

#include "editor/Page.h"
#include "editor/PageSkills.h"
#include "shell/CharacterWindow.h"
#include "shell/DocFixture.h"
#include "support/Controls.h"
#include "widgets/MyListCtrl.h"

#include <QTreeWidget>

using namespace varn_test;

namespace {
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        UseScratchSettings(scratch.filePath("settings"));
    }
    void TearDown() override {
        core.reset();
        FlushDeletes();
    }

    // A copy of the shipped data set without the file named (if any).
    QString DataWithout(const QString& left = {}) {
        const QString dir = scratch.filePath("Data-without-" + left);
        QDir().mkpath(dir);
        const QDir shipped(VARN_SHIPPED_DATA_DIR);
        for (const QString& name : shipped.entryList({"*.dat"}, QDir::Files)) {
            if (name != left)
                QFile::copy(shipped.filePath(name), dir + "/" + name);
        }
        return dir;
    }

    // Starts the program afresh, as from the command line.
    bool Start(const QString& dataDir, const QStringList& arguments = {}) {
        TearDown();
        auto recording = std::make_unique<RecordingPrompt>(ShippedRules());
        prompt = recording.get();
        core = std::make_unique<AppCore>(std::move(recording));
        return core->initialize(
            {.arguments = arguments, .dataDirectory = dataDir, .splash = false});
    }

    QTemporaryDir scratch;
    RecordingPrompt* prompt = nullptr;
    std::unique_ptr<AppCore> core;
};
} // namespace

// A missing data file ends start-up without a main window. Without arguments a new character
// opens in a maximised window; a file argument opens that character, and a missing one ends
// start-up.
TEST_F(StartupTest, TheDataFilesAndTheCommandLineDecideWhatOpens) {
    // Nothing after Skills.dat is read; the system tables come last and still stop it.
    for (const QString missing : {"Skills.dat", "VARN.dat"}) {
        EXPECT_FALSE(Start(DataWithout(missing)));
        EXPECT_EQ(core->mainWindow(), nullptr);
        EXPECT_EQ(prompt->shown, QStringList{"inform: File '" + missing + "' not found"});
        EXPECT_EQ(core->rules().raceTable.races.empty(), missing == "Skills.dat");
    }

    const QString data = DataWithout();
    ASSERT_TRUE(Start(data));
    MainWindow* frame = core->mainWindow();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->windowState() & Qt::WindowMaximized);
    ASSERT_EQ(core->documentManager()->documents().size(), 1);
    EXPECT_EQ(core->documentManager()->documents().front()->title(), "VARN1");
    EXPECT_TRUE(prompt->shown.isEmpty());

    ASSERT_TRUE(Start(data, {"-style=fusion", kVeteran}));
    const QList<CharacterDocument*> documents = core->documentManager()->documents();
    ASSERT_EQ(documents.size(), 1);
    EXPECT_EQ(documents.front()->title(), "veteran.vrn");
    EXPECT_EQ(documents.front()->character().disciplines.size(), 2u); // the file's

    const QString missing = scratch.filePath("Gone.vrn");
    EXPECT_FALSE(Start(data, {missing}));
    EXPECT_EQ(core->mainWindow(), nullptr);
    EXPECT_EQ(prompt->shown, (QStringList{"warn: " + missing + " was not found.",
                                          "inform: Unable to process shell command"}));
}

// A character window builds a page when it is first shown or asked for, bound to the
// character as it is by then, under the caption its tab showed; changes reach the pages built.
// The window's size, measured over every page once, serves later runs under the same settings.
class SheetPages : public DocFixture {};

TEST_F(SheetPages, ArePutTogetherWhenFirstNeeded) {
    CharacterWindow::forgetSizeForRun();
    CharacterDocument* first = docs->fileNew();
    ASSERT_NE(first, nullptr);
    // Measuring built every page without showing it: the tree of every skill waits until its
    // page is seen.
    CVARN_CharacterSheet* measured = ViewOf(first)->sheet();
    ASSERT_NE(measured->BuiltPage(4), nullptr);
    auto* skillTree = measured->BuiltPage(4)->findChild<QTreeWidget*>();
    ASSERT_NE(skillTree, nullptr);
    EXPECT_EQ(skillTree->topLevelItemCount(), 0);
    measured->SetActivePage(4);
    EXPECT_GT(skillTree->topLevelItemCount(), 0);
    measured->SetActivePage(0);
    CharacterWindow::forgetSizeForRun(); // as in the next run
    CharacterDocument* doc = docs->fileNew();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->windows().front()->size(), first->windows().front()->size());
    CVARN_CharacterSheet* sheet = ViewOf(doc)->sheet();
    ASSERT_EQ(sheet->GetPageCount(), 8);
    EXPECT_NE(sheet->BuiltPage(0), nullptr);
    for (int tab = 1; tab < 8; ++tab)
        EXPECT_EQ(sheet->BuiltPage(tab), nullptr) << tab;

    const CVARN_DBSkill* skill = doc->character().Rules().skillTable.First();
    ASSERT_NE(skill, nullptr);
    doc->character().SetSkillRank(skill, 2);
    auto* skills = PageOf<CVARN_PageSkills>(doc, 4);
    ASSERT_NE(skills, nullptr);
    EXPECT_EQ(skills->GetCharacter(), &doc->character());
    EXPECT_EQ(Control<CMyListCtrl>(skills, "skillList")->GetItemCount(), 1);
    doc->character().SetSkillRank(skill, 0);
    EXPECT_EQ(Control<CMyListCtrl>(skills, "skillList")->GetItemCount(), 0);

    for (int tab = 0; tab < 8; ++tab) {
        const QString caption = sheet->tabText(tab);
        ASSERT_NE(sheet->Page(tab), nullptr);
        EXPECT_EQ(sheet->Page(tab)->Caption(), caption);
        EXPECT_TRUE(sheet->Page(tab)->IsInitialised());
    }
    CharacterWindow::forgetSizeForRun();
}
