// The help pages: every link and picture they name exists beside them, every in-page link has
// its target, and each page names every command and menu entry in its language.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kHelp = fs::path(__FILE__).parent_path().parent_path() / "assets" / "help";

struct Reference {
    std::string Attribute;
    std::string Target;
};

// href and src attributes, and url(...) in style sheets.
std::vector<Reference> References(const std::string& text)
{
    std::vector<Reference> found;
    static const std::regex attribute(R"re(\b(href|src)\s*=\s*["']([^"']*)["'])re", std::regex::icase);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), attribute); it != std::sregex_iterator(); ++it)
        found.push_back({(*it)[1].str(), (*it)[2].str()});
    static const std::regex url(R"re(url\(\s*["']?([^"')]*)["']?\s*\))re", std::regex::icase);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), url); it != std::sregex_iterator(); ++it)
        found.push_back({"url", (*it)[1].str()});
    return found;
}

std::set<std::string> Ids(const std::string& text)
{
    std::set<std::string> ids;
    static const std::regex id(R"re(\bid\s*=\s*["']([^"']*)["'])re", std::regex::icase);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), id); it != std::sregex_iterator(); ++it)
        ids.insert((*it)[1].str());
    return ids;
}

// Faults of one file's references, checked relative to the file; pages reached are checked too.
void CheckReferences(const fs::path& file, std::set<fs::path>& seen, std::vector<std::string>& faults)
{
    const fs::path canonical = fs::weakly_canonical(file);
    if (!seen.insert(canonical).second)
        return;
    const std::string text = ReadFile(file);
    if (text.empty()) {
        faults.push_back(file.string() + ": missing or empty");
        return;
    }
    for (const Reference& r : References(text)) {
        const std::string where = file.filename().string() + ": " + r.Attribute + " \"" + r.Target + "\"";
        if (r.Target.empty()) {
            faults.push_back(where + " is empty");
            continue;
        }
        // The pages are read offline: nothing from the network, no absolute paths.
        if (r.Target.find(':') != std::string::npos || r.Target.front() == '/') {
            faults.push_back(where + " does not lie beside the pages");
            continue;
        }
        const size_t hash = r.Target.find('#');
        const std::string path = r.Target.substr(0, hash);
        const std::string fragment = hash == std::string::npos ? "" : r.Target.substr(hash + 1);
        const fs::path target = path.empty() ? file : file.parent_path() / path;
        if (!fs::is_regular_file(target)) {
            faults.push_back(where + " names a file that does not exist");
            continue;
        }
        if (!fragment.empty() && Ids(ReadFile(target)).count(fragment) == 0)
            faults.push_back(where + " names an anchor that does not exist");
        const std::string ext = target.extension().string();
        if (ext == ".html" || ext == ".css")
            CheckReferences(target, seen, faults);
    }
}

TEST(HelpPages, EveryLinkAndPictureExists)
{
    std::set<fs::path> seen;
    std::vector<std::string> faults;
    for (const char* page : {"index1.html", "index2.html"})
        CheckReferences(kHelp / page, seen, faults);
    EXPECT_GE(seen.size(), 3u) << "both pages and their style sheet";
    for (const std::string& fault : faults)
        ADD_FAILURE() << fault;
}

// The width and height a PNG file's header gives; nothing when the file is no PNG.
std::optional<std::pair<int, int>> PngSize(const fs::path& file)
{
    const std::string data = ReadFile(file);
    if (data.size() < 24 || data.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || data.compare(12, 4, "IHDR") != 0)
        return std::nullopt;
    auto number = [&data](size_t at) {
        int value = 0;
        for (size_t i = 0; i < 4; ++i)
            value = value << 8 | static_cast<unsigned char>(data[at + i]);
        return value;
    };
    return std::pair{number(16), number(20)};
}

