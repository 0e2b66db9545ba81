#pragma once

// Texts of data and character files are bytes in no declared encoding. Outputs that must
// be UTF-8 (JSON, HTML) take a text that is valid UTF-8 as it is and read any other as
// Latin-1, as the desktop program shows it.

#include <string>
#include <string_view>

namespace varn_text {

bool IsValidUtf8(std::string_view s);
std::string ToUtf8(std::string_view s);

} // namespace varn_text
