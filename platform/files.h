/// @file files.h What the savegame and the INI files share when they replace a file on disk:
/// following links to the file they name, a scratch file of a unique name beside it, and an
/// advisory lock that lets one program at a time read, change and write the files of a folder.
#pragma once

#include <optional>
#include <string>

namespace platform {

/// The file a path finally names: symbolic links are followed, dangling ones included (their
/// target is where a new file goes). Nothing, with the reason, when the links go round in
/// circles or cannot be read.
std::optional<std::string> FollowLinks(const std::string& path, std::string& why);

/// Creates a new, empty file "<target>.<random>.tmp" beside `target`, exclusively: a file
/// already of that name, a link included, is never taken over. Returns its descriptor and sets
/// `name`, or returns -1 with the reason.
int CreateUniqueBeside(const std::string& target, std::string& name, std::string& why);

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

private:
    int fd_ = -1;
    bool busy_ = false;
};

}  // namespace platform
