// Saving and opening files on disk: dispatch by extension, failures, and the old file kept.

#include "CharacterTestSupport.h"

#include "character/TextSheet.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace chartest;
namespace fs = std::filesystem;

namespace {

class FileSave : public ::testing::Test {
protected:
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir temp;
    fs::path dir = temp.path;
    TestRules rules;
};

} // namespace

TEST_F(FileSave, ExtensionChoosesCharacterFileOrTextSheet) {
    auto c = FullCharacter(rules);
    std::string sheet;
    BuildTextSheet(*c, sheet);
    std::string crlf;
    for (char ch : sheet)
        crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);

    fs::create_directories(dir / "v1.2");
    for (auto [name, characterFile] : {std::pair{"a.vrn", true},
                                       {"b.VrN", true},
                                       {"c.txt", false},
                                       {"d", false},
                                       {"e.vrn.bak", false},
                                       {"v1.2/f", false}}) {
        std::string path = (dir / name).string();
        EXPECT_EQ(IsCharacterFilePath(path), characterFile) << name;
        bool wrote = !characterFile;
        ASSERT_EQ(SaveCharacterFile(*c, path, &wrote), CVARN_FileFailure::None) << name;
        EXPECT_EQ(wrote, characterFile) << name;
        EXPECT_EQ(Slurp(path), characterFile ? WriteCharacter(*c) : crlf) << name;
    }
    EXPECT_FALSE(IsCharacterFilePath("vrn"));
    EXPECT_FALSE(IsCharacterFilePath(".vrnx"));
}

TEST_F(FileSave, OverwriteKeepsPermissionsAndLeavesNoTemporaryFile) {
    auto c = NewCharacter(rules);
    fs::path target = dir / "hero.vrn";
    temp.Write("hero.vrn", "old");
    // The set-group-ID bit survives too; a change of owner would clear it.
    ASSERT_EQ(::chmod(target.c_str(), 02750), 0);
    ASSERT_EQ(SaveCharacterFile(*c, target.string()), CVARN_FileFailure::None);
    EXPECT_EQ(Slurp(target), WriteCharacter(*c));
    struct stat st;
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 02750u);

    // A symbolic link stays a link; the file it names gets the new content.
    fs::create_symlink("hero.vrn", dir / "link.vrn");
    c->name = "Linked";
    ASSERT_EQ(SaveCharacterFile(*c, (dir / "link.vrn").string()), CVARN_FileFailure::None);
    EXPECT_TRUE(fs::is_symlink(dir / "link.vrn"));
    EXPECT_EQ(Slurp(target), WriteCharacter(*c));
    EXPECT_EQ(Names(), (std::vector<std::string>{"hero.vrn", "link.vrn"}));
}

