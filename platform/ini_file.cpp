/// @file ini_file.cpp Profile-style INI access: parsing, lookup, in-place editing and safe writing.
#include "platform/ini_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>

#include "platform/ascii.h"
#include "platform/cp1252.h"
#include "platform/files.h"

#include <unistd.h>

namespace platform {

namespace {

namespace fs = std::filesystem;

/// A settings or names file is a few kilobytes; anything beyond this is not ours and is left
/// alone rather than read into memory.
constexpr std::uintmax_t kMaxFileSize = 16u * 1024u * 1024u;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) { return SameIgnoringAsciiCase(a, b); }

/// What one line of the file is.
struct LineInfo {
    enum Kind { Other, Section, Entry } Type = Other;  ///< garbage, comments and blanks are Other
    std::string_view Name;                             ///< section name or key, trimmed
    std::string_view Value;                            ///< value of an entry, trimmed
};

LineInfo Classify(std::string_view line)
{
    LineInfo info;
    const std::string_view t = Trim(line);
    if (!t.empty() && t.front() == '[') {
        const size_t close = t.find(']');
        if (close != std::string_view::npos) {
            info.Type = LineInfo::Section;
            info.Name = Trim(t.substr(1, close - 1));
            return info;
        }
    }
    const size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return info;
    const std::string_view key = Trim(t.substr(0, eq));
    if (key.empty())
        return info;
    info.Type = LineInfo::Entry;
    info.Name = key;
    info.Value = Trim(t.substr(eq + 1));
    return info;
}

/// Line breaks (and NULs, which would end the text for anyone reading it as a C string) would
/// split an entry over several lines or cut it: they become spaces.
std::string Flatten(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return out;
}

/// A UTF-8 text as a Windows-1252 file gives it back.
std::string AsOnDisk(std::string_view utf8) { return Cp1252ToUtf8(Utf8ToCp1252(utf8)); }

/// Where a section and key were found.
struct Position {
    std::optional<size_t> SectionLine;  ///< header of the first matching section
    std::optional<size_t> EntryLine;    ///< first matching key in that section
    std::optional<size_t> LastEntry;    ///< last key line of that section
};

Position Find(const std::vector<std::string>& lines, std::string_view section, std::string_view key)
{
    Position pos;
    for (size_t i = 0; i < lines.size(); ++i) {
        const LineInfo info = Classify(lines[i]);
        if (info.Type == LineInfo::Section) {
            if (pos.SectionLine)
                break;  // only the first matching section counts
            if (SameName(info.Name, section))
                pos.SectionLine = i;
        } else if (info.Type == LineInfo::Entry && pos.SectionLine) {
            pos.LastEntry = i;
            if (!pos.EntryLine && SameName(info.Name, key))
                pos.EntryLine = i;
        }
    }
    return pos;
}

enum class ReadStatus { Ok, Missing, Failed };

/// Reads a whole plain file. A directory, device or oversized file is Failed, not Missing, so
/// that a write never replaces something it could not read.
ReadStatus ReadFileBytes(const fs::path& path, std::string& out)
{
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (st.type() == fs::file_type::not_found)
        return ReadStatus::Missing;
    if (ec || st.type() != fs::file_type::regular)
        return ReadStatus::Failed;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > kMaxFileSize)
        return ReadStatus::Failed;

    std::ifstream in(path, std::ios::binary);
    if (!in)
        return ReadStatus::Failed;
    out.clear();
    char buffer[64 * 1024];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        out.append(buffer, static_cast<size_t>(in.gcount()));
        if (out.size() > kMaxFileSize)
            return ReadStatus::Failed;
    }
    if (in.bad())
        return ReadStatus::Failed;
    return ReadStatus::Ok;
}

std::optional<std::string> Lookup(const std::string& file, std::string_view section, std::string_view key)
{
    std::string bytes;
    if (ReadFileBytes(file, bytes) != ReadStatus::Ok)
        return std::nullopt;
    return IniDocument::Parse(bytes).Get(section, key);
}

