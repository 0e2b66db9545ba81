// Start-up: the data files decide whether the program runs at all, and the command line
// decides what it opens.
#include "app/AppCore.h"

#include "shell/DocFixture.h"

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
        core = std::make_unique<CVARN_AppCore>(std::move(recording));
        return core->InitInstance(
            {.arguments = arguments, .dataDirectory = dataDir, .splash = false});
    }

    QTemporaryDir scratch;
    RecordingPrompt* prompt = nullptr;
    std::unique_ptr<CVARN_AppCore> core;
};
} // namespace

// A missing data file ends start-up without a main window. Without arguments a new character
// opens in a maximised window; a file argument opens that character, and a missing one ends
// start-up.
TEST_F(StartupTest, TheDataFilesAndTheCommandLineDecideWhatOpens) {
    // Nothing after Skills.dat is read; the system tables come last and still stop it.
    for (const QString missing : {"Skills.dat", "VARN.dat"}) {
        EXPECT_FALSE(Start(DataWithout(missing)));
        EXPECT_EQ(core->MainFrame(), nullptr);
        EXPECT_EQ(prompt->shown, QStringList{"inform: File '" + missing + "' not found"});
        EXPECT_EQ(core->Rules().raceTable.races.empty(), missing == "Skills.dat");
    }

    const QString data = DataWithout();
    ASSERT_TRUE(Start(data));
    CVARN_MainFrame* frame = core->MainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->windowState() & Qt::WindowMaximized);
    ASSERT_EQ(core->DocManager()->Documents().size(), 1);
    EXPECT_EQ(core->DocManager()->Documents().front()->Title(), "VARN1");
    EXPECT_TRUE(prompt->shown.isEmpty());

    ASSERT_TRUE(Start(data, {"-style=fusion", kVeteran}));
    const QList<CVARN_Doc*> documents = core->DocManager()->Documents();
    ASSERT_EQ(documents.size(), 1);
    EXPECT_EQ(documents.front()->Title(), "veteran.vrn");
    EXPECT_EQ(documents.front()->Character().disciplines.size(), 2u); // the file's

    const QString missing = scratch.filePath("Gone.vrn");
    EXPECT_FALSE(Start(data, {missing}));
    EXPECT_EQ(core->MainFrame(), nullptr);
    EXPECT_EQ(prompt->shown, (QStringList{"warn: " + missing + " was not found.",
                                          "inform: Unable to process shell command"}));
}
