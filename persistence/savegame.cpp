/// @file savegame.cpp Writing and reading savegames, loading them safely and saving them safely.
#include "persistence/savegame.h"

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "game/names_file.h"
#include "game/status_line.h"
#include "game/text.h"
#include "platform/cp1252.h"
#include "platform/files.h"

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

int64_t MoneyCode(long double v)
{
    if (std::isnan(v))
        v = 0.0L;
    return CutToInt64((v + kMoneyOffset) * kMoneyScale);
}

long double MoneyFromCode(int64_t n) { return static_cast<long double>(n) * (1.0L / kMoneyScale) - kMoneyOffset; }

int64_t CostCode(long double v) { return CutToInt64(v * kCostScale); }

long double CostFromCode(int64_t n) { return static_cast<long double>(n) * 0.1L; }

bool InRange(int64_t v, int64_t low, int64_t high) { return v >= low && v <= high; }

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

// What the reader accepts of each field: the values the rules can live with, and every value
// the game itself can reach. The writer holds each value within the same range, so whatever the
// game writes, it can read back.
struct WholeRange {
    int64_t Low;
    int64_t High;
};
struct RealRange {
    double Low;
    double High;
    bool OrZero;  ///< 0 is accepted besides [Low, High]
};

constexpr WholeRange kAnyWhole{kInt32Min, kInt32Max};
// The month end stops counting at the largest value instead of wrapping.
constexpr WholeRange kMonthRange{1, kInt32Max};
constexpr WholeRange kCompanyRange{0, kCompanies - 1};
constexpr WholeRange kTownRange{0, kTowns - 1};
constexpr WholeRange kSecondCompanyRange{-1, kCompanies - 1};  // -1: no second player
constexpr WholeRange kSecondTownRange{-1, kTowns - 1};
constexpr WholeRange kMapRange{1, 3};
constexpr WholeRange kOrderKindRange{kOrderEmpty, kOrderMoney};
// Demand never changes during a game; the maps' towns want at most a few ten thousand litres.
// A negative demand would sell negative litres.
constexpr WholeRange kDemandRange{0, 10000000};
// Capacities only grow by building and shrink no lower than 0; the pipeline holds what is built.
constexpr WholeRange kCapacityRange{0, kInt32Max};
// A standing order's amount is typed as more than 0; an empty slot's fields are never used.
constexpr WholeRange kOrderAmountRange{0, kInt32Max};
// Wage levels drift by at most two cents a month; in a single that drift stops near 524288,
// because two cents are less than half a step there.
constexpr RealRange kWageRange{-1e6, 1e6, false};
// A brand's quality is at least 0.5 and at most a wage level plus 0.15; 0 marks an empty slot.
constexpr RealRange kQualityRange{0.5, 2e6, true};
// Cost factors and prices follow the wage levels and the players' input; the rules hold them
// within the single limit.
constexpr RealRange kSingleRange{-kSingleLimit, kSingleLimit, false};
constexpr RealRange kShareRange{kLowestWinningShare, kHighestWinningShare, false};

int64_t HeldWithin(int64_t v, WholeRange r) { return v < r.Low ? r.Low : v > r.High ? r.High : v; }

