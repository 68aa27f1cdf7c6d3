/// @file history_file.cpp Writing and reading the record beside a savegame.
#include "persistence/history_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <limits>
#include <type_traits>
#include <vector>

namespace {

constexpr std::string_view kMagic = "TAVREK-HISTORY";
// Far beyond a game of thousands of months, small enough to refuse a wrong file at once.
constexpr std::size_t kMaxHistoryBytes = 64u << 20;

uint64_t Fnv1a(std::string_view bytes)
{
    uint64_t h = 14695981039346656037ull;
    for (const char ch : bytes) {
        h ^= static_cast<unsigned char>(ch);
        h *= 1099511628211ull;
    }
    return h;
}

void PutHex(std::string& out, uint64_t v)
{
    char buf[17];
    for (int i = 15; i >= 0; --i) {
        buf[i] = "0123456789abcdef"[v & 15];
        v >>= 4;
    }
    out.append(buf, 16);
}

template <typename T>
void Put(std::string& out, T v)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out += ' ';
    out.append(buf, r.ptr);
}

// `bytes`: every byte outside printable ASCII as "\xHH" (a savegame's Windows-1252 text), so
// that the record stays UTF-8 whatever it holds.
void PutText(std::string& out, std::string_view text, bool bytes = false)
{
    for (const char ch : text) {
        const auto u = static_cast<unsigned char>(ch);
        if (bytes && ch != '\\' && (u < 0x20 || u >= 0x7F)) {
            out += "\\x";
            out += "0123456789abcdef"[u >> 4];
            out += "0123456789abcdef"[u & 15];
            continue;
        }
        switch (ch) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += ch;
        }
    }
}

/// Splits the words of a line on single spaces.
class Words {
public:
    explicit Words(std::string_view line) : rest_(line) {}
    /// What is left of the line, unsplit.
    std::string_view Rest() const { return done_ ? std::string_view() : rest_; }
    std::optional<std::string_view> Next()
    {
        if (done_)
            return std::nullopt;
        const auto space = rest_.find(' ');
        std::string_view word = rest_.substr(0, space);
        if (space == std::string_view::npos)
            done_ = true;
        else
            rest_.remove_prefix(space + 1);
        return word;
    }
    bool AtEnd() const { return done_; }

    template <typename T>
    bool Number(T& out)
    {
        const auto word = Next();
        if (!word || word->empty())
            return false;
        const auto r = std::from_chars(word->data(), word->data() + word->size(), out);
        return r.ec == std::errc() && r.ptr == word->data() + word->size();
    }

private:
    std::string_view rest_;
    bool done_ = false;
};

bool ParseHex(std::string_view word, uint64_t& out)
{
    if (word.size() != 16)
        return false;
    const auto r = std::from_chars(word.data(), word.data() + word.size(), out, 16);
    return r.ec == std::errc() && r.ptr == word.data() + word.size();
}

template <typename T>
bool Finite(T v)
{
    return v == v && v <= std::numeric_limits<T>::max() && v >= -std::numeric_limits<T>::max();
}

// An open month's books as the "openbooks" line lists them: the kinds, other changes, towns.
std::vector<long double*> OpenFigures(OpenBooks& books)
{
    std::vector<long double*> figures;
    for (long double& v : books.Spent)
        figures.push_back(&v);
    figures.push_back(&books.Other);
    for (long double& v : books.TownSpent)
        figures.push_back(&v);
    return figures;
}

