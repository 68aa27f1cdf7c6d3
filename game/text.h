/// @file text.h Texts in both of the game's languages, and printf-style formatting.
#pragma once

#include <string>

/// A text as the player sees it in English and in German.
struct LocalText {
    std::string English;
    std::string German;

    /// The text for a language number: 2 German, anything else English.
    const std::string& In(int language) const { return language == 2 ? German : English; }
    bool operator==(const LocalText&) const = default;
};

/// The same text in both languages.
inline LocalText BothLanguages(const std::string& text)
{
    return {text, text};
}

/// printf-style formatting of the game's texts ("%s in %s, %s %d", "%7.0Lf"). Numbers always use
/// "." as the decimal point, whatever locale the process has set.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
