/// @file savegame.cpp Writing and reading savegames, loading them safely and saving them safely.
#include "persistence/savegame.h"

#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "game/names_file.h"
#include "game/status_line.h"
#include "game/text.h"
#include "platform/cp1252.h"

namespace {

namespace fs = std::filesystem;

constexpr long double kMoneyOffset = 12746.0L;  // money is held as trunc((v + 12746) * 13)
constexpr long double kMoneyScale = 13.0L;
constexpr long double kCostScale = 10.0L;  // production costs as trunc(v * 10)
constexpr int32_t kExtensionMarker = 132;  // between the original blocks and the later ones
constexpr size_t kSavedNameLength = 99;    // a name read back keeps at most 99 characters
constexpr double kDefaultWinningShare = 60.0;
constexpr double kLowestWinningShare = 50.0;
constexpr double kHighestWinningShare = 100.0;
// A savegame is a few dozen kilobytes; a file far beyond that is not one and is not read whole.
constexpr std::uintmax_t kMaxSavegameBytes = 1u << 20;

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int64_t kInt64Min = std::numeric_limits<int64_t>::min();
constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();

// Whole numbers are cut toward zero. Money beyond the 32-bit range keeps its exact 64-bit value
// rather than wrapping; beyond even that it is held at the bounds, and a value that is not a
// number at all counts as 0.
int64_t CutToWhole(long double x)
{
    if (std::isnan(x))
        return 0;
    constexpr long double kTwo63 = 9223372036854775808.0L;
    if (x >= kTwo63)
        return kInt64Max;
    if (x <= -kTwo63)
        return kInt64Min;
    return static_cast<int64_t>(std::trunc(x));
}

int64_t MoneyCode(long double v)
{
    if (std::isnan(v))
        v = 0.0L;
    return CutToWhole((v + kMoneyOffset) * kMoneyScale);
}

long double MoneyFromCode(int64_t n)
{
    return static_cast<long double>(n) * (1.0L / kMoneyScale) - kMoneyOffset;
}

int64_t CostCode(long double v)
{
    return CutToWhole(v * kCostScale);
}

long double CostFromCode(int64_t n)
{
    return static_cast<long double>(n) * 0.1L;
}

bool InRange(int64_t v, int64_t low, int64_t high)
{
    return v >= low && v <= high;
}

const std::string& NameOf(const GameState& s, int company)
{
    static const std::string kNone;
    return InRange(company, 0, kCompanies - 1) ? s.CompanyName[company] : kNone;
}

// A name as the file holds it: one line of at most 99 Windows-1252 characters. Line breaks and
// other control characters would split or garble the file and become spaces; characters 1252
// cannot hold become '?'.
std::string FileName(std::string_view utf8)
{
    std::string flat(utf8);
    for (char& c : flat)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    std::string bytes = Utf8ToCp1252(flat);
    if (bytes.size() > kSavedNameLength)
        bytes.resize(kSavedNameLength);
    return bytes;
}

class LineWriter {
public:
    explicit LineWriter(std::string& out) : out_(out) {}

    void Whole(int64_t v)
    {
        char buffer[24];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
        out_.append(buffer, result.ptr);
        End();
    }
    void Flag(bool v)
    {
        out_ += v ? '1' : '0';
        End();
    }
    // Six significant digits, fixed or with an exponent as the value needs, trailing zeros
    // removed; always with a '.', whatever the locale.
    void Decimal(double v)
    {
        char buffer[40];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 6);
        out_.append(buffer, result.ptr);
        End();
    }
    void Single(float v) { Decimal(static_cast<double>(v)); }
    void Money(long double v) { Whole(MoneyCode(v)); }
    void Cost(long double v) { Whole(CostCode(v)); }
    void Name(std::string_view utf8)
    {
        out_ += FileName(utf8);
        End();
    }

private:
    void End() { out_ += "\r\n"; }

    std::string& out_;
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Reads values the way the format is laid out: a number skips blanks and line ends before it
// and ends at the next blank or line end; a name is the rest of a line. The first fault is kept
// and every later read does nothing.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }

