#pragma once

// The few calls that differ between the systems the core is built for (the Linux desktop,
// WebAssembly in a browser). Everything else in rules and character is standard C++ and
// portable POSIX. Each call has a portable path that works where the special one is missing.

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace Platform {

// The running program's file, symbolic links resolved; "" where the system cannot tell.
std::string ExecutablePath();

// File descriptors, closed on exec where the system knows that; -1 with errno on failure.
int OpenForReading(const std::string& path, bool nonBlocking = false);
int OpenForWriting(const std::string& path, bool truncate);
int OpenForUpdate(const std::string& path);
// Makes a new file, failing with EEXIST when the name is taken.
int CreateExclusive(const std::string& path, mode_t mode);

// Claims the blocks for `size` bytes without changing the file's length, so that a full
// disk shows before anything is written. True when claimed or when the file system cannot
// claim ahead (nothing to do then); false with errno on a real failure.
bool ReserveSpace(int fd, size_t size);

// Gives the file to the owner and group, where allowed; a refusal changes nothing.
void KeepOwner(int fd, uid_t owner, gid_t group);

// The longest file name the folder takes.
long NameMax(const std::string& folder);

// Makes the folder's entries (a rename in it) durable, where the system can.
void SyncFolder(const std::string& folder);

} // namespace Platform
