#include "tools/RunTool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace {
const std::string basicSet = VARN_TEST_DATA_DIR "rules/basic/";
} // namespace

TEST(VarnToolCheck, ShippedDataLoadsCleanly) {
    // Explicitly, and as the build places it beside the program (bin/Data/).
    for (const auto& args : {std::vector<std::string>{"check", "--data", VARN_SHIPPED_DATA_DIR},
                             std::vector<std::string>{"check"}}) {
        const ToolResult run = RunTool(args);
        EXPECT_EQ(run.status, 0) << args.size();
        EXPECT_EQ(run.err, "");
        EXPECT_TRUE(
            std::regex_match(run.out, std::regex("races=[1-9][0-9]* disciplines=[1-9][0-9]* "
                                                 "talents=[1-9][0-9]* skills=[1-9][0-9]* "
                                                 "spells=[1-9][0-9]* items=[1-9][0-9]*\n")))
            << run.out;
    }
}
