/// @file files.cpp Links, unique scratch files and the folder lock.
#include "platform/files.h"

#include <atomic>
#include <chrono>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

namespace fs = std::filesystem;

constexpr int kMostLinks = 40;             // as many links as the system itself follows
constexpr int kLockAttempts = 200;         // with the pause below: ten seconds at most
constexpr auto kLockPause = std::chrono::milliseconds(50);

}  // namespace

std::optional<std::string> FollowLinks(const std::string& path, std::string& why)
{
    fs::path current = path;
    for (int hops = 0; hops < kMostLinks; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current.string();
        std::vector<char> target(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<size_t>(n) >= target.size()) {
            why = "cannot follow the link '" + current.string() + "': " + (n < 0 ? std::strerror(errno) : "it changed");
            return std::nullopt;
        }
        const fs::path next(std::string(target.data(), static_cast<size_t>(n)));
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    why = "cannot follow the link '" + path + "': too many links";
    return std::nullopt;
}

int CreateUniqueBeside(const std::string& target, std::string& name, std::string& why)
{
    static std::atomic<uint32_t> counter{0};
    std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const uint32_t tag = device() ^ (static_cast<uint32_t>(::getpid()) << 12) ^ counter.fetch_add(1);
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", tag);
        name = target + suffix;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST) {
            why = "cannot create '" + name + "': " + std::strerror(errno);
            return -1;
        }
    }
    why = "cannot create a new file beside '" + target + "'";
    return -1;
}

FolderLock::FolderLock(const std::string& fileInFolder)
{
    const fs::path file = fileInFolder;
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0)
            return;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return;
        std::this_thread::sleep_for(kLockPause);
    }
    busy_ = true;
}

FolderLock::~FolderLock()
{
    if (fd_ >= 0)
        ::close(fd_);  // closing the folder releases the lock
}

}  // namespace platform
