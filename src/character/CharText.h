#pragma once

// Text helpers of the character model. Names come from data files and character files
// byte for byte, so case is folded for ASCII letters only and never by locale.

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

inline bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && EqualNoCase(s.substr(0, prefix.size()), prefix);
}

// "Durability (7/6)" and the like, in any case: the durability talent with its per-rank
// numbers. Asked for every talent on every circle change, so it must not allocate.
inline bool IsNumberedDurability(std::string_view name) {
    return StartsWithNoCase(name, "DURABILITY") && name.find('(') != std::string_view::npos;
}

// A durability talent by any of its names: plain "DURABILITY" or with numbers.
inline bool IsDurability(std::string_view name) {
    return EqualNoCase(name, "DURABILITY") || IsNumberedDurability(name);
}

// " (%2d)": a circle behind a discipline's name.
inline void AppendCircle(std::string& out, int circle) {
    if (circle >= 0 && circle <= 9) {
        out += " ( ";
        out += static_cast<char>('0' + circle);
        out += ')';
    } else {
        out += " (";
        out += std::to_string(circle);
        out += ')';
    }
}

} // namespace varn_text