    void Fail(const std::string& why)
    {
        if (Ok())
            error_ = Format("line %d: %s", line_, why.c_str());
    }

    int64_t Whole(int64_t low, int64_t high, const char* what)
    {
        const std::string_view token = Token(what);
        if (!Ok())
            return 0;
        int64_t v = 0;
        const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v);
        if (ec == std::errc::result_out_of_range && end == token.data() + token.size()) {
            Fail(Format("%s is out of range", what));
            return 0;
        }
        if (ec != std::errc() || end != token.data() + token.size()) {
            Fail(Format("'%s' is not a whole number (%s)", Shown(token).c_str(), what));
            return 0;
        }
        if (!InRange(v, low, high)) {
            Fail(Format("%s %lld is out of range (%lld to %lld)", what, static_cast<long long>(v),
                        static_cast<long long>(low), static_cast<long long>(high)));
            return 0;
        }
        return v;
    }
    int32_t Int(int64_t low, int64_t high, const char* what) { return static_cast<int32_t>(Whole(low, high, what)); }
    int32_t Int(const char* what) { return Int(kInt32Min, kInt32Max, what); }

    bool Flag(const char* what)
    {
        const std::string_view token = Token(what);
        if (!Ok())
            return false;
        if (token != "0" && token != "1")
            Fail(Format("'%s' is not 0 or 1 (%s)", Shown(token).c_str(), what));
        return token == "1";
    }

    template <typename T>
    T Real(const char* what)
    {
        const std::string_view token = Token(what);
        if (!Ok())
            return 0;
        T v = 0;
        const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v, std::chars_format::general);
        if (ec != std::errc() || end != token.data() + token.size() || !std::isfinite(v)) {
            Fail(Format("'%s' is not a usable number (%s)", Shown(token).c_str(), what));
            return 0;
        }
        return v;
    }
    float Single(const char* what) { return Real<float>(what); }
    double Decimal(const char* what) { return Real<double>(what); }
    long double Money(const char* what) { return MoneyFromCode(Whole(kInt64Min, kInt64Max, what)); }
    long double Cost(const char* what) { return CostFromCode(Whole(kInt64Min, kInt64Max, what)); }

    // Leaves the line of the value just read.
    void SkipRestOfLine()
    {
        if (!Ok())
            return;
        const size_t lf = text_.find('\n', pos_);
        if (lf == std::string_view::npos) {
            pos_ = text_.size();
            return;
        }
        pos_ = lf + 1;
        ++line_;
    }

    // The next whole line as a name: at most 99 characters; every '~' after the first character
    // reads as a space.
    std::string Name(const char* what)
    {
        if (!Ok())
            return {};
        if (pos_ >= text_.size()) {
            Fail(Format("the file ends before %s", what));
            return {};
        }
        size_t lf = text_.find('\n', pos_);
        if (lf == std::string_view::npos)
            lf = text_.size();
        std::string_view line = text_.substr(pos_, lf - pos_);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        for (const char c : line)
            if (static_cast<unsigned char>(c) < 0x20) {
                Fail(Format("%s holds a control character", what));
                return {};
            }
        std::string bytes(line.substr(0, kSavedNameLength));
        for (size_t i = 1; i < bytes.size(); ++i)
            if (bytes[i] == '~')
                bytes[i] = ' ';
        pos_ = lf < text_.size() ? lf + 1 : lf;
        ++line_;
        return Cp1252ToUtf8(bytes);
    }

    // Nothing but blanks and line ends is left.
    bool OnlyBlanksLeft() const
    {
        for (size_t i = pos_; i < text_.size(); ++i)
            if (!IsBlank(text_[i]))
                return false;
        return true;
    }
    bool AtEnd() const { return pos_ >= text_.size(); }