double HeldWithin(double v, RealRange r)
{
    if (std::isnan(v))
        return r.OrZero ? 0.0 : std::max(r.Low, std::min(r.High, 0.0));
    if (r.OrZero && v == 0.0)
        return v;
    return v < r.Low ? r.Low : v > r.High ? r.High : v;
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

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

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

    int64_t Whole(WholeRange range, const char* what)
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
        if (!InRange(v, range.Low, range.High)) {
            Fail(Format("%s %lld is out of range (%lld to %lld)", what, static_cast<long long>(v),
                        static_cast<long long>(range.Low), static_cast<long long>(range.High)));
            return 0;
        }
        return v;
    }

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
    T Real(RealRange range, const char* what)
    {
        const std::string_view token = Token(what);
        if (!Ok())
            return 0;
        T v = 0;
        const auto [end, ec] =
            std::from_chars(token.data(), token.data() + token.size(), v, std::chars_format::general);
        if (ec != std::errc() || end != token.data() + token.size() || !std::isfinite(v)) {
            Fail(Format("'%s' is not a usable number (%s)", Shown(token).c_str(), what));
            return 0;
        }
        const double d = static_cast<double>(v);
        if (!(range.OrZero && d == 0.0) && !(d >= range.Low && d <= range.High)) {
            Fail(Format("%s %g is out of range (%s%g to %g)", what, d, range.OrZero ? "0 or " : "", range.Low,
                        range.High));
            return 0;
        }
        return v;
    }

    // Leaves the line of the value just read.
    void SkipRestOfLine()
    {
        pendingLine_ = false;
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

    // The next whole line as a name (after the rest of the line of a number just read): at most
    // 99 characters; every '~' after the first character reads as a space.
    std::string Name(const char* what)
    {
        if (pendingLine_)
            SkipRestOfLine();
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
        pendingLine_ = true;
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
    bool pendingLine_ = false;  ///< a number was read and the rest of its line is still ahead
    std::string error_;
};

// The two ends of the layout below: one writes each value in its encoding, held within its
// range; the other reads it back and refuses what lies outside. Both take the same calls.
class LayoutWriter {
public:
    static constexpr bool kReading = false;
    explicit LayoutWriter(std::string& out) : w_(out) {}

    void Int(const int32_t& v, WholeRange range, const char*) { w_.Whole(HeldWithin(v, range)); }
    void Unused(int64_t v, const char*) { w_.Whole(v); }
    void Flag(const bool& v, const char*) { w_.Flag(v); }
    // A single widened to double; never infinite or not a number.
    void Single(const float& v, RealRange range, const char*) { w_.Decimal(HeldWithin(static_cast<double>(v), range)); }
    void Decimal(const double& v, RealRange range, const char*) { w_.Decimal(HeldWithin(v, range)); }
    void Money(const long double& v, const char*) { w_.Money(v); }
    void Cost(const long double& v, const char*) { w_.Cost(v); }
    void Name(const std::string& v, const char*) { w_.Name(v); }
    void Marker() { w_.Whole(kExtensionMarker); }

private:
    LineWriter w_;
};

class LayoutReader {
public:
    static constexpr bool kReading = true;
    explicit LayoutReader(std::string_view text) : r(text) {}

    void Int(int32_t& v, WholeRange range, const char* what) { v = static_cast<int32_t>(r.Whole(range, what)); }
    void Unused(int64_t, const char* what) { r.Whole({kInt64Min, kInt64Max}, what); }
    void Flag(bool& v, const char* what) { v = r.Flag(what); }
    void Single(float& v, RealRange range, const char* what) { v = r.Real<float>(range, what); }
    void Decimal(double& v, RealRange range, const char* what) { v = r.Real<double>(range, what); }
    void Money(long double& v, const char* what) { v = MoneyFromCode(r.Whole({kInt64Min, kInt64Max}, what)); }
    void Cost(long double& v, const char* what) { v = CostFromCode(r.Whole({kInt64Min, kInt64Max}, what)); }
    void Name(std::string& v, const char* what) { v = r.Name(what); }
    void Marker()
    {
        const int64_t marker = r.Whole(kAnyWhole, "the marker");
        if (r.Ok() && marker != kExtensionMarker)
            r.Fail(Format("%lld stands where the marker %d belongs", static_cast<long long>(marker), kExtensionMarker));
    }

    LineReader r;
};

// The savegame layout, walked in file order by the writer (G = const GameData) and the reader.
// Blocks 1 to 10: every savegame has them. `playerName` is block 5, the moving player's name.
template <class Io, class G>
void OriginalBlocks(Io& io, G& g, std::string& playerName)
{
    const auto moving = [&g] { return InRange(g.CurrentCompany, 0, kCompanies - 1) ? g.CurrentCompany : -1; };
    io.Int(g.MonthCount, kMonthRange, "the month");
    // The flag belongs to the company the next line names.
    bool offered = moving() >= 0 && g.BrandOffered[moving()];
    io.Flag(offered, "the new-brand flag");
    io.Int(g.CurrentCompany, kCompanyRange, "the moving company");
    if constexpr (Io::kReading)
        g.BrandOffered[moving() >= 0 ? moving() : 0] = offered;
    io.Int(g.SelectedTown, kTownRange, "the selected town");
    io.Name(playerName, "the player's name");
    // The moving company's accounts in whole dollars; nobody reads them back.
    for (int t = 0; t < kTowns; ++t)
        io.Unused(moving() >= 0 ? CutToInt64(g.Account[moving()][t]) : 0, "an account in whole dollars");
    for (int t = 0; t < kTowns; ++t) {
        io.Single(g.Wages[t], kWageRange, "the wages");
        io.Int(g.Demand[t], kDemandRange, "the demand");
    }
    for (int c = 0; c < kCompanies; ++c)
        for (int b = 0; b < kBrands; ++b) {
            io.Single(g.Quality[c][b], kQualityRange, "a quality");
            io.Single(g.CostFactor[c][b], kSingleRange, "a cost factor");
        }
    for (int c = 0; c < kCompanies; ++c)
        for (int t = 0; t < kTowns; ++t) {
            io.Flag(g.HasDepot[c][t], "a depot");
            io.Money(g.Account[c][t], "an account");
        }
    for (int c = 0; c < kCompanies; ++c)
        for (int t = 0; t < kTowns; ++t)
            for (int b = 0; b < kBrands; ++b) {
                io.Int(g.Capacity[c][b][t], kCapacityRange, "a capacity");
                io.Single(g.Price[c][b][t], kSingleRange, "a price");
                io.Int(g.Supply[c][b][t], kAnyWhole, "a supply");
                io.Cost(g.ProductionCost[c][b][t], "a production cost");
                io.Int(g.Sales[c][b][t], kAnyWhole, "the sales");
                io.Int(g.Stock[c][b][t], kAnyWhole, "a stock");
            }
}

// Blocks 12 to 14, after the marker: the options, the players and the standing orders with the
// construction pipeline.
template <class Io, class G>
void ExtensionBlocks(Io& io, G& g)
{
    for (int c = 0; c < kCompanies; ++c)
        io.Flag(g.BrandOffered[c], "a new-brand flag");
    io.Flag(g.TwoPlayer, "the two-player option");
    io.Flag(g.ExpertMode, "the expert option");
    io.Int(g.MapNumber, kMapRange, "the map");
    io.Int(g.PlayerCompany[0], kCompanyRange, "player 1's company");
    io.Int(g.PlayerCompany[1], kSecondCompanyRange, "player 2's company");
    io.Int(g.PlayerTown[0], kTownRange, "player 1's town");
    io.Int(g.PlayerTown[1], kSecondTownRange, "player 2's town");
    io.Flag(g.DelayBuilding, "the building delay option");
    io.Flag(g.EventsOn, "the events option");
    for (int c = 0; c < kCompanies; ++c)
        for (int j = 0; j < kOrderSlots; ++j) {
            auto& order = g.StandingOrder[c][j];
            io.Int(order.Kind, kOrderKindRange, "a standing order's kind");
            // The towns and amount of an empty slot are never used, whatever they hold.
            const bool empty = order.Kind == kOrderEmpty;
            io.Int(order.FromTown, empty ? kAnyWhole : kTownRange, "a standing order's first town");
            io.Int(order.ToTown, empty ? kAnyWhole : kTownRange, "a standing order's second town");
            io.Int(order.Amount, empty ? kAnyWhole : kOrderAmountRange, "a standing order's amount");
            // The pipeline shares this loop: the slot number stands for the town.
            for (int b = 0; b < kBrands; ++b)
                for (int stage = 0; stage < kStages; ++stage)
                    io.Int(g.ConstructionPipeline[c][b][j][stage], kCapacityRange, "capacity under construction");
        }
}

// Block 15, only in a two-player game: both players' names.
template <class Io>
void PlayerNamesBlock(Io& io, std::array<std::string, 2>& names)
{
    io.Name(names[0], "player 1's name");
    io.Name(names[1], "player 2's name");
}

// Block 16: the advanced options.
template <class Io, class G>
void ClosingBlock(Io& io, G& g)
{
    io.Decimal(g.WinningShare, kShareRange, "the winning share");
    io.Flag(g.ReduceCapacities, "the reduce-capacities option");
}

// The saved players' names over the names the game has: both players' names when the file holds
// them, otherwise the moving player's.
void PutSavedNames(GameData& g, const SavegameContent& content)
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

void ShowCannotSave(Frontend& frontend)
{
    frontend.ShowMessage({"Cannot save file!", "Datei kann nicht gespeichert werden"}, FileErrorCaption(),
                         MessageIcon::Warning);
}

// The player's reason for an error number met while opening the savegame (`onFile`) or making a
// new file in its folder.
SaveProblem ProblemOf(int error, bool onFile)
{
    switch (error) {
    case EROFS:
        return SaveProblem::ReadOnlyDisk;
    case EACCES:
        return onFile ? SaveProblem::FileWriteProtected : SaveProblem::FolderWriteProtected;
    case EPERM:
        return onFile ? SaveProblem::FileLocked : SaveProblem::FolderWriteProtected;
    case ENOENT:
    case ENOTDIR:
        return SaveProblem::NoFolder;
    case ENOSPC:
    case EDQUOT:
        return SaveProblem::DiskFull;
    case ENXIO:
    case ENODEV:
    case EISDIR:
        return SaveProblem::NotAFile;
    default:
        return SaveProblem::Other;
    }
}

}  // namespace

