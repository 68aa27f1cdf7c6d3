/// @file game_end.cpp The end of a game in the window.
#include "commands/game_end.h"

#include "commands/command_panel.h"
#include "game/text.h"

std::optional<GameEnd> GameEndAfterTurn(const TurnOutcome& outcome, bool twoPlayersBefore, int movingCompany)
{
    GameEnd end;
    if (outcome.Winner >= 0) {
        end.Winner = outcome.Winner;
        end.HumanWon = outcome.Winner == movingCompany;
        end.Points = end.HumanWon ? outcome.Points : 0;
    }
    // In a two-player game the other player plays on alone.
    if (outcome.PlayerLiquidated && !twoPlayersBefore)
        end.LastPlayer = movingCompany;
    if (end.Winner < 0 && end.LastPlayer < 0)
        return std::nullopt;
    return end;
}

PanelContent GameOverContent(const GameState& s, const GameEnd& end)
{
    PanelContent content;
    content.Mode = PanelMode::GameOver;
    content.Visible = {PanelControl::Button9, PanelControl::Button10};
    const Language language = s.Program.Language;
    content.Button9Caption = LocalText{"New Game", "Neues Spiel"}.In(language);
    content.Button10Caption = LocalText{"Open Game", "Spiel öffnen"}.In(language);
    auto name = [&s](int company) {
        return company >= 0 && company < kCompanies ? s.CompanyName[company].c_str() : "";
    };
    LocalText result;
    if (end.Winner >= 0 && end.HumanWon)
        result = {Format("The game is over: %s has won with %d points.", name(end.Winner), end.Points),
                  Format("Das Spiel ist aus: %s hat mit %d Punkten gewonnen.", name(end.Winner), end.Points)};
    else if (end.Winner >= 0)
        result = {Format("The game is over: %s has won.", name(end.Winner)),
                  Format("Das Spiel ist aus: %s hat gewonnen.", name(end.Winner))};
    else
        result = {Format("The game is over: %s's company has been liquidated.", name(end.LastPlayer)),
                  Format("Das Spiel ist aus: Die Firma von %s ist Pleite.", name(end.LastPlayer))};
    content.Texts.push_back({40, 440, result.In(language), TextAlign::Left});
    content.Texts.push_back({40, 470,
                             LocalText{"Start a new game or open a saved one.",
                                       "Starten Sie ein neues Spiel oder öffnen Sie ein gespeichertes."}
                                 .In(language),
                             TextAlign::Left});
    return content;
}
