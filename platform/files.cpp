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

constexpr int kMostLinks = 40;      // as many links as the system itself follows
constexpr int kLockAttempts = 200;  // with the pause below: ten seconds at most
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
        const int error = errno;
        if (error != EEXIST) {
            why = "cannot create '" + name + "': " + std::strerror(error);
            errno = error;
            return -1;
        }
    }
    why = "cannot create a new file beside '" + target + "'";
    errno = EEXIST;
    return -1;
}

bool RewriteInPlace(const std::string& target, const std::string& bytes, std::string& why)
{
    const auto fail = [&](const char* step, int error) {
        why = std::string("cannot ") + step + " '" + target + "' in place: " + std::strerror(error);
        return false;
    };
    const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fail("open", errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        why = "cannot rewrite '" + target + "' in place: not a regular file";
        return false;
    }
    const off_t length = static_cast<off_t>(bytes.size());
    // A longer file needs its room first: without it the write would stop half way.
    if (length > info.st_size) {
        const int error = ::posix_fallocate(fd, 0, length);
        if (error != 0 && error != EOPNOTSUPP && error != EINVAL) {
            ::close(fd);
            return fail("make room for", error);
        }
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            ::close(fd);
            return fail("write", error);
        }
        done += static_cast<size_t>(n);
    }
    if (::ftruncate(fd, length) != 0 || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        return fail("finish", error);
    }
    if (::close(fd) != 0)
        return fail("close", errno);
    return true;
}

bool CanWriteFile(const std::string& path, size_t room)
{
    std::string why;
    const std::optional<std::string> followed = FollowLinks(path, why);
    if (!followed)
        return false;
    struct stat info {};
    const bool exists = ::stat(followed->c_str(), &info) == 0;
    if (!exists && errno != ENOENT)
        return false;
    if (exists) {
        if (!S_ISREG(info.st_mode))
            return false;
        const int fd = ::open(followed->c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            return false;
        ::close(fd);
    }
    // The writers put a new file beside the old one: try one, with the room the file needs, so
    // that a full disk shows too.
    std::string scratch;
    const int fd = CreateUniqueBeside(*followed, scratch, why);
    if (fd < 0)
        return exists;  // an existing file is then rewritten in place
    const std::vector<char> zeros(room, '\0');
    size_t done = 0;
    while (done < zeros.size()) {
        const ssize_t n = ::write(fd, zeros.data() + done, zeros.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    ::unlink(scratch.c_str());
    return done == zeros.size();
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
