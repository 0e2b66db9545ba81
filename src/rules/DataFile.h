#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

class CVARN_UserPrompt;

// The line conventions every data-file reader shares: trimming, keywords, headers, flags,
// numbers and lists. Data files are untrusted: nothing here reads past the text it is given,
// and numbers that do not fit their field are clamped to it.
namespace DataFile {

// Blank, tab, carriage return, line feed, vertical tab, form feed.
inline bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

inline std::string_view TrimLeft(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsWhiteSpace(text[i]))
        ++i;
    return text.substr(i);
}

inline std::string_view TrimRight(std::string_view text) {
    size_t n = text.size();
    while (n > 0 && IsWhiteSpace(text[n - 1]))
        --n;
    return text.substr(0, n);
}

inline std::string_view Trim(std::string_view text) {
    return TrimRight(TrimLeft(text));
}

// Letter case is folded for ASCII letters only; other bytes compare as they are.
inline char ToUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string ToUpper(std::string_view text);

inline bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (ToUpper(a[i]) != ToUpper(b[i]))
            return false;
    return true;
}

inline bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// True when `line` starts with `keyword` (colon included) ignoring case; `value` is then the
// rest of the line without its leading white space.
inline bool MatchKeyword(std::string_view line, std::string_view keyword, std::string_view& value) {
    if (!StartsWithNoCase(line, keyword))
        return false;
    value = TrimLeft(line.substr(keyword.size()));
    return true;
}

// A flag is set when its value starts with "y" or "Y".
bool IsYes(std::string_view value);

// Name of an entry header (a line starting with "["): the text up to the first "]", or to
// the end of the line when there is none. Not trimmed.
std::string_view HeaderName(std::string_view line);

// A list of names separated by ",": leading white space of each name is dropped, trailing
// white space kept; a "," at the very end adds nothing, an empty value gives one empty name.
std::vector<std::string_view> SplitList(std::string_view value);

// Reads a signed decimal integer the way "%d" does: optional leading white space, optional
// sign, digits, stopping at the first other character. On success `text` is advanced past
// the number and the value saturates far outside 32 bits, so callers can clamp it; without
// digits nothing is consumed and false is returned.
bool ScanInteger(std::string_view& text, int64_t& value);
// "%hd" into a 16-bit field / "%d" into a 32-bit field: the target keeps its value when no
// number can be read; a number out of the field's range is clamped to it.
bool ScanInt16(std::string_view& text, int16_t& target);
bool ScanInt32(std::string_view& text, int32_t& target);
bool ReadInt16(std::string_view text, int16_t& target);
int16_t ClampToInt16(int64_t value);

// Reads a decimal number the way "%f" does (leading white space, sign, digits with fraction
// and exponent). Only finite values in float range are taken: "inf", "nan" or a number too
// large or too small for a float read as no number, leaving the target unchanged.
bool ScanFloat(std::string_view& text, float& target);

// True when `text` starts with `c`, which is then consumed; no white space is skipped.
bool ScanLiteral(std::string_view& text, char c);

// One data file opened for reading line by line. Lines come whole, however long, without
// their line end ("\n" or "\r\n"); any byte, NUL included, is kept.
class Reader {
public:
    enum class OpenResult { Opened, NotFound, Failed };

    // Opens `directory` + `fileName`. NotFound when the file or its path does not exist;
    // Failed for any other reason (the readers then keep going silently). File names whose
    // base is longer than eight characters get the shortened-name repair first.
    OpenResult Open(const std::string& directory, std::string_view fileName,
                    CVARN_UserPrompt& prompt);

    // Next raw line (not trimmed); false at the end of the file or on a read error.
    bool NextLine(std::string& line);
    bool ReadFailed() const { return stream.bad(); }

private:
    std::ifstream stream;
};

// If `path` does not exist but its name with the base cut to eight characters does, asks
// whether to rename that file to `path` and does so on OK.
void RepairShortenedName(const std::string& path, CVARN_UserPrompt& prompt);

} // namespace DataFile