private:
    std::string_view Token(const char* what)
    {
        if (!Ok())
            return {};
        while (pos_ < text_.size() && IsBlank(text_[pos_])) {
            if (text_[pos_] == '\n')
                ++line_;
            ++pos_;
        }
        if (pos_ >= text_.size()) {
            Fail(Format("the file ends before %s", what));
            return {};
        }
        const size_t start = pos_;
        while (pos_ < text_.size() && !IsBlank(text_[pos_]))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    // A token as a reason may quote it: short, printable.
    static std::string Shown(std::string_view token)
    {
        std::string shown;
        for (const char c : token.substr(0, 20))
            shown += (c >= 0x20 && c < 0x7f) ? c : '?';
        if (token.size() > 20)
            shown += "...";
        return shown;
    }

    std::string_view text_;
    size_t pos_ = 0;
    int line_ = 1;
    std::string error_;
};

// The saved players' names over the names the game has: both players' names when the file holds
// them, otherwise the moving player's.
void PutSavedNames(GameState& g, const SavegameContent& content)
{
    if (content.HasPlayerNames) {
        g.CompanyName[g.PlayerCompany[0]] = content.PlayerNames[0];
        g.CompanyName[g.PlayerCompany[1]] = content.PlayerNames[1];
    } else {
        g.CompanyName[g.CurrentCompany] = content.PlayerName;
    }
}

std::optional<SavegameContent> Refuse(const LineReader& r, std::string* reason)
{
    if (reason)
        *reason = r.Error();
    return std::nullopt;
}

}  // namespace

std::string SavegameText(const GameState& s)
{
    std::string out;
    out.reserve(40 * 1024);
    LineWriter w(out);
    const int cc = s.CurrentCompany;
    const bool ccValid = InRange(cc, 0, kCompanies - 1);

    w.Whole(s.MonthCount);
    w.Flag(ccValid && s.BrandOffered[cc]);
    w.Whole(cc);
    w.Whole(s.SelectedTown);
    w.Name(NameOf(s, cc));
    // The moving company's accounts in whole dollars; nobody reads them back.
    for (int t = 0; t < kTowns; ++t)
        w.Whole(ccValid ? CutToWhole(s.Account[cc][t]) : 0);
    for (int t = 0; t < kTowns; ++t) {
        w.Single(s.Wages[t]);
        w.Whole(s.Demand[t]);
    }
    for (int c = 0; c < kCompanies; ++c)
        for (int b = 0; b < kBrands; ++b) {
            w.Single(s.Quality[c][b]);
            w.Single(s.CostFactor[c][b]);
        }
    for (int c = 0; c < kCompanies; ++c)
        for (int t = 0; t < kTowns; ++t) {
            w.Flag(s.HasDepot[c][t]);
            w.Money(s.Account[c][t]);
        }
    for (int c = 0; c < kCompanies; ++c)
        for (int t = 0; t < kTowns; ++t)
            for (int b = 0; b < kBrands; ++b) {
                w.Whole(s.Capacity[c][b][t]);
                w.Single(s.Price[c][b][t]);
                w.Whole(s.Supply[c][b][t]);
                w.Cost(s.ProductionCost[c][b][t]);
                w.Whole(s.Sales[c][b][t]);
                w.Whole(s.Stock[c][b][t]);
            }

    w.Whole(kExtensionMarker);
    for (int c = 0; c < kCompanies; ++c)
        w.Flag(s.BrandOffered[c]);
    w.Flag(s.TwoPlayer);
    w.Flag(s.ExpertMode);
    w.Whole(s.MapNumber);
    w.Whole(s.PlayerCompany[0]);
    w.Whole(s.PlayerCompany[1]);
    w.Whole(s.PlayerTown[0]);
    w.Whole(s.PlayerTown[1]);
    w.Flag(s.DelayBuilding);
    w.Flag(s.EventsOn);
    for (int c = 0; c < kCompanies; ++c)
        for (int j = 0; j < kOrderSlots; ++j) {
            const StandingOrderSlot& order = s.StandingOrder[c][j];
            w.Whole(order.Kind);
            w.Whole(order.FromTown);
            w.Whole(order.ToTown);
            w.Whole(order.Amount);
            // The pipeline shares this loop: the slot number stands for the town.
            for (int b = 0; b < kBrands; ++b)
                for (int stage = 0; stage < kStages; ++stage)
                    w.Whole(s.ConstructionPipeline[c][b][j][stage]);
        }
    if (s.TwoPlayer) {
        w.Name(NameOf(s, s.PlayerCompany[0]));
        w.Name(NameOf(s, s.PlayerCompany[1]));
    }
    w.Decimal(s.WinningShare);
    w.Flag(s.ReduceCapacities);
    return out;
}

