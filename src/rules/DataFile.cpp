#include "rules/DataFile.h"

#include "rules/UserPrompt.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>
#include <sys/stat.h>

namespace DataFile {

std::string ToUpper(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = ToUpper(c);
    return result;
}

bool IsYes(std::string_view value) {
    return !value.empty() && (value[0] == 'y' || value[0] == 'Y');
}

std::string_view HeaderName(std::string_view line) {
    std::string_view rest = line.substr(line.empty() ? 0 : 1);
    const size_t close = rest.find(']');
    return close == std::string_view::npos ? rest : rest.substr(0, close);
}

std::vector<std::string_view> SplitList(std::string_view value) {
    std::vector<std::string_view> names;
    do {
        const size_t comma = value.find(',');
        names.push_back(value.substr(0, comma));
        value = comma == std::string_view::npos ? std::string_view() : value.substr(comma + 1);
        value = TrimLeft(value);
    } while (!value.empty());
    return names;
}

bool ScanInteger(std::string_view& text, int64_t& value) {
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

int16_t ClampToInt16(int64_t value) {
    if (value < std::numeric_limits<int16_t>::min())
        return std::numeric_limits<int16_t>::min();
    if (value > std::numeric_limits<int16_t>::max())
        return std::numeric_limits<int16_t>::max();
    return static_cast<int16_t>(value);
}

bool ScanInt16(std::string_view& text, int16_t& target) {
    int64_t value = 0;
    if (!ScanInteger(text, value))
        return false;
    target = ClampToInt16(value);
    return true;
}

bool ScanInt32(std::string_view& text, int32_t& target) {
    int64_t value = 0;
    if (!ScanInteger(text, value))
        return false;
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    target = static_cast<int32_t>(value < lo ? lo : value > hi ? hi : value);
    return true;
}

bool ReadInt16(std::string_view text, int16_t& target) {
    return ScanInt16(text, target);
}

bool ScanFloat(std::string_view& text, float& target) {
    std::string_view rest = TrimLeft(text);
    bool negative = false;
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
    }
    // from_chars would also take "inf" and "nan": a price or weight is a plain number.
    if (rest.empty() || !((rest[0] >= '0' && rest[0] <= '9') || rest[0] == '.'))
        return false;
    float value = 0;
    const auto [end, error] =
        std::from_chars(rest.data(), rest.data() + rest.size(), value, std::chars_format::general);
    if (error != std::errc() || !std::isfinite(value))
        return false;
    target = negative ? -value : value;
    text = rest.substr(static_cast<size_t>(end - rest.data()));
    return true;
}

bool ScanLiteral(std::string_view& text, char c) {
    if (text.empty() || text[0] != c)
        return false;
    text.remove_prefix(1);
    return true;
}

namespace {

bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

} // namespace

void RepairShortenedName(const std::string& path, CVARN_UserPrompt& prompt) {
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string_view name = std::string_view(path).substr(nameStart);
    const size_t dot = name.rfind('.');
    const std::string_view base = name.substr(0, dot);
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : name.substr(dot);
    const std::string shortPath =
        path.substr(0, nameStart) + std::string(base.substr(0, 8)) + std::string(extension);

    if (Exists(path) || !Exists(shortPath))
        return;
    const std::string question = shortPath + " file found" +
                                 "\nYour unzipper had probably truncated this file name" +
                                 "\nAm I allowed to rename it?" + "\n( NewName : " + path + " )";
    if (!prompt.AskOkCancel(question))
        return;
    // A failed rename leaves the long name missing: opening it then reports "not found".
    std::error_code error;
    std::filesystem::rename(shortPath, path, error);
}

Reader::OpenResult Reader::Open(const std::string& directory, std::string_view fileName,
                                CVARN_UserPrompt& prompt) {
    const std::string path = directory + std::string(fileName);
    const std::string_view base = fileName.substr(0, fileName.find('.'));
    if (base.size() > 8)
        RepairShortenedName(path, prompt);

    stream.open(path, std::ios::in | std::ios::binary);
    if (stream.is_open())
        return OpenResult::Opened;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR))
        return OpenResult::NotFound;
    return OpenResult::Failed;
}

bool Reader::NextLine(std::string& line) {
    if (!std::getline(stream, line))
        return false;
    // A "\r\n" line end is a line end too: a file written on another system must read the same.
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

} // namespace DataFile