bool UnescapeText(std::string_view field, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < field.size(); ++i) {
        const char ch = field[i];
        if (ch != '\\') {
            out += ch;
            continue;
        }
        if (++i == field.size())
            return false;
        switch (field[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 'x': {
            unsigned value = 0;
            if (field.size() - i < 3)
                return false;
            const auto r = std::from_chars(field.data() + i + 1, field.data() + i + 3, value, 16);
            if (r.ec != std::errc() || r.ptr != field.data() + i + 3)
                return false;
            out += static_cast<char>(value);
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

}  // namespace

std::string HistoryFileName(const std::string& savegamePath) { return savegamePath + ".history"; }

uint64_t SavegameFingerprint(std::string_view savegameBytes) { return Fnv1a(savegameBytes); }

std::size_t HistoryBounds::MostMessages() const
{
    const auto months = static_cast<std::size_t>(std::max<int32_t>(MonthCount, 1));
    return std::min(kMostMessages, kMessagesPerMonth * (months + 1));
}

namespace {

// The figures of a company's month in the file, in the order the "columns" line names them. A
// new figure is one more row here (the reader takes files without it as 0).
struct MoneyColumn {
    std::string_view Name;
    double CompanyMonth::*Field;
};
constexpr MoneyColumn kMoneyColumns[] = {
    {"money_before", &CompanyMonth::MoneyBefore},
    {"money", &CompanyMonth::Money},
    {"value", &CompanyMonth::Value},
    {"revenue", &CompanyMonth::Revenue},
    {"production", &CompanyMonth::Production},
    {"transport", &CompanyMonth::Transport},
    {"interest", &CompanyMonth::Interest},
};
struct LitreColumn {
    std::string_view Name;
    int64_t CompanyMonth::*Field;
};
constexpr LitreColumn kLitreColumns[] = {{"supply", &CompanyMonth::Supply}, {"sales", &CompanyMonth::Sales}};
// A company's litres of a month: 30 places of at most the integer's range each, either sign.
constexpr int64_t kMostCompanyLitres = int64_t{kHistoryBrands} * kHistoryTowns * (int64_t{1} << 31);
constexpr int64_t kMostDemand = int64_t{kHistoryTowns} * (int64_t{1} << 31);
// A savegame is at most a megabyte.
constexpr std::size_t kLongestSavegame = std::size_t{1} << 20;

bool SameFigures(const CompanyMonth& a, const CompanyMonth& b)
{
    // Bit for bit: 0 and -0 are written differently.
    for (const MoneyColumn& c : kMoneyColumns)
        if (std::bit_cast<uint64_t>(a.*c.Field) != std::bit_cast<uint64_t>(b.*c.Field))
            return false;
    for (const LitreColumn& c : kLitreColumns)
        if (a.*c.Field != b.*c.Field)
            return false;
    return true;
}

void PutNames(std::string& out, const WorldNames& names)
{
    bool first = true;
    const auto put = [&](const std::string& name) {
        if (!first)
            out += '\t';
        first = false;
        PutText(out, name);
    };
    for (const std::string& name : names.Company)
        put(name);
    for (const auto& brands : names.Brand)
        for (const std::string& name : brands)
            put(name);
}

void PutTakenUp(std::string& out, const TakenUp& at)
{
    out += ' ';
    PutHex(out, at.Random);
    out += ' ';
    PutHex(out, at.Digest);
}

// Why the inputs cannot be written as they are for a game of `monthCount`; empty when they can.
std::string InputsProblem(const GameInputs& in, int32_t monthCount)
{
    int32_t last = 1;
    for (const RecordedInput& e : in.Entries) {
        if (e.Month < last || e.Month > monthCount || e.Company < 0 || e.Company >= kHistoryCompanies)
            return "an input outside the game's months";
        last = e.Month;
        if (e.Kind == InputKind::Command && (e.Text.empty() || e.Text.size() > HistoryBounds::kLongestText))
            return "a command no player can give";
        if (e.Kind != InputKind::Command && e.Detail >= in.Details.size())
            return "an input without its detail";
    }
    return {};
}

void PutInputs(std::string& out, const GameInputs& in, int32_t monthCount)
{
    if (in.Start.Kind == StartKind::Unknown)
        return;
    const GameStart& start = in.Start;
    out += "start ";
    out += start.Kind == StartKind::NewWorld ? "new" : "savegame";
    PutTakenUp(out, start.At);
    if (start.Kind == StartKind::NewWorld) {
        const NewGameSettings& g = start.Settings;
        Put(out, g.Map);
        for (const bool flag :
             {g.TwoPlayer, g.Expert, g.DelayBuilding, g.Events, g.AdvancedOptions, g.ReduceCapacities})
            Put(out, flag ? 1 : 0);
        Put(out, g.Player1Start);
        Put(out, g.Player2Start);
        out += ' ';
        PutText(out, g.WinningShareText);
        out += '\t';
        PutText(out, g.Player1Name);
        out += '\t';
        PutText(out, g.Player2Name);
    } else {
        out += ' ';
        PutText(out, start.Savegame, true);
    }
    out += '\t';
    PutNames(out, start.At.Names);
    out += '\n';
    std::string broken = in.Broken.empty() ? InputsProblem(in, monthCount) : in.Broken;
    if (!broken.empty()) {
        out += "broken ";
        PutText(out, broken);
        out += '\n';
    }
}

void PutEntries(std::string& out, const GameInputs& in, int32_t monthCount)
{
    if (in.Start.Kind == StartKind::Unknown || !in.Broken.empty() || !InputsProblem(in, monthCount).empty())
        return;
    for (const RecordedInput& e : in.Entries) {
        out += e.Kind == InputKind::Command ? "do" : e.Kind == InputKind::Names ? "names" : "reopened";
        Put(out, e.Month);
        Put(out, e.Company);
        if (e.Kind == InputKind::Command) {
            out += ' ';
            PutText(out, e.Text);
        } else {
            const TakenUp& at = in.Details[e.Detail];
            if (e.Kind == InputKind::Reopened)
                PutTakenUp(out, at);
            out += ' ';
            PutNames(out, at.Names);
        }
        out += '\n';
    }
}

// The spending kinds a "kinds" line names, in SpendingKind's order (transport is a column).
constexpr std::string_view kKindNames[kSpendingKinds - 1] = {"construction", "extensions", "depots", "brands",
                                                             "transfer_fees"};

// A month's books and kinds; `books` and `kinds` are the next entries, moved past this month's.
void PutBooks(std::string& out, const GameHistory& history, int32_t month, std::size_t& books, std::size_t& kinds)
{
    // Entries of a month that was not written (not rising, or beyond the savegame) are passed.
    for (; books < history.Books.size() && history.Books[books].Month < month; ++books) {
    }
    for (; kinds < history.Kinds.size() && history.Kinds[kinds].Month < month; ++kinds) {
    }
    int last = -1;
    for (; books < history.Books.size() && history.Books[books].Month == month; ++books) {
        const CompanyBooks& b = history.Books[books];
        if (b.Company <= last || b.Company >= kHistoryCompanies || (b.Spent == 0 && b.Other == 0))
            continue;
        last = b.Company;
        out += "books";
        Put(out, b.Company);
        Put(out, b.Spent);
        Put(out, b.Other);
        out += '\n';
    }
    last = -1;
    for (; kinds < history.Kinds.size() && history.Kinds[kinds].Month == month; ++kinds) {
        const KindSpending& k = history.Kinds[kinds];
        if (k.Company <= last || k.Company >= kHistoryCompanies || k.Spent == decltype(k.Spent){})
            continue;
        last = k.Company;
        out += "kinds";
        Put(out, k.Company);
        for (std::size_t i = 0; i < k.Spent.size(); ++i)
            if (k.Spent[i] != 0) {
                out += ' ';
                out += kKindNames[i];
                Put(out, k.Spent[i]);
            }
        out += '\n';
    }
}

// The newest month's spending by town and why a brand sold nothing, for its month report.
void PutNewestDetails(std::string& out, const GameHistory& history)
{
    for (int c = 0; c < kHistoryCompanies; ++c) {
        const auto& towns = history.NewestTownSpent[c];
        if (towns == std::remove_cvref_t<decltype(towns)>{})
            continue;
        out += "townspent";
        Put(out, c);
        for (const double v : towns)
            Put(out, v);
        out += '\n';
    }
    for (int c = 0; c < kHistoryCompanies; ++c)
        for (int b = 0; b < kHistoryBrands; ++b)
            for (int t = 0; t < kHistoryTowns; ++t)
                if (const NothingSold why = history.NewestUnsold[c][b][t]; why != NothingSold::No) {
                    out += "unsold";
                    Put(out, c);
                    Put(out, b);
                    Put(out, t);
                    Put(out, static_cast<int>(why));
                    out += '\n';
                }
}

}  // namespace

std::string HistoryText(const GameHistory& history, uint64_t fingerprint, int32_t monthCount)
{
    const HistoryBounds bounds{monthCount};
    std::string out;
    out.reserve(history.Months.size() * 400 + history.Messages.size() * 120 + history.Inputs.Entries.size() * 24 +
                history.Inputs.Start.Savegame.size() * 2 + 1024);
    out += kMagic;
    Put(out, kHistoryFormatVersion);
    out += "\ngame ";
    PutHex(out, fingerprint);
    out += "\ncolumns";
    for (const MoneyColumn& c : kMoneyColumns) {
        out += ' ';
        out += c.Name;
    }
    for (const LitreColumn& c : kLitreColumns) {
        out += ' ';
        out += c.Name;
    }
    out += '\n';
    PutInputs(out, history.Inputs, monthCount);
    int32_t lastMonth = 0;
    const MonthRecord* previous = nullptr;
    std::size_t books = 0, kinds = 0;  // the next entries of the books and kinds to write
    for (const MonthRecord& r : history.Months) {
        // Only what the reader takes back: rising months before the savegame's.
        if (r.Month <= lastMonth || r.Month >= monthCount)
            continue;
        lastMonth = r.Month;
        out += "month";
        Put(out, r.Month);
        out += ' ';
        if (r.Digest != 0)
            PutHex(out, r.Digest);
        else
            out += '-';
        Put(out, r.TotalDemand);
        if (r.Detailed)
            out += " whole";
        out += '\n';
        for (int c = 0; c < kHistoryCompanies; ++c) {
            const CompanyMonth& m = r.Companies[c];
            // A company whose books did not move (liquidated, most of a long game) in two bytes.
            if (previous && SameFigures(m, previous->Companies[c])) {
                out += "=\n";
                continue;
            }
            bool first = true;
            for (const MoneyColumn& column : kMoneyColumns) {
                if (!first)
                    out += ' ';
                first = false;
                char buf[64];
                const auto end = std::to_chars(buf, buf + sizeof buf, m.*column.Field);
                out.append(buf, end.ptr);
            }
            for (const LitreColumn& column : kLitreColumns)
                Put(out, m.*column.Field);
            out += '\n';
        }
        if (r.Detailed)
            PutBooks(out, history, r.Month, books, kinds);
        previous = &r;
    }
    PutEntries(out, history.Inputs, monthCount);
    // The newest messages, when there are more than a game of this month can show.
    std::vector<const RecordedMessage*> kept;
    for (auto it = history.Messages.rbegin(); it != history.Messages.rend() && kept.size() < bounds.MostMessages();
         ++it)
        if (it->Month >= 1 && it->Month <= monthCount && it->Company >= 0 && it->Company < kHistoryCompanies)
            kept.push_back(&*it);
    std::reverse(kept.begin(), kept.end());
    const auto cut = [](const std::string& text) {
        if (text.size() <= HistoryBounds::kLongestText)
            return text;
        // Cut at a character's start, so the text stays UTF-8.
        std::size_t end = HistoryBounds::kLongestText;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            --end;
        return text.substr(0, end);
    };
    for (const RecordedMessage* message : kept) {
        const RecordedMessage& m = *message;
        out += "message";
        Put(out, m.Month);
        Put(out, m.Company);
        out += ' ';
        PutText(out, cut(m.Text.English));
        out += '\t';
        PutText(out, cut(m.Text.German));
        out += '\t';
        PutText(out, cut(m.Caption.English));
        out += '\t';
        PutText(out, cut(m.Caption.German));
        out += '\n';
    }
    if (history.End) {
        const RecordedEnd& e = *history.End;
        out += "ended";
        Put(out, e.Winner);
        Put(out, e.HumanWon ? 1 : 0);
        Put(out, e.Points);
        Put(out, e.LastPlayer);
        out += '\n';
    }
    // The newest month's places, for the month report; only when that month was written and its
    // places are at hand (a record read without them has none to give, and the reader would
    // refuse towns whose demand is not the month's).
    int64_t townDemand = 0;
    for (const int32_t d : history.NewestDemand)
        townDemand += d;
    if (previous && previous == &history.Months.back() && townDemand == history.Months.back().TotalDemand) {
        out += "places";
        for (const int32_t d : history.NewestDemand)
            Put(out, d);
        out += '\n';
        for (const LitreCell& cell : history.NewestCells) {
            out += "litres";
            Put(out, int{cell.Company});
            Put(out, int{cell.Brand});
            Put(out, int{cell.Town});
            Put(out, cell.Supply);
            Put(out, cell.Sales);
            out += '\n';
        }
        if (previous->Detailed)
            PutNewestDetails(out, history);
    }
    for (int c = 0; c < kHistoryCompanies; ++c) {
        const OpenBooks& open = history.Open[c];
        if (open == OpenBooks{})
            continue;
        out += "openbooks";
        Put(out, c);
        for (const long double v : open.Spent)
            Put(out, v);
        Put(out, open.Other);
        for (const long double v : open.TownSpent)
            Put(out, v);
        out += '\n';
    }
    out += "open";
    for (const long double v : history.OpenTransport)
        Put(out, v);
    if (history.OpenWhole)
        out += " whole";
    out += '\n';
    return SealHistoryText(std::move(out));
}

std::string SealHistoryText(std::string body)
{
    const uint64_t sum = Fnv1a(body);
    body += "end ";
    PutHex(body, sum);
    body += '\n';
    return body;
}

namespace {

// The sections of a record in the order they come; a line of an earlier section after a later
// one is out of place.
enum Section { kHeadLines, kMonthLines, kInputLines, kMessageLines, kEndedLine, kPlaceLines, kOpenLines };

bool ReadNames(std::string_view texts, WorldNames& names)
{
    std::vector<std::string*> fields;
    for (std::string& name : names.Company)
        fields.push_back(&name);
    for (auto& brands : names.Brand)
        for (std::string& name : brands)
            fields.push_back(&name);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto tab = texts.find('\t');
        const bool last = i + 1 == fields.size();
        if (last != (tab == std::string_view::npos))
            return false;
        if (!UnescapeText(texts.substr(0, tab), *fields[i]) || fields[i]->size() > HistoryBounds::kLongestText)
            return false;
        if (!last)
            texts.remove_prefix(tab + 1);
    }
    return true;
}

bool ReadTakenUp(Words& w, TakenUp& at)
{
    const auto random = w.Next();
    const auto digest = w.Next();
    return random && digest && ParseHex(*random, at.Random) && ParseHex(*digest, at.Digest);
}

// Splits `texts` at tabs into `count` fields, each unescaped and at most a message's length.
bool ReadTexts(std::string_view& texts, std::initializer_list<std::string*> fields, std::size_t longest)
{
    for (std::string* field : fields) {
        const auto tab = texts.find('\t');
        if (tab == std::string_view::npos)
            return false;
        if (!UnescapeText(texts.substr(0, tab), *field) || field->size() > longest)
            return false;
        texts.remove_prefix(tab + 1);
    }
    return true;
}

}  // namespace

HistoryLoad ParseHistory(std::string_view text, uint64_t fingerprint, int32_t monthCount, GameHistory& out,
                         std::string* reason)
{
    return ParseHistoryRecord(text, &fingerprint, monthCount, out, nullptr, reason);
}

HistoryLoad ParseHistoryRecord(std::string_view text, const uint64_t* fingerprint, int32_t monthCount, GameHistory& out,
                               RecordHead* head, std::string* reason)
{
    const HistoryBounds bounds{monthCount};
    int lineNumber = 0;
    const auto fail = [&](HistoryLoad result, const char* why) {
        if (reason)
            *reason = lineNumber > 0 ? Format("line %d: %s", lineNumber, why) : std::string(why);
        return result;
    };
    std::string_view rest = text;
    const auto nextLine = [&](std::string_view& line) {
        const auto end = rest.find('\n');
        if (end == std::string_view::npos)
            return false;
        line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        ++lineNumber;
        return true;
    };

    std::string_view line;
    int32_t formatVersion = 1;
    if (!nextLine(line))
        return fail(HistoryLoad::Damaged, "not a history file");
    {
        Words w(line);
        int32_t version = 0;
        if (w.Next() != kMagic || !w.Number(version) || !w.AtEnd() || version < 1)
            return fail(HistoryLoad::Damaged, "not a history file");
        if (version > kHistoryFormatVersion)
            return fail(HistoryLoad::Newer, "written by a newer version of the game");
        formatVersion = version;
    }
    // The closing sum covers every byte before its line: anything cut off or changed shows.
    const auto endAt = text.rfind("\nend ");
    uint64_t sum = 0;
    if (endAt == std::string_view::npos || text.size() != endAt + 1 + 4 + 16 + 1 ||
        !ParseHex(text.substr(endAt + 5, 16), sum) || sum != Fnv1a(text.substr(0, endAt + 1)))
        return fail(HistoryLoad::Damaged, "the file is cut off or changed");
    rest = text.substr(rest.data() - text.data(), endAt + 1 - static_cast<size_t>(rest.data() - text.data()));

    uint64_t game = 0;
    if (!nextLine(line))
        return fail(HistoryLoad::Damaged, "no game line");
    {
        Words w(line);
        const auto word = w.Next();
        const auto hex = w.Next();
        if (word != "game" || !hex || !ParseHex(*hex, game) || !w.AtEnd())
            return fail(HistoryLoad::Damaged, "no game line");
        if (fingerprint && game != *fingerprint)
            return fail(HistoryLoad::Foreign, "the record belongs to another game");
    }

    // Which figures a company line holds, in order: index into the money columns, then the
    // litre columns (past the money ones), or -1 for a figure this version does not know.
    std::vector<int> columns;
    const int moneyColumns = static_cast<int>(std::size(kMoneyColumns));
    GameHistory h;
    int section = kHeadLines;
    bool columnsRead = formatVersion < 3;
    bool open = false;
    int32_t lastInputMonth = 1;
    bool hasPlaces = false;
    int lastDetail = -1, lastUnsold = -1, lastOpen = -1;  // the newest month's details and open books, in order
    std::array<CompanyMonth, kHistoryCompanies> monthTotals{};
    const auto enter = [&](int wanted) {
        if (wanted < section)
            return false;
        section = wanted;
        return true;
    };
    while (nextLine(line)) {
        Words w(line);
        const auto kind = w.Next();
        if (open)
            return fail(HistoryLoad::Damaged, "text after the open month");
        if (formatVersion >= 3 && !columnsRead && kind != "columns")
            return fail(HistoryLoad::Damaged, "the columns line is missing");
        if (kind == "columns" && formatVersion >= 3 && !columnsRead) {
            for (auto word = w.Next(); word; word = w.Next()) {
                int index = -1;
                for (int i = 0; i < moneyColumns; ++i)
                    if (*word == kMoneyColumns[i].Name)
                        index = i;
                for (int i = 0; i < static_cast<int>(std::size(kLitreColumns)); ++i)
                    if (*word == kLitreColumns[i].Name)
                        index = moneyColumns + i;
                if (word->empty() || (index >= 0 && std::find(columns.begin(), columns.end(), index) != columns.end()))
                    return fail(HistoryLoad::Damaged, "bad columns");
                columns.push_back(index);
            }
            if (columns.size() > 64)
                return fail(HistoryLoad::Damaged, "bad columns");
            columnsRead = true;
        } else if (kind == "start" && formatVersion >= 3 && section == kHeadLines &&
                   h.Inputs.Start.Kind == StartKind::Unknown) {
            GameStart& start = h.Inputs.Start;
            const auto how = w.Next();
            if (how == "new")
                start.Kind = StartKind::NewWorld;
            else if (how == "savegame")
                start.Kind = StartKind::Savegame;
            else
                return fail(HistoryLoad::Damaged, "bad start");
            if (!ReadTakenUp(w, start.At))
                return fail(HistoryLoad::Damaged, "bad start");
            std::string_view texts;
            if (start.Kind == StartKind::NewWorld) {
                NewGameSettings& g = start.Settings;
                if (!w.Number(g.Map))
                    return fail(HistoryLoad::Damaged, "bad start");
                for (bool* flag :
                     {&g.TwoPlayer, &g.Expert, &g.DelayBuilding, &g.Events, &g.AdvancedOptions, &g.ReduceCapacities}) {
                    int value = -1;
                    if (!w.Number(value) || value < 0 || value > 1)
                        return fail(HistoryLoad::Damaged, "bad start");
                    *flag = value == 1;
                }
                if (!w.Number(g.Player1Start) || !w.Number(g.Player2Start))
                    return fail(HistoryLoad::Damaged, "bad start");
                texts = w.Rest();
                if (!ReadTexts(texts, {&g.WinningShareText, &g.Player1Name, &g.Player2Name},
                               HistoryBounds::kLongestText))
                    return fail(HistoryLoad::Damaged, "bad start");
            } else {
                texts = w.Rest();
                if (!ReadTexts(texts, {&start.Savegame}, kLongestSavegame))
                    return fail(HistoryLoad::Damaged, "bad start");
            }
            if (!ReadNames(texts, start.At.Names))
                return fail(HistoryLoad::Damaged, "bad names");
        } else if (kind == "broken" && formatVersion >= 3 && section == kHeadLines && h.Inputs.Broken.empty()) {
            if (!UnescapeText(w.Rest(), h.Inputs.Broken) || h.Inputs.Broken.empty() ||
                h.Inputs.Broken.size() > HistoryBounds::kLongestText)
                return fail(HistoryLoad::Damaged, "bad note of broken inputs");
        } else if (kind == "month") {
            if (!enter(kMonthLines))
                return fail(HistoryLoad::Damaged, "a month after the messages");
            MonthRecord& r = h.AddMonth(0);
            if (!w.Number(r.Month) || r.Month < 1 ||
                (h.Months.size() > 1 && r.Month <= h.Months[h.Months.size() - 2].Month))
                return fail(HistoryLoad::Damaged, "bad month number");
            if (r.Month >= monthCount)
                return fail(HistoryLoad::Damaged, "a month the savegame has not closed yet");
            std::array<int32_t, kHistoryTowns> demand{};
            if (formatVersion >= 3) {
                const auto digest = w.Next();
                if (!digest || (*digest != "-" && !ParseHex(*digest, r.Digest)) || (*digest != "-" && r.Digest == 0))
                    return fail(HistoryLoad::Damaged, "bad digest");
                if (!w.Number(r.TotalDemand) || r.TotalDemand < -kMostDemand || r.TotalDemand > kMostDemand)
                    return fail(HistoryLoad::Damaged, "bad demand");
            } else {
                for (int32_t& d : demand)
                    if (!w.Number(d))
                        return fail(HistoryLoad::Damaged, "bad demand");
                h.SetDemand(demand);
            }
            if (formatVersion >= 4 && !w.AtEnd()) {
                if (w.Next() != "whole")
                    return fail(HistoryLoad::Damaged, "extra values");
                r.Detailed = true;
            }
            if (!w.AtEnd())
                return fail(HistoryLoad::Damaged, "extra values");
            for (int c = 0; c < kHistoryCompanies; ++c) {
                if (!nextLine(line))
                    return fail(HistoryLoad::Damaged, "a month without its companies");
                Words cw(line);
                CompanyMonth& m = r.Companies[c];
                if (formatVersion >= 3) {
                    if (line == "=") {
                        if (h.Months.size() < 2)
                            return fail(HistoryLoad::Damaged, "an unchanged company in the first month");
                        m = h.Months[h.Months.size() - 2].Companies[c];
                    } else {
                        for (const int index : columns) {
                            if (index < moneyColumns) {
                                double v = 0;
                                if (!cw.Number(v) || !Finite(v))
                                    return fail(HistoryLoad::Damaged, "bad money figure");
                                if (index >= 0)
                                    m.*kMoneyColumns[index].Field = v;
                            } else {
                                int64_t litres = 0;
                                if (!cw.Number(litres) || litres < -kMostCompanyLitres || litres > kMostCompanyLitres)
                                    return fail(HistoryLoad::Damaged, "bad litres");
                                m.*kLitreColumns[index - moneyColumns].Field = litres;
                            }
                        }
                        if (!cw.AtEnd())
                            return fail(HistoryLoad::Damaged, "extra values");
                    }
                    m.Share = ShareOfDemand(m.Sales, static_cast<double>(r.TotalDemand));
                    continue;
                }
                int32_t number = -1;
                double share = 0;
                if (cw.Next() != "company" || !cw.Number(number) || number != c)
                    return fail(HistoryLoad::Damaged, "company line expected");
                for (double* v :
                     {&m.MoneyBefore, &m.Money, &m.Value, &share, &m.Revenue, &m.Production, &m.Transport, &m.Interest})
                    if (!cw.Number(*v) || !Finite(*v))
                        return fail(HistoryLoad::Damaged, "bad money figure");
                if (!(share >= 0.0 && share <= 1.0e6))
                    return fail(HistoryLoad::Damaged, "bad market share");
                CompanyLitres litres;
                for (auto* table : {&litres.Supply, &litres.Sales})
                    for (auto& towns : *table)
                        for (int32_t& l : towns)
                            if (!cw.Number(l))
                                return fail(HistoryLoad::Damaged, "bad litres");
                if (!cw.AtEnd())
                    return fail(HistoryLoad::Damaged, "extra values");
                for (int b = 0; b < kHistoryBrands; ++b)
                    for (int t = 0; t < kHistoryTowns; ++t)
                        h.AppendLitres(c, b, t, litres.Supply[b][t], litres.Sales[b][t]);
                // The share follows from the litres, as the month end worked it out.
                m.Share = ShareOfDemand(m.Sales, static_cast<double>(r.TotalDemand));
            }
        } else if ((kind == "books" || kind == "kinds") && formatVersion >= 4) {
            // The month's books follow its companies; only a month seen whole has them.
            if (section != kMonthLines || h.Months.empty() || !h.Months.back().Detailed)
                return fail(HistoryLoad::Damaged, "books out of place");
            const int32_t month = h.Months.back().Month;
            int32_t company = -1;
            if (!w.Number(company) || company < 0 || company >= kHistoryCompanies)
                return fail(HistoryLoad::Damaged, "bad books");
            const auto after = [&](const auto& entries) {
                return entries.empty() || entries.back().Month < month || entries.back().Company < company;
            };
            if (kind == "books") {
                CompanyBooks b{month, company, 0, 0};
                if (!after(h.Books) || !w.Number(b.Spent) || !w.Number(b.Other) || !w.AtEnd() || !Finite(b.Spent) ||
                    !Finite(b.Other) || (b.Spent == 0 && b.Other == 0))
                    return fail(HistoryLoad::Damaged, "bad books");
                h.Books.push_back(b);
            } else {
                KindSpending k{month, company, {}};
                if (!after(h.Kinds) || w.AtEnd())
                    return fail(HistoryLoad::Damaged, "bad spending by kind");
                while (!w.AtEnd()) {
                    const auto name = w.Next();
                    const auto at = std::find(std::begin(kKindNames), std::end(kKindNames), *name);
                    double v = 0;
                    if (at == std::end(kKindNames) || k.Spent[static_cast<std::size_t>(at - kKindNames)] != 0 ||
                        !w.Number(v) || !Finite(v) || v == 0)
                        return fail(HistoryLoad::Damaged, "bad spending by kind");
                    k.Spent[static_cast<std::size_t>(at - kKindNames)] = v;
                }
                h.Kinds.push_back(k);
            }
        } else if ((kind == "townspent" || kind == "unsold") && formatVersion >= 4) {
            if (section != kPlaceLines || !h.Months.back().Detailed)
                return fail(HistoryLoad::Damaged, "details out of place");
            int32_t company = -1;
            if (!w.Number(company) || company < 0 || company >= kHistoryCompanies)
                return fail(HistoryLoad::Damaged, "bad details");
            if (kind == "townspent") {
                auto& towns = h.NewestTownSpent[company];
                if (lastDetail >= company || towns != std::remove_cvref_t<decltype(towns)>{})
                    return fail(HistoryLoad::Damaged, "bad spending by town");
                for (double& v : towns)
                    if (!w.Number(v) || !Finite(v))
                        return fail(HistoryLoad::Damaged, "bad spending by town");
                if (!w.AtEnd() || towns == std::remove_cvref_t<decltype(towns)>{})
                    return fail(HistoryLoad::Damaged, "bad spending by town");
                lastDetail = company;
            } else {
                int32_t brand = -1, town = -1, why = 0;
                if (!w.Number(brand) || !w.Number(town) || !w.Number(why) || !w.AtEnd() || brand < 0 ||
                    brand >= kHistoryBrands || town < 0 || town >= kHistoryTowns ||
                    why <= static_cast<int>(NothingSold::No) || why > static_cast<int>(NothingSold::DemandMet))
                    return fail(HistoryLoad::Damaged, "bad reason");
                const int place = (company * kHistoryBrands + brand) * kHistoryTowns + town;
                if (place <= lastUnsold)
                    return fail(HistoryLoad::Damaged, "reasons out of order");
                lastUnsold = place;
                lastDetail = kHistoryCompanies;  // the towns' spending comes first
                h.NewestUnsold[company][brand][town] = static_cast<NothingSold>(why);
            }
        } else if (kind == "openbooks" && formatVersion >= 4) {
            int32_t company = -1;
            if (!enter(kOpenLines) || !w.Number(company) || company <= lastOpen || company >= kHistoryCompanies)
                return fail(HistoryLoad::Damaged, "bad books of the open month");
            OpenBooks& books = h.Open[company];
            for (long double* v : OpenFigures(books))
                if (!w.Number(*v) || !Finite(*v))
                    return fail(HistoryLoad::Damaged, "bad books of the open month");
            if (!w.AtEnd() || books == OpenBooks{})
                return fail(HistoryLoad::Damaged, "bad books of the open month");
            lastOpen = company;
        } else if ((kind == "do" || kind == "names" || kind == "reopened") && formatVersion >= 3) {
            if (!enter(kInputLines) || h.Inputs.Start.Kind == StartKind::Unknown || !h.Inputs.Broken.empty())
                return fail(HistoryLoad::Damaged, "an input out of place");
            RecordedInput e;
            if (!w.Number(e.Month) || !w.Number(e.Company) || e.Company < 0 || e.Company >= kHistoryCompanies)
                return fail(HistoryLoad::Damaged, "bad input");
            if (e.Month < lastInputMonth || e.Month > monthCount)
                return fail(HistoryLoad::Damaged, "an input outside the game's months");
            lastInputMonth = e.Month;
            if (kind == "do") {
                e.Kind = InputKind::Command;
                if (!UnescapeText(w.Rest(), e.Text) || e.Text.empty() || e.Text.size() > HistoryBounds::kLongestText)
                    return fail(HistoryLoad::Damaged, "bad command");
            } else {
                e.Kind = kind == "names" ? InputKind::Names : InputKind::Reopened;
                TakenUp at;
                if (e.Kind == InputKind::Reopened && !ReadTakenUp(w, at))
                    return fail(HistoryLoad::Damaged, "bad input");
                if (!ReadNames(w.Rest(), at.Names))
                    return fail(HistoryLoad::Damaged, "bad names");
                e.Detail = static_cast<uint32_t>(h.Inputs.Details.size());
                h.Inputs.Details.push_back(std::move(at));
            }
            h.Inputs.Entries.push_back(std::move(e));
        } else if (kind == "message") {
            if (!enter(kMessageLines))
                return fail(HistoryLoad::Damaged, "a message out of place");
            RecordedMessage m;
            if (!w.Number(m.Month) || !w.Number(m.Company) || m.Company < 0 || m.Company >= kHistoryCompanies)
                return fail(HistoryLoad::Damaged, "bad message");
            if (m.Month < 1 || m.Month > monthCount)
                return fail(HistoryLoad::Damaged, "a message outside the game's months");
            if (h.Messages.size() >= bounds.MostMessages())
                return fail(HistoryLoad::Damaged, "more messages than the game can have shown");
            std::string_view texts = w.Rest();
            std::string* fields[] = {&m.Text.English, &m.Text.German, &m.Caption.English, &m.Caption.German};
            for (int i = 0; i < 4; ++i) {
                const auto tab = texts.find('\t');
                if ((i < 3) == (tab == std::string_view::npos))
                    return fail(HistoryLoad::Damaged, "a message needs four texts");
                if (!UnescapeText(texts.substr(0, tab), *fields[i]))
                    return fail(HistoryLoad::Damaged, "bad text escape");
                if (fields[i]->size() > HistoryBounds::kLongestText)
                    return fail(HistoryLoad::Damaged, "a message text longer than any message box");
                if (i < 3)
                    texts.remove_prefix(tab + 1);
            }
            h.Messages.push_back(std::move(m));
        } else if (kind == "ended") {
            RecordedEnd e;
            int32_t humanWon = -1;
            if (formatVersion < 2 || !enter(kEndedLine) || h.End || !w.Number(e.Winner) || !w.Number(humanWon) ||
                !w.Number(e.Points) || !w.Number(e.LastPlayer) || !w.AtEnd())
                return fail(HistoryLoad::Damaged, "bad end of the game");
            if (e.Winner < -1 || e.Winner >= kHistoryCompanies || humanWon < 0 || humanWon > 1 || e.Points < 0 ||
                e.LastPlayer < -1 || e.LastPlayer >= kHistoryCompanies || (e.Winner < 0 && e.LastPlayer < 0) ||
                (humanWon == 1 && e.Winner < 0))
                return fail(HistoryLoad::Damaged, "an end no game can have");
            e.HumanWon = humanWon == 1;
            h.End = e;
        } else if (kind == "places" && formatVersion >= 3) {
            if (!enter(kPlaceLines) || hasPlaces || h.Months.empty())
                return fail(HistoryLoad::Damaged, "places out of place");
            std::array<int32_t, kHistoryTowns> demand{};
            for (int32_t& d : demand)
                if (!w.Number(d))
                    return fail(HistoryLoad::Damaged, "bad demand");
            if (!w.AtEnd())
                return fail(HistoryLoad::Damaged, "extra values");
            const int64_t total = h.Months.back().TotalDemand;
            h.SetDemand(demand);
            if (h.Months.back().TotalDemand != total)
                return fail(HistoryLoad::Damaged, "the towns' demand is not the month's");
            // The places are added up again and must give the month's totals.
            monthTotals = h.Months.back().Companies;
            for (CompanyMonth& m : h.Months.back().Companies) {
                m.Supply = 0;
                m.Sales = 0;
            }
            hasPlaces = true;
        } else if (kind == "litres" && formatVersion >= 3) {
            if (section != kPlaceLines)
                return fail(HistoryLoad::Damaged, "litres out of place");
            int32_t company = -1, brand = -1, town = -1, supply = 0, sales = 0;
            if (!w.Number(company) || !w.Number(brand) || !w.Number(town) || !w.Number(supply) || !w.Number(sales) ||
                !w.AtEnd() || company < 0 || company >= kHistoryCompanies || brand < 0 || brand >= kHistoryBrands ||
                town < 0 || town >= kHistoryTowns || (supply == 0 && sales == 0))
                return fail(HistoryLoad::Damaged, "bad litres");
            const int place = (company * kHistoryBrands + brand) * kHistoryTowns + town;
            if (!h.NewestCells.empty()) {
                const LitreCell& last = h.NewestCells.back();
                if (place <= (last.Company * kHistoryBrands + last.Brand) * kHistoryTowns + last.Town)
                    return fail(HistoryLoad::Damaged, "places out of order");
            }
            h.AppendLitres(company, brand, town, supply, sales);
        } else if (kind == "open") {
            for (long double& v : h.OpenTransport) {
                if (formatVersion >= 4) {
                    if (!w.Number(v) || !Finite(v))
                        return fail(HistoryLoad::Damaged, "bad open month");
                    continue;
                }
                double d = 0;
                if (!w.Number(d) || !Finite(d))
                    return fail(HistoryLoad::Damaged, "bad open month");
                v = d;
            }
            if (formatVersion >= 4 && !w.AtEnd()) {
                if (w.Next() != "whole")
                    return fail(HistoryLoad::Damaged, "extra values");
                h.OpenWhole = true;
            }
            if (!w.AtEnd())
                return fail(HistoryLoad::Damaged, "extra values");
            open = true;
        } else {
            return fail(HistoryLoad::Damaged, "unknown line");
        }
    }
    if (!open)
        return fail(HistoryLoad::Damaged, "the open month is missing");
    if (hasPlaces && h.Months.back().Companies != monthTotals)
        return fail(HistoryLoad::Damaged, "the places do not add up to the month's litres");
    if (head) {
        head->Fingerprint = game;
        head->Version = formatVersion;
    }
    out = std::move(h);
    return HistoryLoad::Loaded;
}

std::optional<std::string> ReadPlainFile(const std::string& path, std::size_t maxBytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        ::close(fd);
        return std::nullopt;
    }
    std::string text;
    text.reserve(static_cast<size_t>(info.st_size));
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || text.size() + static_cast<size_t>(n) > maxBytes) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        text.append(buffer.data(), static_cast<size_t>(n));
    }
    ::close(fd);
    return text;
}

