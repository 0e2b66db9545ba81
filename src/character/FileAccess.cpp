// Opening and saving character files on disk, and the words for what went wrong.

#include "character/CharacterFile.h"
#include "character/TextSheet.h"
#include "rules/Platform.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A character file is a few kilobytes; a stream that goes on past this is no character.
constexpr size_t LargestReadableFile = size_t{256} << 20;

std::string ReplacePath(const char* text, const std::string& path) {
    std::string out(text);
    size_t at = out.find("%1");
    if (at != std::string::npos)
        out.replace(at, 2, path);
    return out;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// While saving, a missing or non-directory component means the folder is wrong, not that
// some file was not found.
CVARN_FileFailure SaveFailureFromErrno(int err) {
    if (err == ENOENT || err == ENOTDIR)
        return CVARN_FileFailure::BadPath;
    return FileFailureFromErrno(err);
}

// Devices and pipes (a terminal, /dev/stdout) are written in place: there is nothing to
// keep intact and nothing to rename over.
CVARN_FileFailure WriteInPlace(const std::string& path, std::string_view bytes) {
    int fd = Platform::OpenForWriting(path, true);
    if (fd < 0)
        return SaveFailureFromErrno(errno);
    bool ok = WriteAll(fd, bytes);
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    return ok ? CVARN_FileFailure::None : SaveFailureFromErrno(err);
}

// ".name.tmp-<pid>-<count>-<random>" beside the target. The name is cut (at a character
// boundary) so that the whole stays within the folder's name limit, however long the
// target's name is: the counter and random part keep it unique, O_EXCL does the rest.
std::string TemporaryNameBeside(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    static std::mt19937 random{std::random_device{}()};
    size_t slash = target.rfind('/');
    std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string suffix = ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
                         "-" + std::to_string(random() & 0xFFFFFF);
    const long limit = Platform::NameMax(dir);
    size_t used = 1 + suffix.size();
    size_t room = static_cast<size_t>(limit) > used ? static_cast<size_t>(limit) - used : 0;
    if (base.size() > room) {
        base.resize(room);
        while (!base.empty() && (static_cast<unsigned char>(base.back()) & 0xC0) == 0x80)
            base.pop_back();
        if (!base.empty() && static_cast<unsigned char>(base.back()) >= 0xC0)
            base.pop_back(); // the lead byte of the sequence just cut
    }
    return dir + "." + base + suffix;
}

bool ReadAllAt(int fd, std::string& out) {
    out.clear();
    char buffer[65536];
    for (;;) {
        ssize_t n = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(out.size()));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        if (out.size() + static_cast<size_t>(n) > LargestReadableFile) {
            errno = EFBIG;
            return false;
        }
        out.append(buffer, static_cast<size_t>(n));
    }
}

// The whole of `bytes` from the start of the file, whatever the file position was.
bool WriteAllAt(int fd, std::string_view bytes) {
    return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, bytes);
}

} // namespace

CVARN_FileFailure OverwriteKeepingOldBytes(const std::string& path, std::string_view bytes) {
    int fd = Platform::OpenForUpdate(path);
    if (fd < 0)
        return SaveFailureFromErrno(errno);
    std::string old;
    bool ok = false;
    try {
        ok = ReadAllAt(fd, old);
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
    }
    if (!ok) {
        int err = errno;
        ::close(fd);
        return SaveFailureFromErrno(err);
    }
    // Claim the blocks first where the file system can: a full disk then refuses the save
    // before a byte of the file has changed.
    if (bytes.size() > old.size() && !Platform::ReserveSpace(fd, bytes.size())) {
        int err = errno;
        ::close(fd);
        return SaveFailureFromErrno(err);
    }
    if (WriteAllAt(fd, bytes) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
        ::fsync(fd) == 0) {
        if (::close(fd) == 0)
            return CVARN_FileFailure::None;
        // The written bytes may not have reached the disk: put the old ones back.
        int err = errno;
        fd = Platform::OpenForWriting(path, false);
        if (fd >= 0 && WriteAllAt(fd, old) && ::ftruncate(fd, static_cast<off_t>(old.size())) == 0)
            ::fsync(fd);
        if (fd >= 0)
            ::close(fd);
        return SaveFailureFromErrno(err);
    }
    int err = errno;
    // Old bytes fit where they were; the restore needs no more room than the file had.
    if (WriteAllAt(fd, old) && ::ftruncate(fd, static_cast<off_t>(old.size())) == 0)
        ::fsync(fd);
    ::close(fd);
    return SaveFailureFromErrno(err);
}