std::optional<SavegameContent> ParseSavegame(std::string_view text, std::string* reason)
{
    SavegameContent content;
    GameState& g = content.Game;
    LineReader r(text);

    // The month end adds one to the month: the largest value leaves room for that.
    g.MonthCount = r.Int(1, kInt32Max - 1, "the month");
    const bool offered = r.Flag("the new-brand flag");
    g.CurrentCompany = r.Int(0, kCompanies - 1, "the moving company");
    g.SelectedTown = r.Int(0, kTowns - 1, "the selected town");
    r.SkipRestOfLine();
    content.PlayerName = r.Name("the player's name");
    for (int t = 0; t < kTowns; ++t)
        r.Whole(kInt64Min, kInt64Max, "an account in whole dollars");
    for (int t = 0; t < kTowns; ++t) {
        g.Wages[t] = r.Single("the wages");
        g.Demand[t] = r.Int("the demand");
    }
    for (int c = 0; c < kCompanies; ++c)
        for (int b = 0; b < kBrands; ++b) {
            g.Quality[c][b] = r.Single("a quality");
            g.CostFactor[c][b] = r.Single("a cost factor");
        }
    for (int c = 0; c < kCompanies; ++c)
        for (int t = 0; t < kTowns; ++t) {
            g.HasDepot[c][t] = r.Flag("a depot");
            g.Account[c][t] = r.Money("an account");
        }
    for (int c = 0; c < kCompanies; ++c)
        for (int t = 0; t < kTowns; ++t)
            for (int b = 0; b < kBrands; ++b) {
                g.Capacity[c][b][t] = r.Int("a capacity");
                g.Price[c][b][t] = r.Single("a price");
                g.Supply[c][b][t] = r.Int("a supply");
                g.ProductionCost[c][b][t] = r.Cost("a production cost");
                g.Sales[c][b][t] = r.Int("the sales");
                g.Stock[c][b][t] = r.Int("a stock");
            }
    if (!r.Ok())
        return Refuse(r, reason);
    g.BrandOffered[g.CurrentCompany] = offered;

    if (r.OnlyBlanksLeft()) {
        // The older format stops here: one player on map 1, nothing planned or under construction.
        // The winning share and "Reduce capacities" are those of a game without advanced options.
        content.Layout = SavegameLayout::Older;
        g.TwoPlayer = false;
        g.ExpertMode = false;
        g.MapNumber = 1;
        g.PlayerCompany = {g.CurrentCompany, -1};
        g.PlayerTown = {g.SelectedTown, -1};
        for (auto& orders : g.StandingOrder)
            for (auto& order : orders)
                order.Kind = kOrderEmpty;
        g.DelayBuilding = false;
        g.EventsOn = true;
        g.WinningShare = kDefaultWinningShare;
        g.ReduceCapacities = false;
        PutSavedNames(g, content);
        return content;
    }

    const int32_t marker = r.Int("the marker");
    if (r.Ok() && marker != kExtensionMarker)
        r.Fail(Format("%d stands where the marker %d belongs", marker, kExtensionMarker));
    for (int c = 0; c < kCompanies; ++c)
        g.BrandOffered[c] = r.Flag("a new-brand flag");
    g.TwoPlayer = r.Flag("the two-player option");
    g.ExpertMode = r.Flag("the expert option");
    g.MapNumber = r.Int(1, 3, "the map");
    g.PlayerCompany[0] = r.Int(0, kCompanies - 1, "player 1's company");
    g.PlayerCompany[1] = r.Int(-1, kCompanies - 1, "player 2's company");
    g.PlayerTown[0] = r.Int(0, kTowns - 1, "player 1's town");
    g.PlayerTown[1] = r.Int(-1, kTowns - 1, "player 2's town");
    if (r.Ok() && g.TwoPlayer &&
        (g.PlayerCompany[1] < 0 || g.PlayerTown[1] < 0 || g.PlayerCompany[1] == g.PlayerCompany[0]))
        r.Fail("a two-player game without a second player");
    g.DelayBuilding = r.Flag("the building delay option");
    g.EventsOn = r.Flag("the events option");
    for (int c = 0; c < kCompanies; ++c)
        for (int j = 0; j < kOrderSlots; ++j) {
            StandingOrderSlot& order = g.StandingOrder[c][j];
            order.Kind = r.Int(kOrderEmpty, kOrderMoney, "a standing order's kind");
            // The towns of an empty slot are never used, whatever they hold.
            const int64_t low = order.Kind == kOrderEmpty ? kInt32Min : 0;
            const int64_t high = order.Kind == kOrderEmpty ? kInt32Max : kTowns - 1;
            order.FromTown = r.Int(low, high, "a standing order's first town");
            order.ToTown = r.Int(low, high, "a standing order's second town");
            order.Amount = r.Int("a standing order's amount");
            for (int b = 0; b < kBrands; ++b)
                for (int stage = 0; stage < kStages; ++stage)
                    g.ConstructionPipeline[c][b][j][stage] = r.Int("capacity under construction");
        }
    if (!r.Ok())
        return Refuse(r, reason);

    if (g.TwoPlayer) {
        r.SkipRestOfLine();
        if (!r.AtEnd()) {
            content.PlayerNames[0] = r.Name("player 1's name");
            content.PlayerNames[1] = r.Name("player 2's name");
            content.HasPlayerNames = true;
        }
    }
    if (r.OnlyBlanksLeft()) {
        content.Layout = SavegameLayout::WithoutShare;
        g.WinningShare = kDefaultWinningShare;
        g.ReduceCapacities = false;
    } else {
        content.Layout = SavegameLayout::Complete;
        g.WinningShare = r.Decimal("the winning share");
        if (r.Ok() && !(g.WinningShare >= kLowestWinningShare && g.WinningShare <= kHighestWinningShare))
            r.Fail(Format("the winning share %g is out of range (50 to 100)", g.WinningShare));
        g.ReduceCapacities = r.Flag("the reduce-capacities option");
        if (r.Ok() && !r.OnlyBlanksLeft())
            r.Fail("more follows the last value");
    }
    if (!r.Ok())
        return Refuse(r, reason);
    PutSavedNames(g, content);
    return content;
}

