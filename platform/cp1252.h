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
