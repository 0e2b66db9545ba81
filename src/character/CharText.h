#pragma once

// Text helpers of the character model. Names come from data files and character files
// byte for byte, so case is folded for ASCII letters only and never by locale.

#include <cstdarg>
#include <cstdio>
#include <string>
#include <string_view>

namespace varn_text {

inline char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string ToUpper(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        c = Upper(c);
    return u;
}

inline bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i]))
            return false;
    return true;
}

// "DURABILITY (7/6)" and the like: the durability talent with its per-rank numbers.
inline bool IsNumberedDurability(std::string_view upper) {
    return upper.starts_with("DURABILITY") && upper.find('(') != std::string_view::npos;
}

// printf into a string of whatever length the arguments need.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
inline std::string
Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (needed > 0) {
        out.resize(static_cast<size_t>(needed));
        std::vsnprintf(out.data(), out.size() + 1, format, args);
    }
    va_end(args);
    return out;
}

} // namespace varn_text
