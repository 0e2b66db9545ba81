#pragma once

// Texts of data and character files are bytes in no declared encoding. Outputs that must
// be UTF-8 (JSON, HTML) take a text that is valid UTF-8 as it is and read any other as
// Latin-1, as the desktop program shows it.

#include <string>
#include <string_view>

namespace varn_text {

bool IsValidUtf8(std::string_view s);
std::string ToUtf8(std::string_view s);
// `s` as UTF-8 (see ToUtf8) with every control character (C0, DEL and C1) written as
// "\x1B" or "\u009B": safe to print in a message on a terminal or in a page. A page keeps
// its line feeds and tabs (`keepLineBreaks`).
std::string ShowControls(std::string_view s, bool keepLineBreaks = false);

} // namespace varn_text
