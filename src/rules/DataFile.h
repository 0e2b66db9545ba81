#pragma once

#include "rules/UserPrompt.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The line conventions every data-file reader shares: trimming, keywords, headers, flags,
// numbers and lists. Data files are untrusted: nothing here reads past the text it is given,
// and numbers that do not fit their field are clamped to it.
namespace DataFile {

// Blank, tab, carriage return, line feed, vertical tab, form feed.
inline bool IsWhiteSpace(char c) {
    constexpr uint64_t set = uint64_t{1} << ' ' | uint64_t{1} << '\t' | uint64_t{1} << '\r' |
                             uint64_t{1} << '\n' | uint64_t{1} << '\v' | uint64_t{1} << '\f';
    const auto byte = static_cast<unsigned char>(c);
    return byte <= ' ' && (set >> byte & 1) != 0;
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

// Eight bytes at once, in memory order.
inline uint64_t LoadWord(const char* bytes) {
    uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// ToUpper of each of the eight bytes of `word`: bytes "a" to "z" lose 0x20, no other byte
// changes. Each byte is tested on its own seven low bits, so no carry crosses into the next.
inline uint64_t ToUpperWord(uint64_t word) {
    constexpr uint64_t ones = 0x0101010101010101ull;
    constexpr uint64_t highBits = 0x8080808080808080ull;
    const uint64_t low7 = word & ~highBits;
    const uint64_t fromA = low7 + (0x80 - 'a') * ones;     // high bit set where >= "a"
    const uint64_t pastZ = low7 + (0x80 - 'z' - 1) * ones; // high bit set where > "z"
    const uint64_t lower = fromA & ~pastZ & ~word & highBits;
    return word - (lower >> 2);
}

inline bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    const size_t n = a.size();
    if (n < 8) {
        for (size_t i = 0; i < n; ++i)
            if (ToUpper(a[i]) != ToUpper(b[i]))
                return false;
        return true;
    }
    auto sameWord = [&](size_t at) {
        const uint64_t x = LoadWord(a.data() + at);
        const uint64_t y = LoadWord(b.data() + at);
        return x == y || ToUpperWord(x) == ToUpperWord(y);
    };
    for (size_t i = 0; i + 8 <= n; i += 8)
        if (!sameWord(i))
            return false;
    // The last bytes as the last word, overlapping the one before.
    return n % 8 == 0 || sameWord(n - 8);
}

inline bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    // Most lines differ from most keywords in their first letter: that settles it cheaply.
    if (!prefix.empty() && ToUpper(text[0]) != ToUpper(prefix[0]))
        return false;
    if constexpr (std::endian::native == std::endian::little) {
        // A keyword of a word or less against the first word of the line, its other bytes
        // masked off.
        if (prefix.size() <= 8 && text.size() >= 8) {
            uint64_t word = 0;
            std::memcpy(&word, prefix.data(), prefix.size());
            const uint64_t mask =
                prefix.size() == 8 ? ~uint64_t{0} : (uint64_t{1} << 8 * prefix.size()) - 1;
            return ((ToUpperWord(LoadWord(text.data())) ^ ToUpperWord(word)) & mask) == 0;
        }
    }
    return EqualsNoCase(text.substr(0, prefix.size()), prefix);
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

// Calls `take` with each name of a list of names separated by ",", in order: leading white
// space of each name is dropped, trailing white space kept; a "," at the very end adds
// nothing, an empty value gives one empty name.
template <typename Take> void ForEachInList(std::string_view value, Take&& take) {
    do {
        const size_t comma = value.find(',');
        take(value.substr(0, comma));
        value = comma == std::string_view::npos ? std::string_view() : value.substr(comma + 1);
        value = TrimLeft(value);
    } while (!value.empty());
}

// Reads a signed decimal integer the way "%d" does: optional leading white space, optional
// sign, digits, stopping at the first other character. On success `text` is advanced past
// the number and the value saturates far outside 32 bits, so callers can clamp it; without
// digits nothing is consumed and false is returned.
inline bool ScanInteger(std::string_view& text, int64_t& value) {
    std::string_view rest = TrimLeft(text);
    bool negative = false;
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
    }
    // Saturate well beyond 32 bits so that any overflow still clamps to the right end.
    constexpr int64_t limit = int64_t{1} << 40;
    int64_t magnitude = 0;
    size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') {
        if (magnitude < limit)
            magnitude = magnitude * 10 + (rest[digits] - '0');
        ++digits;
    }
    if (digits == 0)
        return false;
    value = negative ? -magnitude : magnitude;
    text = rest.substr(digits);
    return true;
}

inline int16_t ClampToInt16(int64_t value) {
    if (value < std::numeric_limits<int16_t>::min())
        return std::numeric_limits<int16_t>::min();
    if (value > std::numeric_limits<int16_t>::max())
        return std::numeric_limits<int16_t>::max();
    return static_cast<int16_t>(value);
}

// "%hd" into a 16-bit field / "%d" into a 32-bit field: the target keeps its value when no
// number can be read; a number out of the field's range is clamped to it.
inline bool ScanInt16(std::string_view& text, int16_t& target) {
    int64_t value = 0;
    if (!ScanInteger(text, value))
        return false;
    target = ClampToInt16(value);
    return true;
}

inline bool ScanInt32(std::string_view& text, int32_t& target) {
    int64_t value = 0;
    if (!ScanInteger(text, value))
        return false;
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    target = static_cast<int32_t>(value < lo ? lo : value > hi ? hi : value);
    return true;
}

inline bool ReadInt16(std::string_view text, int16_t& target) {
    return ScanInt16(text, target);
}