namespace {

// Writes `bytes` to `path` so that the previous file survives any failure: the new
// content goes to a temporary file in the same folder, is flushed to disk, and only then
// replaces the old file in one rename.
CVARN_FileFailure ReplaceFile(const std::string& path, std::string_view bytes) {
    if (path.empty())
        return CVARN_FileFailure::BadPath;

    // Save through a symbolic link into the file it points at, keeping the link.
    std::string target = path;
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }

    bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        return SaveFailureFromErrno(errno);
    mode_t mode = 0666; // narrowed by the umask, as for any new file
    if (exists) {
        if (S_ISDIR(st.st_mode))
            return CVARN_FileFailure::AccessDenied;
        if (!S_ISREG(st.st_mode))
            return WriteInPlace(target, bytes);
        // A read-only file stays read-only, even though its folder would let us replace it.
        if (::access(target.c_str(), W_OK) != 0)
            return SaveFailureFromErrno(errno);
        mode = st.st_mode & 07777;
    }

    // A folder that refuses new files may still hold a file we may write: that file is
    // overwritten in place instead, its old bytes kept to be put back on failure.
    auto folderRefuses = [&](int err) { return exists && (err == EACCES || err == EPERM); };

    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = TemporaryNameBeside(target);
        fd = Platform::CreateExclusive(temporary, mode);
        if (fd < 0 && folderRefuses(errno))
            return OverwriteKeepingOldBytes(target, bytes);
        if (fd < 0 && errno != EEXIST)
            return SaveFailureFromErrno(errno);
    }
    if (fd < 0)
        return SaveFailureFromErrno(EEXIST);

    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return SaveFailureFromErrno(err);
    };
    if (exists) {
        // Keep the replaced file's owner where allowed, then its permissions: a change of
        // owner clears the set-user-ID and set-group-ID bits, so the mode comes last.
        Platform::KeepOwner(fd, st.st_uid, st.st_gid);
        if (::fchmod(fd, mode) != 0)
            return fail(errno);
    }
    if (!WriteAll(fd, bytes))
        return fail(errno);
    if (::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(temporary.c_str());
        return SaveFailureFromErrno(err);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        int err = errno;
        ::unlink(temporary.c_str());
        if (folderRefuses(err)) // a sticky folder may let us create but not replace
            return OverwriteKeepingOldBytes(target, bytes);
        return SaveFailureFromErrno(err);
    }

    // Make the rename itself durable; the new file is complete whatever this says.
    size_t slash = target.rfind('/');
    std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    Platform::SyncFolder(dir);
    return CVARN_FileFailure::None;
}

// The text export writes each line end as a carriage return and a line feed.
std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (char ch : text) {
        if (ch == '\n')
            out += '\r';
        out += ch;
    }
    return out;
}

} // namespace

std::string FileFailureText(CVARN_FileFailure failure, const std::string& path) {
    switch (failure) {
    case CVARN_FileFailure::None:
        return {};
    case CVARN_FileFailure::UnexpectedFormat:
        return "Unexpected file format.";
    case CVARN_FileFailure::OpenFailed:
        return "Failed to open document.";
    case CVARN_FileFailure::SaveFailed:
        return "Failed to save document.";
    case CVARN_FileFailure::NotFound:
        return ReplacePath("%1 was not found.", path);
    case CVARN_FileFailure::BadPath:
        return ReplacePath("%1 contains an invalid path.", path);
    case CVARN_FileFailure::TooManyOpenFiles:
        return ReplacePath("%1 could not be opened because there are too many open files.", path);
    case CVARN_FileFailure::AccessDenied:
        return ReplacePath("Access to %1 was denied.", path);
    case CVARN_FileFailure::InvalidFile:
        return ReplacePath("An invalid file handle was associated with %1.", path);
    case CVARN_FileFailure::DirectoryFull:
        return ReplacePath("%1 could not be created because the directory is full.", path);
    case CVARN_FileFailure::SeekFailed:
        return ReplacePath("Seek failed on %1", path);
    case CVARN_FileFailure::HardwareError:
        return ReplacePath("A hardware I/O error was reported while accessing %1.", path);
    case CVARN_FileFailure::SharingViolation:
        return ReplacePath("A sharing violation occurred while accessing %1.", path);
    case CVARN_FileFailure::LockViolation:
        return ReplacePath("A locking violation occurred while accessing %1.", path);
    case CVARN_FileFailure::DiskFull:
        return ReplacePath("Disk full while accessing %1.", path);
    case CVARN_FileFailure::PastEnd:
        return ReplacePath("An attempt was made to access %1 past its end.", path);
    case CVARN_FileFailure::Other:
        break;
    }
    return ReplacePath("An unknown error occurred while accessing %1.", path);
}

