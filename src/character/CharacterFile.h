#pragma once

#include <string>
#include <string_view>

class CVARN_Character;
class CVARN_UserPrompt;
enum class CVARN_EquipKind;

// Why reading or writing a character failed, in the words the user sees.
enum class CVARN_FileFailure {
    None,
    UnexpectedFormat, // "Unexpected file format."
    OpenFailed,       // "Failed to open document." (also after the character's own message)
    SaveFailed,       // "Failed to save document."
    // Failures of the file itself; their texts name the path.
    NotFound,
    BadPath,
    TooManyOpenFiles,
    AccessDenied,
    InvalidFile,
    DirectoryFull,
    SeekFailed,
    HardwareError,
    SharingViolation,
    LockViolation,
    DiskFull,
    PastEnd,
    Other,
};

// The message for a failure; `path` fills the texts that name the file.
std::string FileFailureText(CVARN_FileFailure failure, const std::string& path);
// Maps an errno value of a failed file operation to its failure.
CVARN_FileFailure FileFailureFromErrno(int err);

// The class name a .vrn file stores for a kind of piece. These names are part of the file
// format: saved characters hold them, so they stay as they are whatever the code calls the
// kinds.
const char* StoredClassName(CVARN_EquipKind kind);

// Writes the character as a version 15 .vrn file image.
std::string WriteCharacter(const CVARN_Character& character);

// Fills a newly constructed character from a .vrn file image. Messages about unknown
// entries and the replacement question go through `prompt`. On failure returns the
// failure to report (the character is then half-filled and must be discarded).
CVARN_FileFailure ReadCharacter(CVARN_Character& character, std::string_view bytes,
                                CVARN_UserPrompt& prompt);

// Reads the file at `path` into `character`.
CVARN_FileFailure LoadCharacterFile(CVARN_Character& character, const std::string& path,
                                    CVARN_UserPrompt& prompt);

// Save dispatch: a path whose extension (from the last "." of the whole path) is ".vrn" in
// any case gets the character file, any other the text sheet with "\r\n" line ends. The
// file is written beside the target under a temporary name and renamed over it only when
// complete, so a failed save leaves the old file intact; a folder that refuses new files
// gets its writable file overwritten in place (see OverwriteKeepingOldBytes).
// `wroteCharacterFile` tells the caller whether the modified mark may be cleared.
CVARN_FileFailure SaveCharacterFile(const CVARN_Character& character, const std::string& path,
                                    bool* wroteCharacterFile = nullptr);

// Overwrites the existing file at `path` with `bytes` in place, for a folder that refuses
// the temporary file of an ordinary save. The old content is read first and written back
// if the new cannot be written whole, so a failure leaves the file as it was.
CVARN_FileFailure OverwriteKeepingOldBytes(const std::string& path, std::string_view bytes);

// The whole file at `path` (at most 256 MiB; a longer one is UnexpectedFormat).
CVARN_FileFailure ReadFileBytes(const std::string& path, std::string& bytes);
// Writes `bytes` to `path` the way a save does: beside it first, renamed over it when
// complete, so a failure leaves the old file intact.
CVARN_FileFailure WriteFileBytes(const std::string& path, std::string_view bytes);

// True when the extension of `path` is ".vrn" ignoring case.
bool IsCharacterFilePath(const std::string& path);