HistoryLoad LoadHistoryFile(const std::string& savegamePath, uint64_t fingerprint, int32_t monthCount, GameHistory& out,
                            std::string* reason)
{
    const std::string path = HistoryFileName(savegamePath);
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) {
        if (reason)
            *reason = "no history file";
        return HistoryLoad::Missing;
    }
    const auto text = ReadPlainFile(path, kMaxHistoryBytes);
    if (!text) {
        if (reason)
            *reason = Format("cannot read '%s'", path.c_str());
        return HistoryLoad::Damaged;
    }
    return ParseHistory(*text, fingerprint, monthCount, out, reason);
}

SaveResult SaveHistoryFile(const std::string& savegamePath, const GameHistory& history, uint64_t fingerprint,
                           int32_t monthCount, std::string* reason)
{
    try {
        return WriteFileSafely(HistoryFileName(savegamePath), HistoryText(history, fingerprint, monthCount), reason);
    } catch (const std::exception& e) {
        if (reason)
            *reason = e.what();
        return SaveResult{SaveStatus::WriteFailed};
    }
}

std::optional<LocalText> HistoryNote(HistoryLoad result)
{
    switch (result) {
    case HistoryLoad::Loaded:
        return std::nullopt;
    case HistoryLoad::Missing:
        return LocalText{"No history beside this game: the record starts now.",
                         "Keine Chronik zu diesem Spiel: die Aufzeichnung beginnt jetzt."};
    case HistoryLoad::Damaged:
        return LocalText{"The game's history file is damaged: the record starts now.",
                         "Die Chronik des Spiels ist beschädigt: die Aufzeichnung beginnt jetzt."};
    case HistoryLoad::Foreign:
        return LocalText{
            "The history file beside this game belongs to another game: the record starts now.",
            "Die Chronik neben diesem Spiel gehört zu einem anderen Spiel: die Aufzeichnung beginnt jetzt."};
    case HistoryLoad::Newer:
        return LocalText{"The game's history file is from a newer version: the record starts now.",
                         "Die Chronik des Spiels stammt aus einer neueren Version: die Aufzeichnung beginnt jetzt."};
    }
    return std::nullopt;
}

LocalText HistoryNotSavedNote()
{
    return {"The game was saved, but not its history.", "Das Spiel wurde gespeichert, aber nicht seine Chronik."};
}

LocalText NotARecordNote(const std::string& recordPath)
{
    // One line, whatever the file's name holds.
    std::string name = recordPath;
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return {Format("The game was saved, but not its history: \"%s\" is not a history file and stays as it is.",
                   name.c_str()),
            Format("Das Spiel wurde gespeichert, aber nicht seine Chronik: „%s“ ist keine Chronik und bleibt, wie "
                   "sie ist.",
                   name.c_str())};
}