CVARN_FileFailure FileFailureFromErrno(int err) {
    switch (err) {
    case ENOENT:
        return CVARN_FileFailure::NotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
    case EXDEV:
        return CVARN_FileFailure::BadPath;
    case EMFILE:
    case ENFILE:
        return CVARN_FileFailure::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return CVARN_FileFailure::AccessDenied;
    case EBADF:
        return CVARN_FileFailure::InvalidFile;
    case EMLINK:
        return CVARN_FileFailure::DirectoryFull;
    case ESPIPE:
        return CVARN_FileFailure::SeekFailed;
    case EIO:
        return CVARN_FileFailure::HardwareError;
    case ETXTBSY:
    case EBUSY:
        return CVARN_FileFailure::SharingViolation;
    case ENOLCK:
    case EDEADLK:
        return CVARN_FileFailure::LockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return CVARN_FileFailure::DiskFull;
    default:
        return CVARN_FileFailure::Other;
    }
}

bool IsCharacterFilePath(const std::string& path) {
    size_t dot = path.rfind('.');
    std::string_view extension =
        dot == std::string::npos ? std::string_view(path) : std::string_view(path).substr(dot);
    if (extension.size() != 4)
        return false;
    const char* vrn = ".vrn";
    for (size_t i = 0; i < 4; ++i) {
        char ch = extension[i];
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
        if (ch != vrn[i])
            return false;
    }
    return true;
}

namespace {

// Reads what the open file holds, up to the largest readable file.
CVARN_FileFailure ReadStream(int fd, const struct stat& st, std::string& bytes) {
    if (S_ISREG(st.st_mode) && static_cast<size_t>(st.st_size) <= LargestReadableFile)
        bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return FileFailureFromErrno(errno);
        }
        if (n == 0)
            return CVARN_FileFailure::None;
        if (bytes.size() + static_cast<size_t>(n) > LargestReadableFile)
            return CVARN_FileFailure::UnexpectedFormat;
        bytes.append(buffer, static_cast<size_t>(n));
    }
}

} // namespace

CVARN_FileFailure LoadCharacterFile(CVARN_Character& character, const std::string& path,
                                    CVARN_UserPrompt& prompt) {
    std::string bytes;
    CVARN_FileFailure failure = ReadFileBytes(path, bytes);
    if (failure != CVARN_FileFailure::None)
        return failure;
    return ReadCharacter(character, bytes, prompt);
}

CVARN_FileFailure WriteFileBytes(const std::string& path, std::string_view bytes) {
    return ReplaceFile(path, bytes);
}

CVARN_FileFailure ReadFileBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    int fd = Platform::OpenForReading(path);
    if (fd < 0)
        return FileFailureFromErrno(errno);
    struct stat st;
    int err = 0;
    if (::fstat(fd, &st) != 0)
        err = errno;
    else if (S_ISDIR(st.st_mode))
        err = EISDIR;
    if (err != 0) {
        ::close(fd);
        return FileFailureFromErrno(err);
    }
    CVARN_FileFailure failure;
    try {
        failure = ReadStream(fd, st, bytes);
    } catch (const std::bad_alloc&) {
        failure = CVARN_FileFailure::UnexpectedFormat;
    }
    ::close(fd);
    return failure;
}

CVARN_FileFailure SaveCharacterFile(const CVARN_Character& character, const std::string& path,
                                    bool* wroteCharacterFile) {
    if (wroteCharacterFile)
        *wroteCharacterFile = false;
    bool characterFile = IsCharacterFilePath(path);
    std::string bytes;
    if (characterFile) {
        bytes = WriteCharacter(character);
    } else {
        std::string sheet;
        BuildTextSheet(character, sheet);
        bytes = WithCrLf(sheet);
    }
    CVARN_FileFailure failure = ReplaceFile(path, bytes);
    if (failure == CVARN_FileFailure::None && wroteCharacterFile)
        *wroteCharacterFile = characterFile;
    return failure;
}
