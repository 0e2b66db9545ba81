#include "rules/DataFile.h"

#include "rules/Platform.h"
#include "rules/UserPrompt.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// A plain decimal number ("12", "0.5", "1e3") at the start of `text`, as from_chars reads it
// in general format; `used` is the count of bytes it took.
bool ParseFloat(std::string_view text, float& value, size_t& used) {
#if defined(__cpp_lib_to_chars)
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    used = static_cast<size_t>(end - text.data());
    return error == std::errc();
#else
    // Without floating-point from_chars (the WebAssembly libc++): the same digits handed to
    // strtof, whose only locale there is "C".
    size_t i = 0;
    auto digits = [&] {
        const size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i - from;
    };
    size_t count = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        count += digits();
    }
    if (count == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const size_t mark = i++;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (digits() == 0)
            i = mark;
    }
    const std::string number(text.substr(0, i));
    errno = 0;
    value = std::strtof(number.c_str(), nullptr);
    used = i;
    return errno != ERANGE;
#endif
}

} // namespace

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
    size_t used = 0;
    if (!ParseFloat(rest, value, used) || !std::isfinite(value))
        return false;
    target = negative ? -value : value;
    text = rest.substr(used);
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

bool RepairShortenedName(const std::string& path, CVARN_UserPrompt& prompt) {
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
        return true;
    const std::string question = shortPath + " file found" +
                                 "\nYour unzipper had probably truncated this file name" +
                                 "\nAm I allowed to rename it?" + "\n( NewName : " + path + " )";
    if (!prompt.AskOkCancel(question))
        return true;
    // Left alone, a failed rename would read as "not found" for a file that is there.
    if (::rename(shortPath.c_str(), path.c_str()) == 0)
        return true;
    const std::string reason = std::error_code(errno, std::generic_category()).message();
    prompt.ShowMessage("File '" + shortPath.substr(nameStart) + "' could not be renamed to '" +
                       std::string(name) + "': " + reason);
    return false;
}

namespace {

// Bytes asked of the system per read: a few reads for a large file, and a buffer that stays
// in the processor's cache while its lines are taken apart.
constexpr size_t blockSize = size_t{64} * 1024;

// A bit for each line feed among the `count` (at most 64) bytes at `bytes`, bit i for byte i.
uint64_t LineFeeds(const char* bytes, size_t count) {
    char padded[64];
    if (count < 64) {
        std::memset(padded, 0, sizeof padded);
        std::memcpy(padded, bytes, count);
        bytes = padded;
    }
#if defined(__SSE2__)
    const __m128i feed = _mm_set1_epi8('\n');
    uint64_t bits = 0;
    for (int part = 0; part < 4; ++part) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * part));
        const auto mask = static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, feed)));
        bits |= uint64_t{mask} << (16 * part);
    }
    return bits;
#else
    uint64_t bits = 0;
    for (size_t i = 0; i < 64; ++i)
        bits |= uint64_t{bytes[i] == '\n'} << i;
    return bits;
#endif
}

// The first block of the last reader closed, kept for the next one: start-up reads seven files
// one after another, and giving a block this large back to the allocator makes it sweep every
// small chunk freed since, each time.
thread_local std::unique_ptr<char[]> spareBlock;

} // namespace

Reader::~Reader() {
    if (fd >= 0)
        ::close(fd);
    if (capacity == blockSize && !spareBlock)
        spareBlock = std::move(buffer);
}

namespace {

// Why a file of this kind is not read, or nullptr when it may be.
const char* Unreadable(const struct stat& info) {
    if (S_ISDIR(info.st_mode))
        return "it is a directory";
    if (!S_ISREG(info.st_mode))
        return "it is not a regular file";
    if (info.st_size > Reader::largestFile)
        return "it is larger than 256 MB";
    return nullptr;
}

std::string ErrnoText() {
    return std::error_code(errno, std::generic_category()).message();
}

} // namespace

