// Start-up: the data files decide whether the program runs at all, and the command line
// decides what it opens.
#include "app/AppCore.h"
#include "ui/Doc.h"
#include "ui/DocManager.h"
#include "ui/MainFrame.h"

#include "../ui/doc_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace varn_test;

namespace {
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        UseScratchSettings(scratch.filePath("settings"));
        auto recording = std::make_unique<RecordingPrompt>(ShippedRules());
        prompt = recording.get();
        core = std::make_unique<CVARN_AppCore>(std::move(recording));
    }
    void TearDown() override {
        core.reset();
        FlushDeletes();
    }

    // A copy of the shipped data set without the files named.
    QString DataWithout(const QStringList& left) {
        QDir dir(scratch.path());
        dir.mkpath("Data");
        const QDir shipped(VARN_SHIPPED_DATA_DIR);
        for (const QString& name : shipped.entryList({"*.dat"}, QDir::Files)) {
            if (!left.contains(name))
                QFile::copy(shipped.filePath(name), dir.filePath("Data/" + name));
        }
        return dir.filePath("Data");
    }

    bool Start(const QString& dataDir, const QStringList& arguments = {}) {
        CVARN_StartupOptions options;
        options.dataDirectory = dataDir;
        options.arguments = arguments;
        options.splash = false;
        return core->InitInstance(options);
    }

    QTemporaryDir scratch;
    RecordingPrompt* prompt = nullptr;
    std::unique_ptr<CVARN_AppCore> core;
};
} // namespace

TEST_F(StartupTest, AMissingDataFileEndsStartUpWithoutAMainWindow) {
    EXPECT_FALSE(Start(DataWithout({"Skills.dat"})));
    EXPECT_EQ(core->MainFrame(), nullptr);
    EXPECT_EQ(prompt->shown, QStringList{"inform: File 'Skills.dat' not found"});
    EXPECT_TRUE(core->Rules().raceTable.races.empty()) << "nothing after Skills.dat is read";
}

TEST_F(StartupTest, TheSystemTablesAreReadLastAndStillStopStartUp) {
    EXPECT_FALSE(Start(DataWithout({"VARN.dat"})));
    EXPECT_EQ(core->MainFrame(), nullptr);
    EXPECT_EQ(prompt->shown, QStringList{"inform: File 'VARN.dat' not found"});
    EXPECT_FALSE(core->Rules().raceTable.races.empty());
    EXPECT_GT(core->Rules().equipmentDatabase.Count(), 0u);
}

TEST_F(StartupTest, WithoutArgumentsANewCharacterOpensInAMaximisedWindow) {
    ASSERT_TRUE(Start(DataWithout({})));
    CVARN_MainFrame* frame = core->MainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->windowState() & Qt::WindowMaximized);
    const QList<CVARN_Doc*> documents = core->DocManager()->Documents();
    ASSERT_EQ(documents.size(), 1);
    EXPECT_EQ(documents.front()->Title(), "VARN1");
    EXPECT_EQ(documents.front()->Character().race, core->Rules().raceTable.races.front().get());
    EXPECT_TRUE(prompt->shown.isEmpty());
    EXPECT_EQ(core->Rules().dataDirectory.back(), '/');
}

TEST_F(StartupTest, AFileArgumentOpensThatCharacterOrEndsStartUp) {
    const QString data = DataWithout({});
    {
        // A character file to start with, written by a first run.
        ASSERT_TRUE(Start(data));
        CVARN_Doc* doc = core->DocManager()->Documents().front();
        doc->Character().SetKarmaBought(4);
        ASSERT_TRUE(doc->SaveDocument(scratch.filePath("Start.vrn")));
        TearDown();
        SetUp();
    }
    ASSERT_TRUE(Start(data, {"-style=fusion", scratch.filePath("Start.vrn")}));
    const QList<CVARN_Doc*> documents = core->DocManager()->Documents();
    ASSERT_EQ(documents.size(), 1);
    EXPECT_EQ(documents.front()->Title(), "Start.vrn");
    EXPECT_EQ(documents.front()->Character().karmaBought, 4);
    TearDown();
    SetUp();

    const QString missing = scratch.filePath("Gone.vrn");
    EXPECT_FALSE(Start(data, {missing}));
    EXPECT_EQ(core->MainFrame(), nullptr);
    EXPECT_EQ(prompt->shown, (QStringList{"warn: " + missing + " was not found.",
                                          "inform: Unable to process shell command"}));
}