/// Writes `bytes` to a new file beside `target` and renames it over the target, so a failed
/// write leaves the old file whole. The new file keeps the old one's permissions. Where the
/// folder takes no new file, a writable file of ours is rewritten in place instead.
bool ReplaceFile(const fs::path& target, const std::string& bytes, bool targetExists)
{
    std::string tempName;
    std::string why;
    const int fd = CreateUniqueBeside(target.string(), tempName, why);
    if (fd < 0)
        return targetExists && RewriteInPlace(target.string(), bytes, why);
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        ::close(fd);
        ::unlink(tempName.c_str());
        return false;
    }
    const fs::path temp = tempName;

    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    std::error_code ec;
    if (ok && targetExists) {
        const fs::perms old = fs::status(target, ec).permissions();
        if (!ec)
            fs::permissions(temp, old, ec);  // best effort; the content matters more
        ec.clear();
    }
    if (ok) {
        fs::rename(temp, target, ec);
        ok = !ec;
    }
    if (!ok)
        fs::remove(temp, ec);
    return ok;
}

/// A decimal integer with an optional sign at the start of a value, read as far as the digits
/// go; saturates instead of overflowing. `def` when there is no value or it is empty.
int32_t ProfileNumber(const std::optional<std::string>& value, int32_t def)
{
    if (!value)
        return def;
    const std::string_view t = Trim(*value);
    // Like the platform's profile function, an empty value reads as the default.
    if (t.empty())
        return def;
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    int64_t n = 0;
    for (; i < t.size() && IsAsciiDigit(t[i]); ++i) {
        n = n * 10 + (t[i] - '0');
        if (n > kMax + 1)
            n = kMax + 1;  // enough to saturate either way
    }
    if (negative)
        n = -n;
    if (n > kMax)
        return static_cast<int32_t>(kMax);
    if (n < kMin)
        return static_cast<int32_t>(kMin);
    return static_cast<int32_t>(n);
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view bytes)
{
    // An editor that saves UTF-8 often puts a byte-order mark first; it would hide the first
    // section's header. A file saved twice may carry two.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    while (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        bytes.remove_prefix(kByteOrderMark.size());
    // Our own files are Windows-1252. A file that is valid UTF-8 and holds letters beyond ASCII
    // was saved by an editor in UTF-8: 1252 letters almost never form valid UTF-8 by chance.
    bool hasHighBytes = false;
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            hasHighBytes = true;
            break;
        }
    const bool utf8 = hasHighBytes && IsValidUtf8(bytes);

    IniDocument doc;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        doc.lines_.push_back(utf8 ? std::string(line) : Cp1252ToUtf8(line));
        start = end + 1;
    }
    // A mark that an editor once read as Windows-1252 and saved again in UTF-8 ("ï»¿"). Dropped
    // too, so that the first line never starts with it: written in 1252 it would be a mark.
    constexpr std::string_view kMarkAsLetters = "\u00EF\u00BB\u00BF";
    while (!doc.lines_.empty() && doc.lines_.front().rfind(kMarkAsLetters, 0) == 0)
        doc.lines_.front().erase(0, kMarkAsLetters.size());
    return doc;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const
{
    const std::string s(Trim(Flatten(section)));
    const std::string k(Trim(Flatten(key)));
    const Position pos = Find(lines_, s, k);
    if (!pos.EntryLine)
        return std::nullopt;
    std::string_view value = Classify(lines_[*pos.EntryLine]).Value;
    value = value.substr(0, value.find('\0'));  // a NUL ends the text, as in a C buffer
    return std::string(value);
}

bool IniDocument::CanSet(std::string_view section, std::string_view key)
{
    const std::string s = Flatten(section);
    const std::string k = Flatten(key);
    const std::string_view ts = Trim(s);
    const std::string_view tk = Trim(k);
    return !ts.empty() && !tk.empty() && ts.find(']') == std::string_view::npos &&
           tk.find('=') == std::string_view::npos && tk.front() != '[';
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value)
{
    if (!CanSet(section, key))
        return;
    // Held as the file will hold it: what 1252 cannot hold is '?' already here.
    const std::string s = AsOnDisk(Trim(Flatten(section)));
    const std::string k = AsOnDisk(Trim(Flatten(key)));
    const std::string v = AsOnDisk(Flatten(value));

    const Position pos = Find(lines_, s, k);
    if (pos.EntryLine) {
        // Keep the key as the file spells it; only the value changes.
        std::string& line = lines_[*pos.EntryLine];
        line = std::string(Classify(line).Name) + "=" + v;
    } else if (pos.SectionLine) {
        const size_t after = pos.LastEntry ? *pos.LastEntry : *pos.SectionLine;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after) + 1, k + "=" + v);
    } else {
        if (!lines_.empty() && !Trim(lines_.back()).empty())
            lines_.emplace_back();
        lines_.push_back("[" + s + "]");
        lines_.push_back(k + "=" + v);
    }
}

