/// @file sim_guide.cpp The guided first game in tavrek-sim.
#include "tools/tavrek_sim/sim_guide.h"

#include <cstdio>

#include "commands/history_views.h"
#include "platform/cp1252.h"

void SimGuide::Begin(const GameState& s)
{
    progress_ = BeginGuide(s);
    running_ = true;
    Check(s);
}

void SimGuide::Check(const GameState& s)
{
    if (!running_)
        return;
    const GuidedStep step = CurrentGuidedStep(s, progress_);
    // Every step passed on the way is printed, so a script shows each one reached in turn.
    for (int i = printed_ + 1; i <= static_cast<int>(step); ++i) {
        const GuidedText text = GuidedStepText(s, static_cast<GuidedStep>(i), s.Program.Language);
        std::printf("guide %d: %s\n", s.MonthCount, ControlsReplaced(text.Title).c_str());
    }
    printed_ = static_cast<int>(step);
}

void SimGuide::StartTurn(const GameState& s)
{
    if (!running_)
        return;
    Check(s);
    if (progress_.Step != GuidedStep::ReadReport)
        return;
    const MonthReport report = ComputeMonthReport(s, s.CurrentCompany, s.Program.Language);
    std::printf("report %d: %s\n", s.MonthCount, ControlsReplaced(report.Title).c_str());
    for (const ReportAmount& amount : report.Books)
        std::printf("report %d: %s %s\n", s.MonthCount, ControlsReplaced(amount.Label).c_str(),
                    ControlsReplaced(amount.Amount).c_str());
    progress_.ReportRead = !report.Empty;
    Check(s);
}
