/// @file cp1252.cpp Conversion between Windows-1252 (files on disk) and UTF-8 (inside the program).
#include "platform/cp1252.h"

#include <array>
#include <cstdint>

namespace {

/// Code points of the bytes 0x80..0x9F. The five codes 1252 leaves undefined keep their own
/// value (a C1 control), so every byte survives a round trip.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

char32_t ByteToCodePoint(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F)
        return kHigh[b - 0x80];
    return b;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

/// One step through a UTF-8 text: a whole character, or one malformed piece.
struct Step {
    size_t Length;  ///< bytes consumed, at least 1
    bool Valid;     ///< false for a malformed piece
    char32_t Cp;    ///< the code point when valid
};

/// Decodes the character at `pos`. A malformed sequence is consumed as its longest start that
/// could still have become a valid character (at least one byte), so one bad piece counts as
/// one character and never swallows the good text after it.
Step Decode(std::string_view text, size_t pos)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80)
        return {1, true, lead};

    size_t need = 0;
    char32_t cp = 0;
    unsigned char lo = 0x80;  // allowed range of the second byte: excludes overlongs,
    unsigned char hi = 0xBF;  // surrogates and code points beyond U+10FFFF
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        cp = lead & 0x0F;
        if (lead == 0xE0)
            lo = 0xA0;
        if (lead == 0xED)
            hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        cp = lead & 0x07;
        if (lead == 0xF0)
            lo = 0x90;
        if (lead == 0xF4)
            hi = 0x8F;
    } else {
        return {1, false, 0};
    }

    for (size_t k = 1; k <= need; ++k) {
        if (pos + k >= text.size())
            return {k, false, 0};
        const unsigned char c = byte(pos + k);
        const unsigned char min = k == 1 ? lo : 0x80;
        const unsigned char max = k == 1 ? hi : 0xBF;
        if (c < min || c > max)
            return {k, false, 0};
        cp = (cp << 6) | (c & 0x3F);
    }
    return {need + 1, true, cp};
}

/// The 1252 byte of a code point, or '?' when 1252 has none.
char CodePointToByte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp)
            return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes)
        AppendUtf8(out, ByteToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToCp1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const Step s = Decode(text, pos);
        out += s.Valid ? CodePointToByte(s.Cp) : '?';
        pos += s.Length;
    }
    return out;
}

std::string Utf8Prefix(std::string_view text, size_t count)
{
    size_t pos = 0;
    for (size_t n = 0; n < count && pos < text.size(); ++n)
        pos += Decode(text, pos).Length;
    return std::string(text.substr(0, pos));
}

size_t Utf8Length(std::string_view text)
{
    size_t n = 0;
    for (size_t pos = 0; pos < text.size(); ++n)
        pos += Decode(text, pos).Length;
    return n;
}

bool IsValidUtf8(std::string_view bytes)
{
    for (size_t pos = 0; pos < bytes.size();) {
        const Step s = Decode(bytes, pos);
        if (!s.Valid)
            return false;
        pos += s.Length;
    }
    return true;
}

namespace {

bool IsControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F); }

}  // namespace

bool FitsCp1252Line(std::string_view text)
{
    for (size_t pos = 0; pos < text.size();) {
        const Step s = Decode(text, pos);
        if (!s.Valid || IsControl(s.Cp) || (s.Cp != '?' && CodePointToByte(s.Cp) == '?'))
            return false;
        pos += s.Length;
    }
    return true;
}

std::string AsCp1252Line(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const Step s = Decode(text, pos);
        if (s.Valid && IsControl(s.Cp))
            out += ' ';
        else if (s.Valid && (s.Cp == '?' || CodePointToByte(s.Cp) != '?'))
            AppendUtf8(out, s.Cp);
        else
            out += '?';
        pos += s.Length;
    }
    return out;
}

std::string ControlsReplaced(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const Step s = Decode(text, pos);
        if (s.Valid && !IsControl(s.Cp))
            out.append(text.substr(pos, s.Length));
        else
            out += '?';
        pos += s.Length;
    }
    return out;
}