Reader::OpenResult Reader::Open(const std::string& directory, std::string_view name,
                                CVARN_UserPrompt& user) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
    prompt = &user;
    fileName = std::string(name);
    total = 0;
    begin = end = window = scanEnd = 0;
    feeds = 0;
    atEnd = failed = false;
    firstLine = true;

    const std::string path = directory + fileName;
    const std::string_view base = name.substr(0, name.find('.'));
    if (base.size() > 8 && !RepairShortenedName(path, user)) {
        failed = true;
        return OpenResult::Refused;
    }

    // Looked at before it is opened: opening a FIFO waits for a writer, opening a device may
    // do anything.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return OpenResult::NotFound;
        return Refuse(ErrnoText());
    }
    if (const char* why = Unreadable(info))
        return Refuse(why);
    // Not blocking, and looked at again, in case another file took the name meanwhile.
    fd = Platform::OpenForReading(path, true);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return OpenResult::NotFound;
        return Refuse(ErrnoText());
    }
    if (::fstat(fd, &info) != 0)
        return Refuse(ErrnoText());
    if (const char* why = Unreadable(info))
        return Refuse(why);
    return OpenResult::Opened;
}

Reader::OpenResult Reader::Refuse(std::string_view reason) {
    Fail(reason);
    return OpenResult::Refused;
}

bool Reader::Fail(std::string_view reason) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
    atEnd = failed = true;
    prompt->ShowMessage("File '" + fileName + "' cannot be read: " + std::string(reason));
    return false;
}

bool Reader::Fill() {
    if (atEnd || fd < 0) {
        atEnd = true;
        return false;
    }
    // The unfinished line moves to the front; a line that fills the whole buffer doubles it.
    if (begin > 0) {
        std::memmove(buffer.get(), buffer.get() + begin, end - begin);
        end -= begin;
        scanEnd -= begin;
        begin = 0;
    }
    if (capacity == 0 && spareBlock) {
        buffer = std::move(spareBlock);
        capacity = blockSize;
    }
    if (end == capacity) {
        // Not cleared first: only what is read into it is ever looked at.
        const size_t grown = capacity == 0 ? blockSize : capacity * 2;
#if defined(__cpp_lib_smart_ptr_for_overwrite)
        auto larger = std::make_unique_for_overwrite<char[]>(grown);
#else
        std::unique_ptr<char[]> larger(new char[grown]);
#endif
        if (end > 0)
            std::memcpy(larger.get(), buffer.get(), end);
        buffer = std::move(larger);
        capacity = grown;
    }
    for (;;) {
        const ssize_t count = ::read(fd, buffer.get() + end, capacity - end);
        if (count > 0) {
            // A file that grows while it is read is held to the same bound.
            total += count;
            if (total > largestFile)
                return Fail("it is larger than 256 MB");
            end += static_cast<size_t>(count);
            return true;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return Fail(ErrnoText());
        atEnd = true;
        return false;
    }
}

bool Reader::NextLine(std::string_view& line) {
    for (;;) {
        if (feeds != 0) {
            const size_t stop = window + static_cast<size_t>(std::countr_zero(feeds));
            feeds &= feeds - 1;
            line = std::string_view(buffer.get() + begin, stop - begin);
            begin = stop + 1;
            break;
        }
        if (scanEnd < end) {
            window = scanEnd;
            const size_t count = std::min(end - window, size_t{64});
            feeds = LineFeeds(buffer.get() + window, count);
            scanEnd = window + count;
            continue;
        }
        if (!Fill()) {
            // The last line may lack its line feed; a line cut by a read error is no line.
            if (failed || begin == end)
                return false;
            line = std::string_view(buffer.get() + begin, end - begin);
            begin = scanEnd = end;
            break;
        }
    }
    // A "\r\n" line end is a line end too: a file written on another system must read the same.
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    // Editors that save UTF-8 may put a byte-order mark in front of the first line.
    if (firstLine) {
        firstLine = false;
        if (line.starts_with("\xEF\xBB\xBF"))
            line.remove_prefix(3);
    }
    return true;
}

bool Reader::NextLine(std::string& line) {
    std::string_view view;
    if (!NextLine(view))
        return false;
    line.assign(view);
    return true;
}

bool OpenDataFile(Reader& file, const std::string& directory, std::string_view fileName,
                  const std::string& notFoundMessage, CVARN_UserPrompt& prompt) {
    switch (file.Open(directory, fileName, prompt)) {
    case Reader::OpenResult::NotFound:
        prompt.ShowMessage(notFoundMessage);
        return false;
    case Reader::OpenResult::Refused:
        return false;
    case Reader::OpenResult::Opened:
        break;
    }
    return true;
}

} // namespace DataFile
