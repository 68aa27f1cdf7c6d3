/// @file sim_script.cpp Scripted player actions for tavrek-sim.
#include "tools/tavrek_sim/sim_script.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>

#include "commands/logistics.h"
#include "commands/order_commands.h"
#include "commands/panel_content.h"
#include "commands/town_selection.h"
#include "game/text.h"

namespace {

bool ParseWhole(const std::string& text, int64_t low, int64_t high, int64_t& out)
{
    int64_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || value < low || value > high)
        return false;
    out = value;
    return true;
}

// A field as typed; "-" stands for an empty field.
std::string FieldOf(const std::string& token) { return token == "-" ? std::string() : token; }

// The entry a player would click: the wanted text if the list offers it, else nothing.
std::optional<std::string> Choose(const std::vector<std::string>& list, const std::string& wanted)
{
    if (std::find(list.begin(), list.end(), wanted) != list.end())
        return wanted;
    return std::nullopt;
}

// The first entry that begins with the prefix.
std::optional<std::string> ChooseByStart(const std::vector<std::string>& list, const std::string& prefix)
{
    for (const auto& entry : list)
        if (entry.compare(0, prefix.size(), prefix) == 0)
            return entry;
    return std::nullopt;
}

}  // namespace

bool SimScript::Load(const std::string& path, std::string& error)
{
    actions_.clear();
    done_.clear();
    if (path.empty())
        return true;
    std::ifstream file(path);
    if (!file) {
        error = "cannot read the commands file '" + path + "'";
        return false;
    }
    return Parse(file, path, error);
}

bool SimScript::Parse(std::istream& in, const std::string& name, std::string& error)
{
    using Kind = ScriptAction::Kind;
    std::vector<ScriptAction> actions;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.empty() || w[0][0] == '#')
            continue;
        const auto fail = [&](const std::string& reason) {
            error = name + ":" + std::to_string(number) + ": " + reason;
            return false;
        };
        ScriptAction a;
        a.Line = number;
        for (const auto& word : w)
            a.Text += (a.Text.empty() ? "" : " ") + word;
        int64_t n = 0;
        if (!ParseWhole(w[0], 1, std::numeric_limits<int32_t>::max(), n))
            return fail("the month must be a whole number from 1, not '" + w[0] + "'");
        a.Month = static_cast<int32_t>(n);
        if (w.size() < 2 || !ParseWhole(w[1], 1, 2, n))
            return fail("the player must be 1 or 2");
        a.Player = static_cast<int>(n);
        if (w.size() < 3)
            return fail("an action is missing");
        const std::string& action = w[2];
        const std::vector<std::string> args(w.begin() + 3, w.end());
        const auto expect = [&](size_t count, const char* usage) {
            if (args.size() == count)
                return true;
            error = name + ":" + std::to_string(number) + ": usage: " + usage;
            return false;
        };
        const auto whole = [&](const std::string& text, int64_t low, int64_t high, const char* what, int& out) {
            if (ParseWhole(text, low, high, n)) {
                out = static_cast<int>(n);
                return true;
            }
            error = name + ":" + std::to_string(number) + ": " + what + " must be from " + std::to_string(low) +
                    " to " + std::to_string(high) + ", not '" + text + "'";
            return false;
        };
        const auto yesNo = [&](const std::string& text) {
            if (text == "yes" || text == "no") {
                a.Yes = text == "yes";
                return true;
            }
            error = name + ":" + std::to_string(number) + ": the answer must be yes or no, not '" + text + "'";
            return false;
        };
        bool ok = true;
        if (action == "select") {
            a.What = Kind::Select;
            ok = expect(1, "select TOWN") && whole(args[0], 0, kTowns - 1, "TOWN", a.Town);
        } else if (action == "build-brewery") {
            a.What = Kind::BuildBrewery;
            ok = expect(1, "build-brewery BRAND") && whole(args[0], 0, kBrands - 1, "BRAND", a.Brand);
        } else if (action == "extend") {
            a.What = Kind::Extend;
            ok = expect(2, "extend BRAND COUNT") && whole(args[0], 0, kBrands - 1, "BRAND", a.Brand);
            if (ok)
                a.Fields[0] = FieldOf(args[1]);
        } else if (action == "depot") {
            a.What = Kind::Depot;
            ok = expect(0, "depot");
        } else if (action == "new-brand") {
            a.What = Kind::NewBrand;
            ok = expect(1, "new-brand yes|no") && yesNo(args[0]);
        } else if (action == "prices") {
            a.What = Kind::Prices;
            ok = expect(3, "prices P1 P2 P3");
            if (ok)
                for (int i = 0; i < 3; ++i)
                    a.Fields[i] = FieldOf(args[i]);
        } else if (action == "transport") {
            a.What = Kind::Transport;
            ok = expect(3, "transport BRAND TOWN AMOUNT") && whole(args[0], 0, kBrands - 1, "BRAND", a.Brand) &&
                 whole(args[1], 0, kTowns - 1, "TOWN", a.Town);
            if (ok)
                a.Fields[0] = FieldOf(args[2]);
        } else if (action == "transfer") {
            a.What = Kind::Transfer;
            ok = expect(2, "transfer TOWN AMOUNT") && whole(args[0], 0, kTowns - 1, "TOWN", a.Town);
            if (ok)
                a.Fields[0] = FieldOf(args[1]);
        } else if (action == "order") {
            a.What = Kind::Order;
            ok = expect(4, "order BRAND|money FROM TO AMOUNT") &&
                 (args[0] == "money" || whole(args[0], 0, kBrands - 1, "BRAND", a.Brand)) &&
                 whole(args[1], 0, kTowns - 1, "FROM", a.FromTown) && whole(args[2], 0, kTowns - 1, "TO", a.Town);
            if (ok)
                a.Fields[0] = FieldOf(args[3]);
        } else if (action == "delete-order") {
            a.What = Kind::DeleteOrder;
            ok = expect(2, "delete-order NUMBER yes|no") && whole(args[0], 1, kOrderSlots, "NUMBER", a.Number) &&
                 yesNo(args[1]);
        } else {
            return fail("unknown action '" + action + "'");
        }
        if (!ok)
            return false;
        actions.push_back(std::move(a));
    }
    if (in.bad()) {
        error = "cannot read the commands file '" + name + "'";
        return false;
    }
    actions_ = std::move(actions);
    done_.assign(actions_.size(), false);
    return true;
}

