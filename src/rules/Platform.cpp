#include "rules/Platform.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif

namespace Platform {

std::string ExecutablePath() {
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
    std::error_code error;
    const std::filesystem::path program = std::filesystem::canonical("/proc/self/exe", error);
    if (!error)
        return program.string();
#endif
    return {};
}

int OpenForReading(const std::string& path, bool nonBlocking) {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (nonBlocking ? O_NONBLOCK : 0));
}

int OpenForWriting(const std::string& path, bool truncate) {
    return ::open(path.c_str(), O_WRONLY | O_CLOEXEC | (truncate ? O_TRUNC : 0));
}

int OpenForUpdate(const std::string& path) {
    return ::open(path.c_str(), O_RDWR | O_CLOEXEC);
}

int CreateExclusive(const std::string& path, mode_t mode) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
}

bool ReserveSpace(int fd, size_t size) {
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
    if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) == 0)
        return true;
    return errno == EOPNOTSUPP || errno == ENOSYS || errno == EINVAL;
#else
    // Claiming ahead without growing the file needs Linux; elsewhere the write itself
    // finds a full disk, and the caller puts the old bytes back.
    (void)fd;
    (void)size;
    return true;
#endif
}

void KeepOwner(int fd, uid_t owner, gid_t group) {
    if (::fchown(fd, owner, group) != 0) {
        // Not ours to give away: the file simply becomes ours.
    }
}

long NameMax(const std::string& folder) {
    long limit = -1;
#ifdef _PC_NAME_MAX
    limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
#else
    (void)folder;
#endif
#ifdef NAME_MAX
    if (limit <= 0 || limit > NAME_MAX)
        limit = NAME_MAX;
#else
    if (limit <= 0)
        limit = 255;
#endif
    return limit;
}

void SyncFolder(const std::string& folder) {
#if defined(O_DIRECTORY) && !defined(__EMSCRIPTEN__)
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    (void)folder; // the browser's in-memory files have nothing to make durable
#endif
}

} // namespace Platform
