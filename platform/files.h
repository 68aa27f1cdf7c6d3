/// @file files.h What the savegame and the INI files share when they replace a file on disk:
/// following links to the file they name, a scratch file of a unique name beside it, and an
/// advisory lock that lets one program at a time read, change and write the files of a folder.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace platform {

/// The file a path finally names: symbolic links are followed, dangling ones included (their
/// target is where a new file goes). Nothing, with the reason, when the links go round in
/// circles or cannot be read.
std::optional<std::string> FollowLinks(const std::string& path, std::string& why);

/// Creates a new, empty file "<target>.<random>.tmp" beside `target`, exclusively: a file
/// already of that name, a link included, is never taken over. Returns its descriptor and sets
/// `name`, or returns -1 with the reason (and `errno` as the system left it).
int CreateUniqueBeside(const std::string& target, std::string& name, std::string& why);

/// The last resort where a folder allows no new file beside `target` (a write-protected folder
/// holding a writable file): writes `bytes` over the existing plain file itself, then cuts it to
/// their length and flushes it to disk. Room for a longer file is claimed before the first byte
/// changes, so a full disk leaves the old file as it was; a crash in the middle of the write can
/// still leave a mixture of the two, which the atomic replacement never does. False, with the
/// reason, on any failure.
bool RewriteInPlace(const std::string& target, const std::string& bytes, std::string& why);

/// Whether a file can be written as our writers write it: a missing file, or an existing plain
/// file that opens for writing, in a folder that takes a new file of `room` bytes beside it
/// (tried with a scratch file that is removed at once, so a full disk shows too); or, where the
/// folder takes no new file, an existing one that can be rewritten in place.
bool CanWriteFile(const std::string& path, size_t room);

/// An advisory lock on the folder that holds a file, for one read-change-write of a file in it.
/// Every writer of the settings and names files takes it, so two programs started together
/// cannot interleave their rewrites. Waits a few seconds at most for another holder; `Busy()`
/// says that another holder kept it all that time, and the caller then writes nothing. A folder
/// that cannot be opened is not locked (the write then meets the fault itself). Released when
/// destroyed.
class FolderLock {
public:
    explicit FolderLock(const std::string& fileInFolder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool Busy() const { return busy_; }
    /// Whether this program holds the lock now (not when busy, nor where the folder could not
    /// be opened).
    bool Held() const { return fd_ >= 0 && !busy_; }

private:
    int fd_ = -1;
    bool busy_ = false;
};

}  // namespace platform