LocalText CannotOpenForSavingText(const std::string& path, SaveProblem problem)
{
    LocalText why;
    switch (problem) {
    case SaveProblem::NoFolder:
        why = {"its folder does not exist", "Der Ordner existiert nicht"};
        break;
    case SaveProblem::NotAFile:
        why = {"it is not a plain file", "Es ist keine gewöhnliche Datei"};
        break;
    case SaveProblem::FileWriteProtected:
        why = {"the file is write-protected", "Die Datei ist schreibgeschützt"};
        break;
    case SaveProblem::FileLocked:
        why = {"the file is locked against changes", "Die Datei ist gegen Änderungen gesperrt"};
        break;
    case SaveProblem::FolderWriteProtected:
        why = {"the folder is write-protected", "Der Ordner ist schreibgeschützt"};
        break;
    case SaveProblem::ReadOnlyDisk:
        why = {"the drive is read-only", "Das Laufwerk ist schreibgeschützt"};
        break;
    case SaveProblem::DiskFull:
        why = {"the disk is full", "Der Datenträger ist voll"};
        break;
    case SaveProblem::None:
    case SaveProblem::NoFileName:
    case SaveProblem::Other:
        why = {"it cannot be opened for writing", "Die Datei lässt sich nicht zum Schreiben öffnen"};
        break;
    }
    // One line, whatever the file's name holds.
    std::string name = path;
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return {Format("Cannot save \"%s\": %s.", name.c_str(), why.English.c_str()),
            Format("„%s“ kann nicht gespeichert werden: %s.", name.c_str(), why.German.c_str())};
}