// Reads a decimal number the way "%f" does (leading white space, sign, digits with fraction
// and exponent). Only finite values in float range are taken: "inf", "nan" or a number too
// large or too small for a float read as no number, leaving the target unchanged.
bool ScanFloat(std::string_view& text, float& target);

// True when `text` starts with `c`, which is then consumed; no white space is skipped.
bool ScanLiteral(std::string_view& text, char c);

// The description lines of the entry being read, each followed by `separator`, gathered in
// one string that is reused from entry to entry and handed over when the entry ends: the
// entry's own string is then allocated once, at its full size.
class Description {
public:
    explicit Description(char separator) : separator(separator) {}
    void Append(std::string_view line) {
        text.append(line);
        text += separator;
    }
    // Appends what was gathered to `target` and starts over.
    void MoveTo(std::string& target) {
        if (text.empty())
            return;
        target.append(text);
        text.clear();
    }

private:
    std::string text;
    char separator;
};

// One data file opened for reading line by line. Lines come whole, however long, without
// their line end ("\n" or "\r\n"); any byte, NUL included, is kept. The file is read in
// large blocks into a buffer that is reused from block to block, and lines are handed out
// as views into it: no copy is made of a line that nobody keeps.
//
// A data file that exists but cannot be read whole is never taken for an empty or shorter
// one: the reason is shown, naming the file, and the reader ends start-up as for a missing
// file. Only regular files are read (a FIFO would block start-up, a device such as /dev/zero
// never ends), and none larger than `largestFile`.
class Reader {
public:
    enum class OpenResult {
        Opened,
        NotFound, // the file or its path does not exist: the reader says so in its own words
        Refused,  // the file exists but is not read; the reason has been shown
    };

    static constexpr int64_t largestFile = int64_t{256} << 20;

    Reader() = default;
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
    ~Reader();

    // Opens `directory` + `fileName`. File names whose base is longer than eight characters
    // get the shortened-name repair first; a rename that fails refuses the file.
    OpenResult Open(const std::string& directory, std::string_view fileName,
                    CVARN_UserPrompt& prompt);

    // Next raw line (not trimmed); false at the end of the file or when reading fails. A
    // failure has been shown; the lines before it were read whole. The view is valid until
    // the next call.
    bool NextLine(std::string_view& line);
    bool NextLine(std::string& line);
    bool ReadFailed() const { return failed; }

private:
    // Reads more of the file after what the buffer holds, making room first; false at the
    // end of the file or when reading fails.
    bool Fill();
    OpenResult Refuse(std::string_view reason);
    bool Fail(std::string_view reason);

    int fd = -1;
    CVARN_UserPrompt* prompt = nullptr;
    std::string fileName;
    int64_t total = 0; // bytes read so far
    std::unique_ptr<char[]> buffer;
    size_t capacity = 0;
    size_t begin = 0; // start of the next line in `buffer`
    size_t end = 0;   // end of the bytes read into `buffer`
    // Line feeds are found 64 bytes at a time: `feeds` has a bit for each one at `window` + bit
    // that is not handed out yet; the bytes before `scanEnd` have all been looked at.
    size_t window = 0;
    size_t scanEnd = 0;
    uint64_t feeds = 0;
    bool atEnd = false;
    bool failed = false;
    bool firstLine = true; // a byte-order mark is skipped at its start
};

// Opens a file of the rules for one of the readers. False when the file is not to be read:
// a missing file is reported with `notFoundMessage` (each file has its own words), any other
// refusal has been reported by Open.
bool OpenDataFile(Reader& file, const std::string& directory, std::string_view fileName,
                  const std::string& notFoundMessage, CVARN_UserPrompt& prompt);

// The line loop of the data files made of entries: each line is trimmed, blank lines and
// comments ("#") are skipped, a line starting with "[" goes to `header` and any other to
// `line`. False when reading failed (the reason has been shown).
template <typename Header, typename Line>
bool ForEachLine(Reader& file, Header&& header, Line&& line) {
    std::string_view raw;
    while (file.NextLine(raw)) {
        const std::string_view text = Trim(raw);
        if (text.empty() || text[0] == '#')
            continue;
        if (text[0] == '[')
            header(text);
        else
            line(text);
    }
    return !file.ReadFailed();
}

// The entries of such a file that end in a description: `start` makes the entry a header line
// names and returns it; `keyword` reads a line of the current entry and returns false when the
// line is none of its keywords, and the line then adds to the entry's description, its lines
// joined by `separator`. A line before the first header is reported with `noEntry`. False when
// reading failed; the last entry has its description all the same.
template <typename Start, typename Keyword>
bool ReadEntries(Reader& file, char separator, std::string_view noEntry, CVARN_UserPrompt& prompt,
                 Start&& start, Keyword&& keyword) {
    decltype(start(std::string_view())) current = nullptr;
    Description description(separator);
    const bool read = ForEachLine(
        file,
        [&](std::string_view header) {
            if (current != nullptr)
                description.MoveTo(current->description);
            current = start(header);
        },
        [&](std::string_view line) {
            if (current == nullptr)
                prompt.ShowMessage(std::string(noEntry));
            else if (!keyword(*current, line))
                description.Append(line);
        });
    if (current != nullptr)
        description.MoveTo(current->description);
    return read;
}

// If `path` does not exist but its name with the base cut to eight characters does, asks
// whether to rename that file to `path` and does so on OK. False when the rename failed
// (the reason has been shown).
bool RepairShortenedName(const std::string& path, CVARN_UserPrompt& prompt);

} // namespace DataFile
