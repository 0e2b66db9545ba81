#include "rules/DataFile.h"
#include "rules/NameIndex.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace DataFile;

TEST(DataFile, NumbersStopAtFirstForeignCharacterAndClampToTheirField) {
    int16_t v = 5;
    EXPECT_TRUE(ReadInt16("  -12abc", v));
    EXPECT_EQ(v, -12);
    EXPECT_FALSE(ReadInt16("x12", v));
    EXPECT_FALSE(ReadInt16("-", v));
    EXPECT_EQ(v, -12); // unchanged
    EXPECT_TRUE(ReadInt16("40000", v));
    EXPECT_EQ(v, 32767);
    EXPECT_TRUE(ReadInt16("-99999999999999999999999", v));
    EXPECT_EQ(v, -32768);
    std::string_view text = "2147483648|";
    int32_t w = 0;
    EXPECT_TRUE(ScanInt32(text, w));
    EXPECT_EQ(w, 2147483647);
    EXPECT_EQ(text, "|");

    float f = 1;
    text = " -2.5e1x";
    EXPECT_TRUE(ScanFloat(text, f));
    EXPECT_FLOAT_EQ(f, -25.0f);
    EXPECT_EQ(text, "x");
    for (std::string_view bad : {"inf", "nan", "1e999", "", "abc"}) {
        text = bad;
        EXPECT_FALSE(ScanFloat(text, f)) << bad;
    }
    EXPECT_FLOAT_EQ(f, -25.0f);
}

// Lines are found in blocks of the file and in groups of bytes: every line must come out whole,
// with any bytes, wherever those boundaries fall.
TEST(DataFile, ReaderTakesLinesWholeWithAnyBytes) {
    TempDir dir;
    const std::string longLine(3'000'000, 'x');
    dir.Write("Any.dat", longLine + "\n" + std::string("a\0b", 3) + "\r\n\r\nlast");
    Reader reader;
    RecordingPrompt prompt;
    ASSERT_EQ(reader.Open(dir.path, "Any.dat", prompt), Reader::OpenResult::Opened);
    std::string line;
    std::vector<std::string> lines; // "\r\n" is a line end
    while (reader.NextLine(line))
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{longLine, std::string("a\0b", 3), "", "last"}));

    // A file of one byte: the shortest read there is.
    dir.Write("One.dat", "x");
    Reader one;
    ASSERT_EQ(one.Open(dir.path, "One.dat", prompt), Reader::OpenResult::Opened);
    ASSERT_TRUE(one.NextLine(line));
    EXPECT_EQ(line, "x");

    Reader missing;
    EXPECT_EQ(missing.Open(dir.path, "None.dat", prompt), Reader::OpenResult::NotFound);
    Reader badPath; // a path through a file is a path that does not exist
    EXPECT_EQ(badPath.Open(dir.path + "Any.dat/", "x.dat", prompt), Reader::OpenResult::NotFound);
    EXPECT_TRUE(prompt.messages.empty());

    std::vector<std::string> written;
    std::string text;
    for (int i = 0; text.size() < 300'000; ++i) {
        written.push_back(std::to_string(i) + std::string(static_cast<size_t>(i * 37 % 131), 'a'));
        text += written.back() + (i % 3 == 0 ? "\r\n" : "\n");
    }
    dir.Write("Many.dat", text);
    Reader many;
    ASSERT_EQ(many.Open(dir.path, "Many.dat", prompt), Reader::OpenResult::Opened);
    std::string_view view;
    size_t count = 0;
    while (many.NextLine(view)) {
        ASSERT_LT(count, written.size());
        ASSERT_EQ(view, written[count]) << "line " << count;
        ++count;
    }
    EXPECT_EQ(count, written.size());
    EXPECT_FALSE(many.ReadFailed());
}

// The word-at-a-time case folding must agree with the byte rule for every byte in every
// position: only "a" to "z" change.
TEST(DataFile, CaseFoldingByWordsMatchesTheByteRule) {
    for (int byte = 0; byte < 256; ++byte) {
        for (size_t at = 0; at < 8; ++at) {
            char bytes[8] = {'q', 'Z', '{', '`', '\xe1', '@', 'z', 'a'};
            bytes[at] = static_cast<char>(byte);
            char expected[8];
            for (size_t i = 0; i < 8; ++i)
                expected[i] = ToUpper(bytes[i]);
            const uint64_t folded = ToUpperWord(LoadWord(bytes));
            ASSERT_EQ(std::memcmp(&folded, expected, 8), 0) << "byte " << byte << " at " << at;
        }
    }
    EXPECT_TRUE(EqualsNoCase("thread weaving (tempestry)", "THREAD WEAVING (Tempestry)"));
    EXPECT_FALSE(EqualsNoCase("thread weaving (tempestry)", "THREAD WEAVING (Tempestrz)"));
    EXPECT_FALSE(EqualsNoCase("Axxxxxxxx", "\x01xxxxxxxx")); // 'A' and 'a' fold, not others
}

// Names and keywords of every length up to three words, with one byte changed at each place in
// turn: the comparisons by words must hold at the ends of names too, and names equal but for
// case must hash alike.
TEST(DataFile, ComparisonsHoldAtEveryLengthAndPlace) {
    const std::string text = "Thread Weaving (Tempestry) of {old}";
    for (size_t n = 0; n <= 24; ++n) {
        const std::string name = text.substr(0, n);
        std::string upper = name;
        for (char& c : upper)
            c = ToUpper(c);
        EXPECT_TRUE(EqualsNoCase(name, upper)) << n;
        EXPECT_TRUE(StartsWithNoCase(text, upper)) << n;
        EXPECT_TRUE(StartsWithNoCase(name, upper)) << n;
        EXPECT_EQ(TalentNameIndex::Hash(name), TalentNameIndex::Hash(upper)) << n;
        for (size_t at = 0; at < n; ++at) {
            std::string other = upper;
            other[at] = static_cast<char>(other[at] ^ 0x01); // never a change of case
            EXPECT_FALSE(EqualsNoCase(name, other)) << n << " " << at;
            EXPECT_FALSE(StartsWithNoCase(text, other)) << n << " " << at;
        }
    }
}
