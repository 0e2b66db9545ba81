// varn-tool sheet and convert, run as a user runs them.

#include "tools/RunTool.h"

#include <gtest/gtest.h>

namespace {

const std::string data = VARN_SHIPPED_DATA_DIR;

std::string Example(const char* name) {
    return data + "../examples/" + name;
}

} // namespace

// sheet prints the text with plain line feeds (the veteran's shows every block of a sheet);
// convert to a text file writes the same text as the desktop program's export, with carriage
// returns before them.
TEST(ToolRun, SheetAndConvertAgree) {
    TempDir dir;
    std::string input = Example("veteran.vrn");
    ToolResult sheet = RunTool({"sheet", "--data", data, input});
    ASSERT_EQ(sheet.status, 0) << sheet.err;
    EXPECT_EQ(sheet.err, "");
    ExpectFile(sheet.out, "sheet/veteran.txt");

    std::string txt = dir.path + "veteran.txt";
    ToolResult toText = RunTool({"convert", "--data", data, input, txt});
    ASSERT_EQ(toText.status, 0) << toText.err;
    EXPECT_EQ(toText.out + toText.err, "");
    std::string crlf;
    for (char ch : sheet.out)
        crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    EXPECT_EQ(Slurp(txt), crlf);

    std::string vrn = dir.path + "copy.VRN";
    ASSERT_EQ(RunTool({"convert", "--data", data, input, vrn}).status, 0);
    EXPECT_EQ(Slurp(vrn), Slurp(input));
}
