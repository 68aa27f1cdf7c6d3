/// @file history_file.cpp Writing and reading the record beside a savegame.
#include "persistence/history_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <limits>
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

void PutText(std::string& out, const std::string& text)
{
    for (const char ch : text) {
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

bool Finite(double v)
{
    return v == v && v <= std::numeric_limits<double>::max() && v >= -std::numeric_limits<double>::max();
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

std::string HistoryText(const GameHistory& history, uint64_t fingerprint, int32_t monthCount)
{
    const HistoryBounds bounds{monthCount};
    std::string out;
    out.reserve(history.Months.size() * 2600 + history.Messages.size() * 120 + 256);
    out += kMagic;
    Put(out, history.End ? 2 : 1);
    out += "\ngame ";
    PutHex(out, fingerprint);
    out += '\n';
    int32_t lastMonth = 0;
    for (const MonthRecord& r : history.Months) {
        // Only what the reader takes back: rising months before the savegame's.
        if (r.Month <= lastMonth || r.Month >= monthCount)
            continue;
        lastMonth = r.Month;
        out += "month";
        Put(out, r.Month);
        for (const int32_t d : r.Demand)
            Put(out, d);
        out += '\n';
        for (int c = 0; c < kHistoryCompanies; ++c) {
            const CompanyMonth& m = r.Companies[c];
            out += "company";
            Put(out, c);
            for (const double v : {m.MoneyBefore, m.Money, m.Value, static_cast<double>(m.Share), m.Revenue,
                                   m.Production, m.Transport, m.Interest})
                Put(out, v);
            const CompanyLitres litres = history.Litres(r, c);
            for (const auto* table : {&litres.Supply, &litres.Sales})
                for (const auto& towns : *table)
                    for (const int32_t l : towns)
                        Put(out, l);
            out += '\n';
        }
    }
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
    out += "open";
    for (const long double v : history.OpenTransport)
        Put(out, static_cast<double>(v));
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

HistoryLoad ParseHistory(std::string_view text, uint64_t fingerprint, int32_t monthCount, GameHistory& out,
                         std::string* reason)
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

    if (!nextLine(line))
        return fail(HistoryLoad::Damaged, "no game line");
    {
        Words w(line);
        uint64_t game = 0;
        const auto word = w.Next();
        const auto hex = w.Next();
        if (word != "game" || !hex || !ParseHex(*hex, game) || !w.AtEnd())
            return fail(HistoryLoad::Damaged, "no game line");
        if (game != fingerprint)
            return fail(HistoryLoad::Foreign, "the record belongs to another game");
    }

    GameHistory h;
    bool open = false;
    while (nextLine(line)) {
        Words w(line);
        const auto kind = w.Next();
        if (open)
            return fail(HistoryLoad::Damaged, "text after the open month");
        if (h.End && kind != "open")
            return fail(HistoryLoad::Damaged, "text after the end of the game");
        if (kind == "month") {
            if (!h.Messages.empty())
                return fail(HistoryLoad::Damaged, "a month after the messages");
            MonthRecord& r = h.AddMonth(0);
            if (!w.Number(r.Month) || r.Month < 1 ||
                (h.Months.size() > 1 && r.Month <= h.Months[h.Months.size() - 2].Month))
                return fail(HistoryLoad::Damaged, "bad month number");
            if (r.Month >= monthCount)
                return fail(HistoryLoad::Damaged, "a month the savegame has not closed yet");
            for (int32_t& d : r.Demand)
                if (!w.Number(d))
                    return fail(HistoryLoad::Damaged, "bad demand");
            if (!w.AtEnd())
                return fail(HistoryLoad::Damaged, "extra values");
            for (int c = 0; c < kHistoryCompanies; ++c) {
                if (!nextLine(line))
                    return fail(HistoryLoad::Damaged, "a month without its companies");
                Words cw(line);
                int32_t number = -1;
                CompanyMonth& m = r.Companies[c];
                double share = 0;
                if (cw.Next() != "company" || !cw.Number(number) || number != c)
                    return fail(HistoryLoad::Damaged, "company line expected");
                for (double* v :
                     {&m.MoneyBefore, &m.Money, &m.Value, &share, &m.Revenue, &m.Production, &m.Transport, &m.Interest})
                    if (!cw.Number(*v) || !Finite(*v))
                        return fail(HistoryLoad::Damaged, "bad money figure");
                if (!(share >= 0.0 && share <= 1.0e6))
                    return fail(HistoryLoad::Damaged, "bad market share");
                m.Share = static_cast<float>(share);
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
            }
        } else if (kind == "message") {
            RecordedMessage m;
            if (!w.Number(m.Month) || !w.Number(m.Company) || m.Company < 0 || m.Company >= kHistoryCompanies)
                return fail(HistoryLoad::Damaged, "bad message");
            if (m.Month < 1 || m.Month > monthCount)
                return fail(HistoryLoad::Damaged, "a message outside the game's months");
            if (h.Messages.size() >= bounds.MostMessages())
                return fail(HistoryLoad::Damaged, "more messages than the game can have shown");
            // The texts are everything after the second number.
            const size_t start = line.find(' ', line.find(' ', 8) + 1) + 1;
            std::string_view texts = line.substr(start);
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
            if (formatVersion < 2 || h.End || !w.Number(e.Winner) || !w.Number(humanWon) || !w.Number(e.Points) ||
                !w.Number(e.LastPlayer) || !w.AtEnd())
                return fail(HistoryLoad::Damaged, "bad end of the game");
            if (e.Winner < -1 || e.Winner >= kHistoryCompanies || humanWon < 0 || humanWon > 1 || e.Points < 0 ||
                e.LastPlayer < -1 || e.LastPlayer >= kHistoryCompanies || (e.Winner < 0 && e.LastPlayer < 0) ||
                (humanWon == 1 && e.Winner < 0))
                return fail(HistoryLoad::Damaged, "an end no game can have");
            e.HumanWon = humanWon == 1;
            h.End = e;
        } else if (kind == "open") {
            for (long double& v : h.OpenTransport) {
                double d = 0;
                if (!w.Number(d) || !Finite(d))
                    return fail(HistoryLoad::Damaged, "bad open month");
                v = d;
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
