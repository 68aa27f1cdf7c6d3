/// @file replay.cpp Playing a recorded game again and finding where it parts from its record.
#include "commands/replay.h"

#include "commands/command.h"
#include "commands/history_views.h"
#include "game/text.h"

namespace {

std::string Figure(double v) { return Format("%.2f", v); }
std::string Figure(int64_t v) { return Format("%lld", static_cast<long long>(v)); }

template <typename T>
std::string Differs(const std::string& what, T recorded, T replayed)
{
    return what + ": recorded " + Figure(recorded) + ", replayed " + Figure(replayed);
}

}  // namespace

std::string FirstDifference(const MonthRecord& recorded, const MonthRecord& replayed)
{
    if (recorded.TotalDemand != replayed.TotalDemand)
        return Differs("the towns' demand", recorded.TotalDemand, replayed.TotalDemand);
    struct MoneyFigure {
        const char* Name;
        double CompanyMonth::*Field;
    };
    static constexpr MoneyFigure kMoney[] = {
        {"money before the market", &CompanyMonth::MoneyBefore},
        {"revenue", &CompanyMonth::Revenue},
        {"production costs", &CompanyMonth::Production},
        {"transport costs", &CompanyMonth::Transport},
        {"interest", &CompanyMonth::Interest},
        {"money", &CompanyMonth::Money},
        {"company value", &CompanyMonth::Value},
    };
    for (int c = 0; c < kHistoryCompanies; ++c) {
        const CompanyMonth& a = recorded.Companies[c];
        const CompanyMonth& b = replayed.Companies[c];
        const std::string company = Format("company %d's ", c + 1);
        if (a.Supply != b.Supply)
            return Differs(company + "litres offered", a.Supply, b.Supply);
        if (a.Sales != b.Sales)
            return Differs(company + "litres sold", a.Sales, b.Sales);
        for (const MoneyFigure& f : kMoney)
            if (a.*f.Field != b.*f.Field)
                return Differs(company + f.Name, a.*f.Field, b.*f.Field);
    }
    return {};
}

std::string WhyNotReplayable(const GameHistory& record, int32_t version)
{
    if (version < 3)
        return Format(
            "the record was written by an older version of the game (format %d) and holds no inputs "
            "to play again",
            version);
    if (record.Inputs.Start.Kind == StartKind::Unknown)
        return "the record does not say how the game began";
    if (!record.Inputs.Broken.empty())
        return "the record's inputs cannot play the game again: " + record.Inputs.Broken;
    return {};
}

ReplayResult ReplayRecord(GameSession& session, const GameHistory& record)
{
    ReplayResult result;
    const auto fail = [&](std::string why) {
        result.Reason = std::move(why);
        return result;
    };
    if (!session.BeginRecorded(record.Inputs.Start, &result.Reason))
        return result;
    const GameHistory& replayed = session.History();
    std::size_t checked = replayed.Months.size();
    // Every month the game has closed since the last look, against the record's own.
    const auto checkMonths = [&]() -> bool {
        for (; checked < replayed.Months.size(); ++checked) {
            const MonthRecord& now = replayed.Months[checked];
            const MonthRecord* then = record.FindMonth(now.Month);
            if (!then || then->Digest == 0)
                continue;
            if (then->Digest == now.Digest) {
                ++result.Months;
                continue;
            }
            std::string difference = FirstDifference(*then, now);
            if (difference.empty())
                difference =
                    Format("the game's digest: recorded %016llx, replayed %016llx",
                           static_cast<unsigned long long>(then->Digest), static_cast<unsigned long long>(now.Digest));
            result.Reason =
                Format("month %d (%s) differs: ", now.Month, RecordMonthName(now.Month, Language::English).c_str()) +
                difference;
            return false;
        }
        return true;
    };
    const GameInputs& inputs = record.Inputs;
    for (const RecordedInput& input : inputs.Entries) {
        const GameState& s = session.State();
        const std::size_t number = result.Inputs + 1;
        if (!s.GameActive || s.MonthCount != input.Month || s.CurrentCompany != input.Company)
            return fail(
                Format("input %zu is for company %d in month %d, but the game played again is at company %d "
                       "in month %d",
                       number, input.Company + 1, input.Month, s.CurrentCompany + 1, s.MonthCount));
        if (input.Kind == InputKind::Command) {
            Command command;
            std::string why;
            if (!ParseCommand(input.Text, command, why))
                return fail(Format("input %zu (month %d): %s", number, input.Month, why.c_str()));
            if (!session.Execute(command).Accepted)
                return fail(Format("input %zu (month %d): '%s' was refused when played again", number, input.Month,
                                   input.Text.c_str()));
        } else {
            std::string why;
            if (input.Detail >= inputs.Details.size() ||
                !session.ReplayTakenUp(input, inputs.Details[input.Detail], &why))
                return fail(Format("input %zu (month %d): %s", number, input.Month,
                                   why.empty() ? "its detail is missing" : why.c_str()));
        }
        ++result.Inputs;
        if (!checkMonths())
            return result;
    }
    result.Ok = true;
    return result;
}
