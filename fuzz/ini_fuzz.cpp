/// @file ini_fuzz.cpp Fuzzes the INI layer on arbitrary file contents: look-ups never fail, a value
/// set reads back as set, and setting one key leaves every other key as a 1252 file holds it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <optional>
#include <string_view>

#include "platform/cp1252.h"
#include "platform/ini_file.h"

namespace {

bool IsAscii(std::string_view bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The first byte picks where to write, so that existing, differently spelt and new sections
    // and keys are all reached.
    static constexpr const char* kSections[] = {"Options", "OPTIONS", "Name", "NAME", "High", "MAP1", "New"};
    static constexpr const char* kKeys[] = {"Sound", "Initialized", "Player1", "NAMEINI", "Points1", "NAME1", "x"};
    const unsigned pick = size > 0 ? static_cast<unsigned char>(bytes[0]) : 0u;
    const char* section = kSections[pick % 7];
    const char* key = kKeys[(pick / 7) % 7];
    const char* otherSection = kSections[(pick + 3) % 7];
    const char* otherKey = kKeys[(pick / 7 + 1) % 7];

    const platform::IniDocument doc = platform::IniDocument::Parse(bytes);
    const auto otherBefore = doc.Get(otherSection, otherKey);
    (void)doc.Get(section, key);

    platform::IniDocument changed = doc;
    const std::string value = "value " + std::to_string(size);
    changed.Set(section, key, value);
    const std::string serialized = changed.Serialize();
    const platform::IniDocument reread = platform::IniDocument::Parse(serialized);
    Check(reread.Get(section, key) == value, "a value set does not read back");
    // The file is written in Windows-1252. Written bytes that happen to form UTF-8 beyond ASCII
    // read back as a file an editor saved in UTF-8 (the price of reading those): the other
    // checks hold for every other text.
    if (!IsAscii(serialized) && IsValidUtf8(serialized))
        return 0;
    // A value read from an editor's UTF-8 file keeps only what 1252 can hold.
    const auto onDisk =
        otherBefore ? std::optional<std::string>(Cp1252ToUtf8(Utf8ToCp1252(*otherBefore))) : otherBefore;
    Check(reread.Get(otherSection, otherKey) == onDisk, "setting one key changed another");
    Check(platform::IniDocument::Parse(reread.Serialize()).Serialize() == serialized, "the text is not stable");
    return 0;
}