std::string SavegameText(const GameState& s)
{
    std::string out;
    out.reserve(40 * 1024);
    LayoutWriter w(out);
    const GameData& g = s;
    std::string playerName = NameOf(s, s.CurrentCompany);
    OriginalBlocks(w, g, playerName);
    w.Marker();
    ExtensionBlocks(w, g);
    if (s.TwoPlayer) {
        std::array<std::string, 2> names{NameOf(s, s.PlayerCompany[0]), NameOf(s, s.PlayerCompany[1])};
        PlayerNamesBlock(w, names);
    }
    ClosingBlock(w, g);
    return out;
}

std::optional<SavegameContent> ParseSavegame(std::string_view text, std::string* reason)
{
    SavegameContent content;
    GameData& g = content.Game;
    LayoutReader io(text);
    LineReader& r = io.r;

    OriginalBlocks(io, g, content.PlayerName);
    if (!r.Ok())
        return Refuse(r, reason);

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
        PutSavedNames(content.Game, content);
        return content;
    }

    io.Marker();
    ExtensionBlocks(io, g);
    if (r.Ok() && g.TwoPlayer &&
        (g.PlayerCompany[1] < 0 || g.PlayerTown[1] < 0 || g.PlayerCompany[1] == g.PlayerCompany[0]))
        r.Fail("a two-player game without a second player");
    // The company that moves is a human's: otherwise the player would steer a computer company
    // while the own one stood still. (After a liquidation the other player moves alone.)
    if (r.Ok() && g.CurrentCompany != g.PlayerCompany[0] && g.CurrentCompany != g.PlayerCompany[1])
        r.Fail(Format("the moving company (line 3) is %d, which no player plays", g.CurrentCompany));
    if (!r.Ok())
        return Refuse(r, reason);

    if (g.TwoPlayer) {
        r.SkipRestOfLine();
        if (!r.AtEnd()) {
            PlayerNamesBlock(io, content.PlayerNames);
            content.HasPlayerNames = true;
            // Block 5 holds the moving player's name once more. Where they differ, the names are
            // missing and the last values were taken for them (the winning share as a name).
            const int moving = g.CurrentCompany == g.PlayerCompany[0] ? 0 : 1;
            if (r.Ok() && content.PlayerNames[moving] != content.PlayerName)
                r.Fail("the players' names do not agree with the moving player's name: they are missing");
        }
    }
    if (r.OnlyBlanksLeft()) {
        content.Layout = SavegameLayout::WithoutShare;
        g.WinningShare = kDefaultWinningShare;
        g.ReduceCapacities = false;
    } else {
        content.Layout = SavegameLayout::Complete;
        ClosingBlock(io, g);
        if (r.Ok() && !r.OnlyBlanksLeft())
            r.Fail("more follows the last value");
    }
    if (!r.Ok())
        return Refuse(r, reason);
    PutSavedNames(content.Game, content);
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