TEST_F(FileSave, FailedWriteKeepsTheOldFile) {
    auto c = FullCharacter(rules);
    c->description = std::string(20000, 'x');
    fs::path target = dir / "hero.vrn";
    temp.Write("hero.vrn", "the previous save");

    // A file size limit makes the write fail part way, for root too.
    struct rlimit old;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    CVARN_FileFailure vrn = SaveCharacterFile(*c, target.string());
    CVARN_FileFailure txt = SaveCharacterFile(*c, (dir / "hero.txt").string());
    // The save in place of a read-only folder puts the old bytes back.
    CVARN_FileFailure inPlace = OverwriteKeepingOldBytes(target.string(), std::string(9000, 'n'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ((std::vector{vrn, txt, inPlace}), std::vector(3, CVARN_FileFailure::DiskFull));
    EXPECT_EQ(Slurp(target), "the previous save");
    EXPECT_EQ(Names(), std::vector<std::string>{"hero.vrn"});
}

TEST_F(FileSave, LongNamesAndReadOnlyFoldersAreSaved) {
    auto c = FullCharacter(rules);
    std::string accented;
    for (int i = 0; i < 125; ++i)
        accented += "\xC3\xA9"; // a two-byte character: the cut must not split one
    const std::string names[] = {std::string(228, 'a') + ".vrn", std::string(251, 'b') + ".vrn",
                                 "c" + accented + ".vrn"};
    for (const std::string& name : names) {
        ASSERT_EQ(SaveCharacterFile(*c, (dir / name).string()), CVARN_FileFailure::None)
            << name.size();
        ASSERT_EQ(SaveCharacterFile(*c, (dir / name).string()), CVARN_FileFailure::None)
            << name.size();
    }
    EXPECT_EQ(Names().size(), 3u); // no temporary file left behind

    // A writable file in a read-only folder is written in place (root may write any folder,
    // and then saves the usual way).
    fs::path target = dir / "shared" / "hero.vrn";
    fs::create_directories(target.parent_path());
    temp.Write("shared/hero.vrn", std::string(50000, 'o'));
    struct stat before, after;
    ASSERT_EQ(::stat(target.c_str(), &before), 0);
    ::chmod(target.parent_path().c_str(), 0555);
    CVARN_FileFailure failure = SaveCharacterFile(*c, target.string());
    ::chmod(target.parent_path().c_str(), 0755);
    ASSERT_EQ(failure, CVARN_FileFailure::None);
    EXPECT_EQ(Slurp(target), WriteCharacter(*c));
    ASSERT_EQ(::stat(target.c_str(), &after), 0);
    if (::geteuid() != 0) {
        EXPECT_EQ(after.st_ino, before.st_ino);
    }
    EXPECT_EQ(fs::directory_iterator(target.parent_path())->path(), target);
    // What that save does, whoever runs the test: same file, new bytes, nothing beside it.
    ASSERT_EQ(OverwriteKeepingOldBytes(target.string(), "short"), CVARN_FileFailure::None);
    EXPECT_EQ(Slurp(target), "short");
    ASSERT_EQ(::stat(target.c_str(), &before), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(fs::directory_iterator(target.parent_path())->path(), target);
}

TEST_F(FileSave, UnwritablePlacesFailWithTheirCause) {
    auto c = NewCharacter(rules);
    fs::create_directories(dir / "folder.vrn");
    EXPECT_EQ(SaveCharacterFile(*c, (dir / "folder.vrn").string()),
              CVARN_FileFailure::AccessDenied);
    EXPECT_EQ(SaveCharacterFile(*c, (dir / "missing" / "x.vrn").string()),
              CVARN_FileFailure::BadPath);
    EXPECT_EQ(SaveCharacterFile(*c, ""), CVARN_FileFailure::BadPath);
    // A device is written in place, and reports its own failure.
    EXPECT_EQ(SaveCharacterFile(*c, "/dev/full"), CVARN_FileFailure::DiskFull);
    EXPECT_EQ(SaveCharacterFile(*c, "/dev/null"), CVARN_FileFailure::None);

    // Permissions bind everyone but root.
    fs::path target = dir / "locked" / "hero.vrn";
    fs::create_directories(target.parent_path());
    temp.Write("locked/hero.vrn", "kept");
    ::chmod(target.c_str(), 0444);
    ::chmod(target.parent_path().c_str(), 0555);
    if (::geteuid() != 0) {
        EXPECT_EQ(SaveCharacterFile(*c, target.string()), CVARN_FileFailure::AccessDenied);
        EXPECT_EQ(SaveCharacterFile(*c, (dir / "locked" / "new.vrn").string()),
                  CVARN_FileFailure::AccessDenied);
        EXPECT_EQ(Slurp(target), "kept");
        EXPECT_EQ(fs::directory_iterator(target.parent_path())->path(), target);
    }
    ::chmod(target.parent_path().c_str(), 0755);
    EXPECT_EQ(Names(), (std::vector<std::string>{"folder.vrn", "locked"}));
}

TEST_F(FileSave, OpeningReportsTheFileFailure) {
    CVARN_Character c(rules.db);
    RecordingPrompt prompt;
    std::string missing = (dir / "nobody.vrn").string();
    CVARN_FileFailure f = LoadCharacterFile(c, missing, prompt);
    EXPECT_EQ(f, CVARN_FileFailure::NotFound);
    EXPECT_EQ(LoadCharacterFile(c, dir.string(), prompt), CVARN_FileFailure::AccessDenied);
    temp.Write("short.vrn", "\x02");
    EXPECT_EQ(LoadCharacterFile(c, (dir / "short.vrn").string(), prompt),
              CVARN_FileFailure::UnexpectedFormat);
    EXPECT_TRUE(Silent(prompt));
}

// Every failure's text, in tests/data/file/failure_texts.txt; those of the file itself name
// the path, which is not expanded a second time.
TEST(FileFailures, TextsNameThePathOnlyWhereTheyShould) {
    std::string texts;
    for (int f = 0; f <= static_cast<int>(CVARN_FileFailure::Other); ++f)
        texts += FileFailureText(static_cast<CVARN_FileFailure>(f), "/home/x/%1.vrn") + "\n";
    ExpectFile(texts, "file/failure_texts.txt");
    EXPECT_EQ(FileFailureFromErrno(EROFS), CVARN_FileFailure::AccessDenied);
    EXPECT_EQ(FileFailureFromErrno(EMFILE), CVARN_FileFailure::TooManyOpenFiles);
    EXPECT_EQ(FileFailureFromErrno(EOVERFLOW), CVARN_FileFailure::Other);
}
