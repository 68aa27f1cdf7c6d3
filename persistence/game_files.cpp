/// @file game_files.cpp Saving and opening a savegame with its record as one pair.
#include "persistence/game_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <vector>

#include "platform/files.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRecordMagic = "TAVREK-HISTORY ";
// A record of thousands of months stays far below this; see history_file.cpp.
constexpr std::size_t kMaxRecordBytes = 64u << 20;

/// The file a name finally stands for, or the name itself where the links cannot be followed.
std::string Followed(const std::string& path)
{
    std::string why;
    return platform::FollowLinks(path, why).value_or(path);
}

/// Whether `name` is a scratch file of `base` as CreateUniqueBeside names them:
/// "<base>.<8 hex digits>.tmp".
bool IsScratchOf(std::string_view name, std::string_view base)
{
    if (name.size() != base.size() + 13 || name.substr(0, base.size()) != base || name[base.size()] != '.' ||
        name.substr(name.size() - 4) != ".tmp")
        return false;
    for (const char ch : name.substr(base.size() + 1, 8))
        if (!((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f')))
            return false;
    return true;
}

/// The scratch files of `target` beside it, oldest name order does not matter.
std::vector<std::string> ScratchFilesOf(const std::string& target)
{
    std::vector<std::string> found;
    const fs::path file = target;
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const std::string base = file.filename().string();
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return found;
    while (const dirent* entry = ::readdir(dir))
        if (IsScratchOf(entry->d_name, base))
            found.push_back((folder / entry->d_name).string());
    ::closedir(dir);
    return found;
}

/// Removes what interrupted saves of this pair left behind. Only while holding the folder's
/// lock: every save holds it while its scratch files exist, so these belong to nobody.
void RemoveScratchFiles(const std::string& savegameTarget, const std::string& recordTarget)
{
    for (const std::string& target : {savegameTarget, recordTarget})
        for (const std::string& scratch : ScratchFilesOf(target)) {
            struct stat info {};
            if (::lstat(scratch.c_str(), &info) == 0 && S_ISREG(info.st_mode))
                ::unlink(scratch.c_str());
        }
}

}  // namespace

bool MayHoldRecord(const std::string& recordPath)
{
    const std::string target = Followed(recordPath);
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0)
        return errno == ENOENT;
    if (!S_ISREG(info.st_mode))
        return false;
    if (info.st_size == 0)
        return true;
    // The first word says whether it is a record; a file that cannot be read is left alone.
    const int fd = ::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    char start[kRecordMagic.size()];
    size_t done = 0;
    while (done < sizeof start) {
        const ssize_t n = ::read(fd, start + done, sizeof start - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    return done == sizeof start && std::string_view(start, sizeof start) == kRecordMagic;
}

PairSave WriteGameAndRecord(const std::string& path, const std::string& savegameText, int32_t monthCount,
                            const GameHistory& history, std::string* reason)
{
    PairSave result;
    const std::string recordPath = HistoryFileName(path);
    const std::string savegameTarget = Followed(path);
    const std::string recordTarget = Followed(recordPath);
    const platform::FolderLock lock(savegameTarget);
    if (lock.Held())
        RemoveScratchFiles(savegameTarget, recordTarget);

    // 1. The record first, sealed for the savegame about to be written, in its scratch file.
    StagedFile record;
    bool recordStaged = false;
    if (!MayHoldRecord(recordPath)) {
        struct stat info {};
        const bool plain = ::stat(recordTarget.c_str(), &info) == 0 && S_ISREG(info.st_mode);
        result.Record = plain ? RecordSave::NotARecord : RecordSave::Failed;
        result.RecordReason = Format("'%s' is not a history file: it stays as it is", recordPath.c_str());
    } else {
        try {
            const SaveResult staged =
                StageFile(recordPath, HistoryText(history, SavegameFingerprint(savegameText), monthCount), record,
                          &result.RecordReason);
            recordStaged = static_cast<bool>(staged);
        } catch (const std::exception& e) {
            result.RecordReason = e.what();
        }
        // The scratch file's name must last before the savegame it belongs to replaces the old.
        if (recordStaged && !record.Scratch.empty())
            SyncFolderOf(record.Scratch);
    }

    // 2. The savegame.
    StagedFile game;
    result.Game = StageFile(path, savegameText, game, reason);
    if (result.Game)
        result.Game = CommitFile(game, reason);
    if (!result.Game) {
        DiscardFile(record);
        return result;
    }

    // 3. The record in its place. A record that cannot follow the savegame must not stay
    // beside it as another game's: the older one goes, so the next open starts a new one.
    if (recordStaged) {
        if (CommitFile(record, &result.RecordReason)) {
            result.Record = RecordSave::Saved;
            result.RecordReason.clear();
            return result;
        }
    }
    if (result.Record != RecordSave::NotARecord) {
        result.Record = RecordSave::Failed;
        if (MayHoldRecord(recordPath))
            ::unlink(recordTarget.c_str());
    }
    return result;
}

OpenedPair ReadGameAndRecord(const std::string& path, std::string* reason)
{
    OpenedPair pair;
    const std::string recordPath = HistoryFileName(path);
    const std::string savegameTarget = Followed(path);
    const std::string recordTarget = Followed(recordPath);
    const platform::FolderLock lock(savegameTarget);

    std::string bytes;
    pair.Game = ReadSavegameFile(path, bytes, reason);
    if (pair.Game == LoadStatus::Loaded) {
        pair.Content = ParseSavegameOf(path, bytes, reason);
        if (!pair.Content)
            pair.Game = LoadStatus::NotASavegame;
    }
    if (pair.Game != LoadStatus::Loaded) {
        // Without a savegame nothing is recovered; what a save left behind still goes.
        if (lock.Held())
            RemoveScratchFiles(savegameTarget, recordTarget);
        return pair;
    }

    const uint64_t fingerprint = SavegameFingerprint(bytes);
    const int32_t monthCount = pair.Content->Game.MonthCount;
    pair.Record = LoadHistoryFile(path, fingerprint, monthCount, pair.History, &pair.RecordReason);
    if (pair.Record != HistoryLoad::Loaded) {
        // A save interrupted after its savegame was in place left this savegame's record in a
        // scratch file: finish that save.
        for (const std::string& scratch : ScratchFilesOf(recordTarget)) {
            const auto text = ReadPlainFile(scratch, kMaxRecordBytes);
            GameHistory found;
            if (!text || ParseHistory(*text, fingerprint, monthCount, found) != HistoryLoad::Loaded)
                continue;
            pair.History = std::move(found);
            pair.Record = HistoryLoad::Loaded;
            pair.RecordReason.clear();
            pair.Recovered = true;
            if (lock.Held() && MayHoldRecord(recordPath) && std::rename(scratch.c_str(), recordTarget.c_str()) == 0)
                SyncFolderOf(recordTarget);
            break;
        }
    }
    if (lock.Held())
        RemoveScratchFiles(savegameTarget, recordTarget);
    pair.Text = std::move(bytes);
    return pair;
}
