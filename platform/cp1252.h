/// @file cp1252.h Windows-1252 text on disk, UTF-8 inside the program.
#pragma once

#include <string>
#include <string_view>

/// Windows-1252 bytes to UTF-8. The five codes 1252 leaves undefined map to the C1 controls.
std::string Cp1252ToUtf8(std::string_view bytes);

/// UTF-8 to Windows-1252. A character 1252 cannot hold, and a malformed UTF-8 sequence,
/// become '?'.
std::string Utf8ToCp1252(std::string_view text);

/// The first `count` characters (not bytes) of a UTF-8 text.
std::string Utf8Prefix(std::string_view text, size_t count);

/// Number of characters (not bytes) of a UTF-8 text.
size_t Utf8Length(std::string_view text);

/// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or code points beyond
/// U+10FFFF). Windows-1252 text with letters beyond ASCII almost never is.
bool IsValidUtf8(std::string_view bytes);

/// Whether a text can stand on one line of a Windows-1252 file and read back exactly: every
/// character has a 1252 code and none is a control character (C0, DEL or C1).
bool FitsCp1252Line(std::string_view text);

/// A text as one line of a Windows-1252 file gives it back: control characters become spaces,
/// characters 1252 cannot hold (and malformed pieces) become '?'.
std::string AsCp1252Line(std::string_view text);

/// A UTF-8 text safe to print on a terminal: control characters (C0, DEL and C1, which could
/// start escape sequences) and malformed pieces become '?'; every other character stays.
std::string ControlsReplaced(std::string_view text);