LoadStatus ReadSavegameFile(const std::string& path, std::string& text, std::string* reason)
{
    const auto fail = [reason](LoadStatus status, const std::string& why) {
        if (reason)
            *reason = why;
        return status;
    };
    // A pipe or a device is no savegame, and opening one could wait forever for a writer.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return fail(LoadStatus::CannotOpen, Format("cannot open '%s': %s", path.c_str(), std::strerror(errno)));
    if (!S_ISREG(info.st_mode))
        return fail(LoadStatus::CannotOpen, Format("cannot open '%s': not a regular file", path.c_str()));
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fail(LoadStatus::CannotOpen, Format("cannot open '%s': %s", path.c_str(), std::strerror(errno)));
    // The name may have changed hands since the look above.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(LoadStatus::CannotOpen, Format("cannot open '%s': not a regular file", path.c_str()));
    }
    text.clear();
    char buffer[16 * 1024];
    bool tooLarge = false;
    int readErrno = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            readErrno = errno;
            break;
        }
        if (n == 0)
            break;
        text.append(buffer, static_cast<size_t>(n));
        if (text.size() > kMaxSavegameBytes) {
            tooLarge = true;
            break;
        }
    }
    ::close(fd);
    if (readErrno != 0)
        return fail(LoadStatus::CannotOpen, Format("cannot read '%s': %s", path.c_str(), std::strerror(readErrno)));
    if (tooLarge)
        return fail(LoadStatus::NotASavegame, Format("'%s' is far larger than any savegame", path.c_str()));

    return LoadStatus::Loaded;
}