std::string IniDocument::Serialize() const
{
    std::string out;
    for (const std::string& line : lines_) {
        out += Utf8ToCp1252(line);
        out += "\r\n";
    }
    return out;
}

IniDocument ReadIniFile(const std::string& file)
{
    try {
        std::string bytes;
        if (ReadFileBytes(file, bytes) != ReadStatus::Ok)
            return {};
        return IniDocument::Parse(bytes);
    } catch (...) {
        return {};
    }
}

namespace {

std::string CutValue(const std::optional<std::string>& value, std::string_view def, size_t bufferSize)
{
    try {
        if (bufferSize == 0)
            return {};
        // Every 1252 byte is one character, so cutting characters here equals cutting the bytes.
        return Utf8Prefix(value ? *value : def, bufferSize - 1);
    } catch (...) {
        // Out of memory: the caller gets nothing rather than an exception.
        return {};
    }
}

}  // namespace

std::string ProfileString(const IniDocument& document, std::string_view section, std::string_view key,
                          std::string_view def, size_t bufferSize)
{
    try {
        return CutValue(document.Get(section, key), def, bufferSize);
    } catch (...) {
        return CutValue(std::nullopt, def, bufferSize);
    }
}

std::string ReadProfileString(const std::string& file, std::string_view section, std::string_view key,
                              std::string_view def, size_t bufferSize)
{
    try {
        if (bufferSize == 0)
            return {};
        return CutValue(Lookup(file, section, key), def, bufferSize);
    } catch (...) {
        // A file-system oddity: the caller gets the default, never an exception.
        return CutValue(std::nullopt, def, bufferSize);
    }
}

int32_t ReadProfileInt(const std::string& file, std::string_view section, std::string_view key, int32_t def)
{
    try {
        return ProfileNumber(Lookup(file, section, key), def);
    } catch (...) {
        return def;
    }
}

int32_t ProfileInt(const IniDocument& document, std::string_view section, std::string_view key, int32_t def)
{
    try {
        return ProfileNumber(document.Get(section, key), def);
    } catch (...) {
        return def;
    }
}

bool UpdateIniFile(const std::string& file, const std::function<void(IniDocument&)>& change)
{
    try {
        if (file.empty())
            return false;
        // A linked file stays linked, a dangling link included: the file it names is written.
        std::string why;
        const std::optional<std::string> followed = FollowLinks(file, why);
        if (!followed)
            return false;
        const fs::path target = *followed;

        // One program at a time reads, changes and writes the files of this folder.
        const FolderLock lock(target.string());
        if (lock.Busy())
            return false;

        std::string bytes;
        const ReadStatus status = ReadFileBytes(target, bytes);
        if (status == ReadStatus::Failed)
            return false;
        const bool exists = status == ReadStatus::Ok;
        if (exists) {
            // A read-only file is not ours to replace, even where the directory would allow it.
            std::FILE* probe = std::fopen(target.string().c_str(), "r+b");
            if (!probe)
                return false;
            std::fclose(probe);
        }

        IniDocument doc = IniDocument::Parse(bytes);
        change(doc);
        const std::string out = doc.Serialize();
        if (exists && out == bytes)
            return true;  // already stored exactly so
        return ReplaceFile(target, out, exists);
    } catch (...) {
        return false;
    }
}

bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key, std::string_view value)
{
    if (!IniDocument::CanSet(section, key))
        return false;
    return UpdateIniFile(file, [&](IniDocument& doc) { doc.Set(section, key, value); });
}

std::string PathIn(const std::string& directory, std::string_view fileName)
{
    if (directory.empty())
        return std::string(fileName);
    std::string path = directory;
    if (path.back() != '/')
        path += '/';
    path += fileName;
    return path;
}

}  // namespace platform
