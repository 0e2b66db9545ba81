#pragma once

#include <optional>
#include <string>
#include <string_view>

// Value of `key` in `[section]` of an ini-style settings file, or nothing when the file, the
// section or the key is missing. Section and key names ignore case; names and values are
// trimmed; a value wrapped in matching quotes loses them; lines starting with ";" or "#"
// are comments. The first occurrence of a key counts.
std::optional<std::string> ReadIniValue(const std::string& path, std::string_view section,
                                        std::string_view key);