std::optional<SavegameContent> ParseSavegameOf(const std::string& path, std::string_view text, std::string* reason)
{
    std::string why;
    std::optional<SavegameContent> content = ParseSavegame(text, &why);
    if (!content && reason)
        *reason = Format("'%s' is not a valid savegame: %s", path.c_str(), why.c_str());
    return content;
}

LoadStatus LoadGameFile(GameState& s, const std::string& path, std::string* reason)
{
    std::string text;
    const LoadStatus status = ReadSavegameFile(path, text, reason);
    if (status != LoadStatus::Loaded)
        return status;
    const std::optional<SavegameContent> content = ParseSavegameOf(path, text, reason);
    if (!content)
        return LoadStatus::NotASavegame;
    ApplySavegame(s, *content);
    return LoadStatus::Loaded;
}

bool ShowOpened(GameState& s, LoadStatus status, Frontend& frontend)
{
    const LocalText fileError = FileErrorCaption();
    switch (status) {
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

bool OpenGame(GameState& s, const std::string& path, Frontend& frontend)
{
    return ShowOpened(s, LoadGameFile(s, path), frontend);
}

SaveResult WriteSavegameFile(const GameState& s, const std::string& path, std::string* reason)
{
    try {
        if (path.empty()) {
            if (reason)
                *reason = "no file name";
            return SaveResult{SaveStatus::CannotOpen, SaveProblem::NoFileName};
        }
        return WriteFileSafely(path, SavegameText(s), reason);
    } catch (const std::exception& e) {
        if (reason)
            *reason = Format("cannot save '%s': %s", path.c_str(), e.what());
        return SaveResult{SaveStatus::WriteFailed};
    }
}

SaveResult StageFile(const std::string& path, std::string bytes, StagedFile& out, std::string* reason)
{
    const auto fail = [reason](SaveStatus status, const std::string& why, SaveProblem problem = SaveProblem::None) {
        if (reason)
            *reason = why;
        return SaveResult{status, problem};
    };
    out = StagedFile{};
    try {
        if (path.empty())
            return fail(SaveStatus::CannotOpen, "no file name", SaveProblem::NoFileName);
        std::string why;
        // A linked savegame stays linked, a dangling link included: the file it names is written.
        const std::optional<std::string> followed = platform::FollowLinks(path, why);
        if (!followed)
            return fail(SaveStatus::CannotOpen, why, SaveProblem::Other);
        const fs::path target = *followed;

        // Only a plain file is replaced, and only one that could be written in place: a pipe or a
        // device stays what it is, and a write-protected savegame stays protected.
        struct stat old {};
        const bool exists = ::stat(target.c_str(), &old) == 0;
        if (!exists && errno != ENOENT) {
            const int error = errno;
            return fail(SaveStatus::CannotOpen, Format("cannot open '%s': %s", target.c_str(), std::strerror(error)),
                        ProblemOf(error, false));
        }
        if (exists) {
            if (!S_ISREG(old.st_mode))
                return fail(SaveStatus::CannotOpen, Format("cannot open '%s': not a regular file", target.c_str()),
                            SaveProblem::NotAFile);
            const int probe = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
            if (probe < 0) {
                const int error = errno;
                return fail(SaveStatus::CannotOpen,
                            Format("cannot open '%s' for writing: %s", target.c_str(), std::strerror(error)),
                            ProblemOf(error, true));
            }
            ::close(probe);
        }

        // A new file of our own beside the target, never one that is already there.
        std::string tempName;
        const int fd = platform::CreateUniqueBeside(target.string(), tempName, why);
        if (fd < 0 && exists) {
            // The folder takes no new file, but the file itself may be written: in place, later.
            out.Target = target.string();
            out.Bytes = std::move(bytes);
            return SaveResult{SaveStatus::Saved};
        }
        if (fd < 0)
            return fail(SaveStatus::CannotOpen, why, ProblemOf(errno, false));
        // The new file keeps the permissions of the one it replaces.
        if (exists)
            (void)::fchmod(fd, old.st_mode & 07777);

        size_t done = 0;
        while (done < bytes.size() && why.empty()) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                why =
                    Format("cannot write '%s': %s", tempName.c_str(), n < 0 ? std::strerror(errno) : "nothing written");
            else
                done += static_cast<size_t>(n);
        }
        if (why.empty() && ::fsync(fd) != 0)
            why = Format("cannot flush '%s' to disk: %s", tempName.c_str(), std::strerror(errno));
        if (::close(fd) != 0 && why.empty())
            why = Format("cannot close '%s': %s", tempName.c_str(), std::strerror(errno));
        if (!why.empty()) {
            ::unlink(tempName.c_str());
            return fail(SaveStatus::WriteFailed, why);
        }
        out.Target = target.string();
        out.Scratch = tempName;
        return SaveResult{SaveStatus::Saved};
    } catch (const std::exception& e) {
        return fail(SaveStatus::WriteFailed, Format("cannot save '%s': %s", path.c_str(), e.what()));
    }
}

SaveResult CommitFile(StagedFile& file, std::string* reason)
{
    std::string why;
    if (file.Scratch.empty()) {
        if (!platform::RewriteInPlace(file.Target, file.Bytes, why)) {
            if (reason)
                *reason = why;
            return SaveResult{SaveStatus::WriteFailed};
        }
        file = StagedFile{};
        return SaveResult{SaveStatus::Saved};
    }
    if (std::rename(file.Scratch.c_str(), file.Target.c_str()) != 0) {
        const int error = errno;
        if (reason)
            *reason = Format("cannot replace '%s': %s", file.Target.c_str(), std::strerror(error));
        DiscardFile(file);
        return SaveResult{SaveStatus::WriteFailed};
    }
    // Make the new name itself durable; the file is already complete, so this is best effort.
    SyncFolderOf(file.Target);
    file = StagedFile{};
    return SaveResult{SaveStatus::Saved};
}

void DiscardFile(StagedFile& file)
{
    if (!file.Scratch.empty())
        ::unlink(file.Scratch.c_str());
    file = StagedFile{};
}

void SyncFolderOf(const std::string& path)
{
    const fs::path file = path;
    const fs::path directory = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const int dirFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
}

SaveResult WriteFileSafely(const std::string& path, const std::string& text, std::string* reason)
{
    StagedFile staged;
    const SaveResult result = StageFile(path, text, staged, reason);
    if (!result)
        return result;
    return CommitFile(staged, reason);
}

SaveResult SaveGame(const GameState& s, const std::string& path, Frontend& frontend)
{
    if (!s.GameActive)
        return SaveResult{SaveStatus::NoGame};
    const SaveResult result = WriteSavegameFile(s, path);
    ShowSaveResult(path, result, frontend);
    return result;
}

void ShowSaveResult(const std::string& path, const SaveResult& result, Frontend& frontend)
{
    // A file that cannot be opened leads to the save dialog, which the window shows after this
    // line says why; a write that failed after that is reported here.
    if (result.Status == SaveStatus::CannotOpen && result.Problem != SaveProblem::NoFileName)
        frontend.ShowMessage(CannotOpenForSavingText(path, result.Problem), FileErrorCaption(), MessageIcon::Warning);
    if (result.Status == SaveStatus::WriteFailed)
        ShowCannotSave(frontend);
}