void ApplySavegame(GameState& s, const SavegameContent& content)
{
    GameState loaded;
    static_cast<GameData&>(loaded) = content.Game;
    loaded.Program = s.Program;  // the names file lies in the program directory
    SetMapNames(loaded);
    PutSavedNames(loaded, content);
    loaded.GameActive = true;
    // The program around the game is no part of a savegame: only the game data is replaced.
    static_cast<GameData&>(s) = std::move(static_cast<GameData&>(loaded));
}

LoadStatus LoadGameFile(GameState& s, const std::string& path, std::string* reason)
{
    const auto fail = [reason](LoadStatus status, const std::string& why) {
        if (reason)
            *reason = why;
        return status;
    };
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return fail(LoadStatus::CannotOpen, Format("cannot open '%s': %s", path.c_str(), std::strerror(errno)));
    std::string text;
    char buffer[16 * 1024];
    bool tooLarge = false;
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        text.append(buffer, n);
        if (text.size() > kMaxSavegameBytes) {
            tooLarge = true;
            break;
        }
    }
    const bool readError = std::ferror(f) != 0;
    const int readErrno = errno;
    std::fclose(f);
    if (readError)
        return fail(LoadStatus::CannotOpen, Format("cannot read '%s': %s", path.c_str(), std::strerror(readErrno)));
    if (tooLarge)
        return fail(LoadStatus::NotASavegame, Format("'%s' is far larger than any savegame", path.c_str()));

    std::string why;
    const std::optional<SavegameContent> content = ParseSavegame(text, &why);
    if (!content)
        return fail(LoadStatus::NotASavegame, Format("'%s' is not a valid savegame: %s", path.c_str(), why.c_str()));
    ApplySavegame(s, *content);
    return LoadStatus::Loaded;
}

