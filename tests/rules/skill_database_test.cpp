#include "rules/SkillDatabase.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <pthread.h>

TEST(SkillDatabase, HashIsTrimmedUpperCaseByteSum) {
    EXPECT_EQ(HashName(""), 0);
    EXPECT_EQ(HashName(" ab\t"), ('A' + 'B') % 256);
    EXPECT_EQ(HashName("\xff\xff"), (255 + 255) % 256);
    // Long names are summed several bytes at a time; the sum must still be the byte sum.
    std::string every;
    for (int round = 0; round < 3; ++round)
        for (int byte = 1; byte < 256; ++byte)
            every += static_cast<char>(byte);
    unsigned sum = 0;
    for (char c : every)
        sum += static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    EXPECT_EQ(HashName("x" + every + "x"), static_cast<int>((sum + 2 * 'X') % 256));
    // Every length, so that the last bytes of a name are summed right wherever they end.
    const std::string name = "Lorekeeper's{Quiet}Ward~zq_Mn";
    for (size_t n = 0; n <= name.size(); ++n) {
        unsigned bytes = 0;
        for (char c : name.substr(0, n))
            bytes += static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        EXPECT_EQ(HashName(name.substr(0, n)), static_cast<int>(bytes % 256)) << n;
    }
}

TEST(SkillDatabase, FormulaPicksAttributeByFixedOrderAndBonusAfterPlus) {
    int16_t attribute = 9, bonus = 7;
    ParseFormula("Str or Dex", attribute, bonus);
    EXPECT_EQ(attribute, 2);
    EXPECT_EQ(bonus, 7); // no "+": untouched
    ParseFormula("per +  -3", attribute, bonus);
    EXPECT_EQ(attribute, 0); // abbreviations are matched with case
    EXPECT_EQ(bonus, -3);
    ParseFormula("Wil + rank", attribute, bonus);
    EXPECT_EQ(attribute, 5);
    EXPECT_EQ(bonus, -3); // a word after "+" leaves the bonus as it was
    ParseFormula("Cha + 99999", attribute, bonus);
    EXPECT_EQ(bonus, 32767);
}

TEST(SkillDatabase, HugeSingleBucketChainIsDestroyedWithoutRecursion) {
    // Anagrams share a bucket: 100 000 names over the letters of one word.
    std::string content;
    for (int i = 0; i < 100'000; ++i) {
        std::string name = "ABCDEFGHIJKLMNOPQ";
        for (int k = 0, n = i; k < 8; ++k, n /= 4)
            std::swap(name[static_cast<size_t>(k)], name[static_cast<size_t>(k + n % 4 + 1)]);
        content += "[" + name + "]\n";
    }
    TempDir dir;
    dir.Write("Skills.dat", content);
    auto s = std::make_unique<SkillTable>();
    RecordingPrompt prompt;
    ReadSkills(*s, dir.path, prompt);
    ASSERT_EQ(s->Count(), 100'000u);
    int used = 0;
    for (const auto& bucket : s->buckets)
        used += bucket != nullptr;
    EXPECT_EQ(used, 1);
    // Destroyed on a thread with a small stack: one frame per entry would overflow it.
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 256 * 1024);
    pthread_t thread;
    ASSERT_EQ(pthread_create(
                  &thread, &attributes,
                  [](void* skills) -> void* {
                      static_cast<std::unique_ptr<SkillTable>*>(skills)->reset();
                      return nullptr;
                  },
                  &s),
              0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    EXPECT_EQ(s, nullptr);
}