// Every picture a page shows is a PNG of the size the page gives it, each page shows some, and
// no picture beside the pages is left unused.
TEST(HelpPages, PicturesArePngsOfTheirGivenSizeAndAllInUse)
{
    static const std::regex image(R"re(<img\b[^>]*>)re", std::regex::icase);
    static const std::regex src(R"re(\bsrc\s*=\s*"([^"]*)")re", std::regex::icase);
    static const std::regex width(R"re(\bwidth\s*=\s*"(\d+)")re", std::regex::icase);
    static const std::regex height(R"re(\bheight\s*=\s*"(\d+)")re", std::regex::icase);
    static const std::regex alt(R"re(\balt\s*=\s*"[^"]+")re", std::regex::icase);
    std::set<std::string> used;
    for (const char* page : {"index1.html", "index2.html"}) {
        const std::string text = ReadFile(kHelp / page);
        int pictures = 0;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), image); it != std::sregex_iterator(); ++it) {
            const std::string tag = it->str();
            std::smatch s, w, h;
            ASSERT_TRUE(std::regex_search(tag, s, src)) << page << ": " << tag;
            ++pictures;
            used.insert(s[1].str());
            EXPECT_TRUE(std::regex_search(tag, alt)) << page << ": " << s[1] << " has no text for readers";
            const auto size = PngSize(kHelp / s[1].str());
            ASSERT_TRUE(size) << page << ": " << s[1] << " is no PNG";
            ASSERT_TRUE(std::regex_search(tag, w, width) && std::regex_search(tag, h, height)) << page << ": " << tag;
            EXPECT_EQ(size->first, std::stoi(w[1].str())) << s[1];
            EXPECT_EQ(size->second, std::stoi(h[1].str())) << s[1];
        }
        EXPECT_GE(pictures, 3) << page;
    }
    for (const auto& entry : fs::directory_iterator(kHelp)) {
        if (entry.path().extension() == ".png") {
            EXPECT_EQ(used.count(entry.path().filename().string()), 1u) << entry.path().filename() << " is unused";
        }
    }
}

TEST(HelpPages, TheCheckFindsABrokenLink)
{
    TempDir dir;
    WriteFile(dir / "page.html",
              "<a href=\"other.html\">x</a><img src=\"shot.png\"><a href=\"#nowhere\">y</a>"
              "<a href=\"https://example.org/\">z</a>");
    WriteFile(dir / "other.html", "<p id=\"here\">");
    std::set<fs::path> seen;
    std::vector<std::string> faults;
    CheckReferences(dir / "page.html", seen, faults);
    ASSERT_EQ(faults.size(), 3u);
    EXPECT_NE(faults[0].find("shot.png"), std::string::npos);
    EXPECT_NE(faults[1].find("#nowhere"), std::string::npos);
    EXPECT_NE(faults[2].find("example.org"), std::string::npos);
}

TEST(HelpPages, EachPageNamesEveryCommandAndMenuEntry)
{
    const std::vector<std::string> english = {"Build Brewery",
                                              "Extend Brewery",
                                              "Build Depot",
                                              "Transport Beer",
                                              "Transfer Money",
                                              "Change Prices",
                                              "New Brand",
                                              "Next Turn",
                                              "Town and Sales Information",
                                              "Cancel",
                                              "Game",
                                              "New",
                                              "Open",
                                              "Save",
                                              "Save as...",
                                              "Exit",
                                              "Standing orders",
                                              "Delete",
                                              "Display",
                                              "Statistics",
                                              "Market Shares",
                                              "Best opponent",
                                              "Highscore",
                                              "Options",
                                              "Sound",
                                              "Edit Names",
                                              "Restore Names",
                                              "Autosave On Exit",
                                              "Language",
                                              "Help",
                                              "Contents",
                                              "Info",
                                              "Expert",
                                              "2 Player",
                                              "Delay building",
                                              "Events",
                                              "Advanced Options",
                                              "Reduce capacities",
                                              "Winning conditions",
                                              "Guided Game"};
    const std::vector<std::string> german = {"Brauerei bauen",
                                             "Brauerei erweitern",
                                             "Lagerhaus bauen",
                                             "Bier transportieren",
                                             "Geld überweisen",
                                             "Preise ändern",
                                             "Neue Biersorte",
                                             "Nächste Runde",
                                             "Stadt- und Verkaufsinfos",
                                             "Abbrechen",
                                             "Spiel",
                                             "Neu",
                                             "Öffnen",
                                             "Speichern",
                                             "Speichern als...",
                                             "Ende",
                                             "Daueraufträge",
                                             "Löschen",
                                             "Anzeigen",
                                             "Statistik",
                                             "Marktanteile",
                                             "Zwischenstand",
                                             "Bestenliste",
                                             "Optionen",
                                             "Sound",
                                             "Namen ändern",
                                             "Namen Wiederherstellen",
                                             "Autosave bei Beenden",
                                             "Sprache",
                                             "Hilfe",
                                             "Inhalt",
                                             "Info",
                                             "Profi-Modus",
                                             "2 Spieler",
                                             "Bauzeiten",
                                             "Ereignisse",
                                             "Erweiterte Optionen",
                                             "Kapazitäten verringern",
                                             "Siegesbedingung",
                                             "Geführtes Spiel"};
    const std::string page1 = ReadFile(kHelp / "index1.html");
    const std::string page2 = ReadFile(kHelp / "index2.html");
    for (const std::string& caption : english)
        EXPECT_NE(page1.find(caption), std::string::npos) << "index1.html lacks \"" << caption << "\"";
    for (const std::string& caption : german)
        EXPECT_NE(page2.find(caption), std::string::npos) << "index2.html lacks \"" << caption << "\"";
}

}  // namespace