bool OpenGame(GameState& s, const std::string& path, Frontend& frontend)
{
    const LocalText fileError{"File Error", "Dateifehler"};
    switch (LoadGameFile(s, path)) {
        case LoadStatus::CannotOpen:
            frontend.ShowMessage({"Cannot open file!", "Datei kann nicht geöffnet werden"}, fileError,
                                 MessageIcon::Warning);
            return false;
        case LoadStatus::NotASavegame:
            frontend.ShowMessage({"This file is not a valid savegame!", "Diese Datei ist kein gültiger Spielstand"},
                                 fileError, MessageIcon::Warning);
            return false;
        case LoadStatus::Loaded:
            break;
    }
    WriteStatusLine(s, frontend);
    frontend.SetCaption(GameTitle());
    frontend.Redraw();
    return true;
}

bool WriteSavegameFile(const GameState& s, const std::string& path, std::string* reason)
{
    const auto fail = [reason](const std::string& why) {
        if (reason)
            *reason = why;
        return false;
    };
    try {
        const std::string text = SavegameText(s);
        fs::path target = path;
        std::error_code ec;
        // A linked savegame stays linked: the file it points at is replaced.
        if (fs::is_symlink(fs::symlink_status(target, ec))) {
            target = fs::weakly_canonical(target, ec);
            if (ec)
                return fail(Format("cannot follow the link '%s': %s", path.c_str(), ec.message().c_str()));
        }
        fs::path temp = target;
        temp += ".tmp";
        const std::string tempName = temp.string();

        const int fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0)
            return fail(Format("cannot create '%s': %s", tempName.c_str(), std::strerror(errno)));
        // The new file keeps the permissions of the one it replaces.
        struct stat old {};
        if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
            (void)::fchmod(fd, old.st_mode & 07777);

        std::string why;
        size_t done = 0;
        while (done < text.size() && why.empty()) {
            const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                why = Format("cannot write '%s': %s", tempName.c_str(), n < 0 ? std::strerror(errno) : "nothing written");
            else
                done += static_cast<size_t>(n);
        }
        if (why.empty() && ::fsync(fd) != 0)
            why = Format("cannot flush '%s' to disk: %s", tempName.c_str(), std::strerror(errno));
        if (::close(fd) != 0 && why.empty())
            why = Format("cannot close '%s': %s", tempName.c_str(), std::strerror(errno));
        if (why.empty() && std::rename(tempName.c_str(), target.c_str()) != 0)
            why = Format("cannot replace '%s': %s", target.c_str(), std::strerror(errno));
        if (!why.empty()) {
            ::unlink(tempName.c_str());
            return fail(why);
        }
        // Make the new name itself durable; the file is already complete, so this is best effort.
        const fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
        const int dirFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd >= 0) {
            (void)::fsync(dirFd);
            ::close(dirFd);
        }
        return true;
    } catch (const std::exception& e) {
        return fail(Format("cannot save '%s': %s", path.c_str(), e.what()));
    }
}

bool SaveGame(const GameState& s, const std::string& path, Frontend& frontend)
{
    if (!s.GameActive)
        return false;
    if (WriteSavegameFile(s, path))
        return true;
    frontend.ShowMessage({"Cannot save file!", "Datei kann nicht gespeichert werden"}, {"File Error", "Dateifehler"},
                         MessageIcon::Warning);
    return false;
}

bool MayCloseWindow(GameState& s, bool autosaveOnExit, Frontend& frontend, const std::string& autosavePath)
{
    if (!s.GameActive)
        return true;
    // A failed autosave must not lose the game silently: the player is told, then asked.
    if (autosaveOnExit && SaveGame(s, autosavePath, frontend)) {
        s.GameActive = false;
        return true;
    }
    if (frontend.AskYesNo({"Do you really want to leave this game?", "Wollen Sie das Spiel wirklich beenden?"},
                          {"The TAVREK! War", "TAVRIK! - Das Spiel"})) {
        s.GameActive = false;
        return true;
    }
    return false;
}
