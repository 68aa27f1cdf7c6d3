/// @file ini_file.h Profile-style access to INI files (settings file, names file), standing in
/// for the platform's private-profile functions.
///
/// Sections and keys match without regard to case; keys and values are trimmed of surrounding
/// blanks; values are Windows-1252 on disk and UTF-8 here. A file an editor saved in UTF-8 (valid
/// UTF-8 with letters beyond ASCII, a byte-order mark or not) is read as UTF-8 and written back
/// in Windows-1252. Writing keeps every other line as it was (garbage included), creates the file and the section when
/// missing and replaces an existing key in place; lines end in CR LF. Nothing here throws: a missing or unreadable file
/// reads as the defaults, an unwritable one makes a write return false.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// An INI file's text held in memory, line by line as read.
class IniDocument {
public:
    IniDocument() = default;
    /// Parses raw file bytes: Windows-1252, or UTF-8 when they are valid UTF-8 with letters
    /// beyond ASCII; a leading byte-order mark is skipped. Never fails: lines that are neither a
    /// section header nor "key=value" are kept but never match.
    static IniDocument Parse(std::string_view bytes);

    /// The value (UTF-8) of the first matching key in the first matching section, or nothing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    /// Sets a value (UTF-8), adding the section at the end and the key at the end of the
    /// section when missing. Line breaks in any of the three become spaces and characters 1252
    /// cannot hold '?'; does nothing when CanSet refuses the section or key.
    void Set(std::string_view section, std::string_view key, std::string_view value);
    /// Whether Set can store this section and key so that they read back: neither may be
    /// blank, a section may not hold ']', a key may not hold '=' nor start with '['.
    static bool CanSet(std::string_view section, std::string_view key);
    /// The file bytes (Windows-1252, CR LF).
    std::string Serialize() const;

private:
    std::vector<std::string> lines_;  ///< the lines in UTF-8, without their line ends
};

/// Reads a whole INI file once, for callers that read many keys of it; a missing or unreadable
/// file gives an empty document.
IniDocument ReadIniFile(const std::string& file);

/// A string of a document read with ReadIniFile, by the same rules as ReadProfileString.
std::string ProfileString(const IniDocument& document, std::string_view section, std::string_view key,
                          std::string_view def, size_t bufferSize);

/// Reads a string; the value, or `def` when the file or key is missing, cut to
/// `bufferSize` - 1 characters (a buffer size of 0 gives an empty text).
std::string ReadProfileString(const std::string& file, std::string_view section, std::string_view key,
                              std::string_view def, size_t bufferSize);

/// Reads a decimal integer with an optional sign at the start of the value (0 when it does not
/// start with one); `def` when the file or key is missing or the value is empty.
int32_t ReadProfileInt(const std::string& file, std::string_view section, std::string_view key, int32_t def);

/// An integer of a document read with ReadIniFile, by the same rules as ReadProfileInt.
int32_t ProfileInt(const IniDocument& document, std::string_view section, std::string_view key, int32_t def);

/// Reads, changes and writes an INI file as one step: under an advisory lock on its folder, so
/// that programs running at the same time never lose each other's keys, and by one rename, so
/// that readers see the old file or the new one, never half of one. `change` may set any number
/// of keys. Links are followed (a dangling one creates its target). In a write-protected folder
/// a writable file is rewritten in place instead of renamed (see RewriteInPlace for what that
/// risks). True on success, also when nothing changed; false, with the file as it was, when the
/// file cannot be read or written, is not a plain file, or the lock stays taken for seconds.
bool UpdateIniFile(const std::string& file, const std::function<void(IniDocument&)>& change);

/// Writes a string; true on success. False, with the file left as it was, when the file
/// cannot be read or written, is not a plain file, or CanSet refuses the section or key.
bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value);

/// Joins the program directory and a file name.
std::string PathIn(const std::string& directory, std::string_view fileName);

}  // namespace platform