void ScriptAnswers::ShowMessage(const LocalText& text, const LocalText& caption, MessageIcon icon)
{
    inner_.ShowMessage(text, caption, icon);
}

bool ScriptAnswers::AskYesNo(const LocalText& text, const LocalText& caption)
{
    const bool innerAnswer = inner_.AskYesNo(text, caption);
    if (!answer_)
        return innerAnswer;
    const bool answer = *answer_;
    answer_.reset();
    std::printf("answer: %s\n", answer ? "yes" : "no");
    return answer;
}

void SimScript::RunTurn(GameSession& session, ScriptAnswers& answers)
{
    const GameState& s = session.State();
    const int player = s.CurrentCompany == s.PlayerCompany[0] ? 1 : s.CurrentCompany == s.PlayerCompany[1] ? 2 : 0;
    for (size_t i = 0; i < actions_.size(); ++i) {
        const ScriptAction& a = actions_[i];
        if (done_[i] || a.Month != s.MonthCount || a.Player != player)
            continue;
        done_[i] = true;
        std::printf("> %s\n", a.Text.c_str());
        Run(a, session, answers);
    }
}

void SimScript::Run(const ScriptAction& a, GameSession& session, ScriptAnswers& answers)
{
    using Kind = ScriptAction::Kind;
    const GameState& s = session.State();
    if (a.What == Kind::Select) {
        // A left click in the middle of the town's rectangle.
        const int map = s.MapNumber >= 1 && s.MapNumber <= kMaps ? s.MapNumber : 1;
        const TownRect& r = kTownHitRects[map - 1][a.Town];
        session.ClickMap(MouseButton::Left, false, (r.XFrom + r.XTo) / 2, (r.YFrom + r.YTo) / 2);
        return;
    }
    // The command's one question gets the script's answer; an answer it never asked for is
    // not left over for the next one.
    const bool asks = a.What == Kind::NewBrand || a.What == Kind::DeleteOrder;
    answers.AnswerNext(asks ? std::optional<bool>(a.Yes) : std::nullopt);
    static constexpr int32_t kModeOf[] = {0,
                                          kModeBuildBrewery,
                                          kModeExtendBrewery,
                                          kModeBuildDepot,
                                          kModeNewBrand,
                                          kModeChangePrices,
                                          kModeTransportBeer,
                                          kModeTransferMoney,
                                          kModeNewOrder,
                                          kModeDeleteOrder};
    const int32_t mode = kModeOf[static_cast<int>(a.What)];
    // The command button or menu entry, then the panel as the player sees it.
    session.EnterMode(mode);
    const PanelContent panel = ComputePanelContent(s, mode);
    const int c = s.CurrentCompany;
    const int t = s.SelectedTown;
    PanelInputs in;
    in.Edit1 = panel.Edit1;
    in.Edit2 = panel.Edit2;
    in.Edit3 = panel.Edit3;
    in.Edit4 = panel.Edit4;
    in.Edit5 = panel.Edit5;
    switch (a.What) {
    case Kind::BuildBrewery:
        in.ListBox1 = Choose(panel.ListBox1, s.BrandName[c][a.Brand]);
        break;
    case Kind::Extend:
        in.ListBox1 = Choose(panel.ListBox1, s.BrandName[c][a.Brand]);
        in.Edit1 = a.Fields[0];
        break;
    case Kind::Prices:
        in.Edit2 = a.Fields[0];
        in.Edit3 = a.Fields[1];
        in.Edit4 = a.Fields[2];
        break;
    case Kind::Transport:
        in.ListBox3 = ChooseByStart(panel.ListBox3, Format("%d. ", a.Brand + 1));
        in.ListBox4 = Choose(panel.ListBox4, TransportDestinationEntry(s, t, a.Town));
        in.Edit5 = a.Fields[0];
        break;
    case Kind::Transfer:
        in.ListBox4 = Choose(panel.ListBox4, s.TownName[a.Town]);
        in.Edit5 = a.Fields[0];
        break;
    case Kind::Order:
        in.ListBox6 =
            Choose(panel.ListBox6, a.Brand < 0 ? std::string(kOrderMoneyEntry) : OrderBeerEntry(s, c, a.Brand));
        in.ListBox5 = Choose(panel.ListBox5, s.TownName[a.FromTown]);
        in.ListBox4 = Choose(panel.ListBox4, s.TownName[a.Town]);
        in.Edit5 = a.Fields[0];
        break;
    case Kind::DeleteOrder:
        in.ListBox2 = ChooseByStart(panel.ListBox2, Format("%d.:", a.Number));
        break;
    default:
        break;
    }
    session.PressOk(in);
    // A refusal that keeps the panel open: the player gives up with Cancel.
    if (session.Panel().CommandMode != kModeIdle)
        session.PressCancel();
    answers.AnswerNext(std::nullopt);
}
