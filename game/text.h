/// @file text.h Texts in both of the game's languages, and printf-style formatting.
#pragma once

#include <cstdint>
#include <string>

/// The game's two languages, numbered as the settings file keeps them.
enum class Language : int32_t {
    English = 1,
    German = 2,
};

/// The language a number from the settings file names: 2 German, anything else English.
inline Language LanguageFromNumber(int32_t number) { return number == 2 ? Language::German : Language::English; }
/// The number the settings file and the help pages' names use for a language.
inline int32_t LanguageNumber(Language language) { return static_cast<int32_t>(language); }

/// A text as the player sees it in English and in German.
struct LocalText {
    std::string English;
    std::string German;

    const std::string& In(Language language) const { return language == Language::German ? German : English; }
    bool operator==(const LocalText&) const = default;
};

/// The same text in both languages.
inline LocalText BothLanguages(const std::string& text) { return {text, text}; }

/// printf-style formatting of the game's texts ("%s in %s, %s %d", "%7.0Lf"). Numbers always use
/// "." as the decimal point, whatever locale the process has set.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
