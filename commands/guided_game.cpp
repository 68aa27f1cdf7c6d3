/// @file guided_game.cpp The guided first game's world, its steps and their words.
#include "commands/guided_game.h"

#include "commands/game_session.h"

namespace {

int32_t CountDepots(const GameState& s, int c)
{
    int32_t n = 0;
    for (int t = 0; t < kTowns; ++t)
        n += s.HasDepot[c][t] ? 1 : 0;
    return n;
}

// Capacity with what is still being built: with "Delay building" an extension goes into the
// pipeline first, and it counts as ordered all the same.
int64_t CountCapacity(const GameState& s, int c)
{
    int64_t litres = SumOfLitres(s.Capacity, c);
    for (const auto& towns : s.ConstructionPipeline[c])
        for (const auto& stages : towns)
            for (const int32_t stage : stages)
                litres += stage;
    return litres;
}

int32_t CountOrders(const GameState& s, int c)
{
    int32_t n = 0;
    for (const StandingOrderSlot& order : s.StandingOrder[c])
        n += order.Kind != kOrderEmpty ? 1 : 0;
    return n;
}

struct StepWords {
    LocalText Title;
    LocalText Body;  ///< {n} the neighbour town, {h} the home town, {b} the first brand
};

// The words of each step, in the order of GuidedStep.
const std::array<StepWords, kGuidedSteps + 1> kStepWords{{
    {{"Select a town", "Eine Stadt wählen"},
     {"Every command acts in the selected town. Right-click {n} on the map (or double-click it): "
      "the panel below shows the town's information. It drinks far more beer a month (Demand) "
      "than anyone brews there, and its wages are close to your beer's quality: people buy most "
      "of a beer whose quality suits their wages. There, F opens the town forecast: what your "
      "beer would sell in the town this month.",
      "Jeder Befehl wirkt in der gewählten Stadt. Klicken Sie auf der Karte mit der rechten "
      "Maustaste auf {n} (oder doppelt): Das Feld unten zeigt die Stadtinfos. Die Stadt trinkt "
      "viel mehr Bier im Monat (Bedarf), als dort gebraut wird, und ihre Löhne liegen nahe an "
      "der Qualität Ihres Biers: Die Leute kaufen am meisten von einem Bier, dessen Qualität zu "
      "ihren Löhnen passt. Dort öffnet F die Vorschau für die Stadt: was Ihr Bier in der Stadt "
      "diesen Monat verkaufen würde."}},
    {{"Set a price with the forecast", "Einen Preis mit der Vorschau setzen"},
     {"If the town information still shows, Cancel brings the command buttons back. Click {h} "
      "and press Change Prices. Type a price for {b}: beside the field the "
      "forecast says how many litres this month's market would buy at that price, and the line "
      "below names the highest price that still sells all of your stock. Choose a price and press "
      "OK.",
      "Zeigt das Feld noch die Stadtinfos, bringt Abbrechen die Befehlsknöpfe zurück. Klicken "
      "Sie auf {h} und dann auf Preise ändern. Tippen Sie einen Preis für {b}: "
      "Neben dem Feld sagt die Vorschau, wie viele Liter der Markt dieses Monats zu diesem Preis "
      "kaufen würde, und die Zeile darunter nennt den höchsten Preis, zu dem noch Ihr ganzer "
      "Vorrat verkauft wird. Wählen Sie einen Preis und drücken Sie OK."}},
    {{"Transport beer", "Bier transportieren"},
     {"{n} has no brewery of yours, but {h} has beer. With {h} selected, press Transport Beer, "
      "choose {b} and {n} in the lists, type 400 litres and press OK. The beer is there at once; "
      "the list shows what 100 litres cost to carry.",
      "{n} hat keine Brauerei von Ihnen, aber in {h} lagert Bier. Wählen Sie {h}, drücken Sie "
      "Bier transportieren, wählen Sie {b} und {n} in den Listen, tippen Sie 400 Liter und "
      "drücken Sie OK. Das Bier ist sofort dort; die Liste zeigt, was 100 Liter Transport "
      "kosten."}},
    {{"Transfer money", "Geld überweisen"},
     {"Every town has its own account, and the one in {n} is empty. With {h} selected, press "
      "Transfer Money, choose {n}, type 8000 and press OK. 5 % of the money is lost on the way.",
      "Jede Stadt hat ihr eigenes Konto, und das in {n} ist leer. Wählen Sie {h}, drücken Sie "
      "Geld überweisen, wählen Sie {n}, tippen Sie 8000 und drücken Sie OK. 5 % des Geldes "
      "gehen unterwegs verloren."}},
    {{"Build a depot", "Ein Lagerhaus bauen"},
     {"Beer that is not sold is lost at the end of the month, unless the town has a depot of "
      "yours. Click {n}, press Build Depot and OK.",
      "Bier, das nicht verkauft wird, verdirbt am Monatsende, außer die Stadt hat ein Lagerhaus "
      "von Ihnen. Klicken Sie auf {n}, drücken Sie Lagerhaus bauen und OK."}},
    {{"Extend the brewery", "Die Brauerei erweitern"},
     {"{h} drinks far more than your brewery brews. Click {h}, press Extend Brewery, click {b} "
      "in the list and type a number of 100-litre steps (the panel says how many you can "
      "afford), then OK.",
      "{h} trinkt viel mehr, als Ihre Brauerei braut. Klicken Sie auf {h}, drücken Sie Brauerei "
      "erweitern, klicken Sie {b} in der Liste an und tippen Sie eine Zahl von 100-Liter-Stufen "
      "(das Feld sagt, wie viele Sie bezahlen können), dann OK."}},
    {{"A standing order", "Ein Dauerauftrag"},
     {"A standing order carries beer every month by itself, at the start of your turn. Choose "
      "Standing orders > New, type 300, click \"litre {b}\" in the small list beside it, {h} "
      "under \"from\" and {n} under \"to\", and press OK.",
      "Ein Dauerauftrag bringt jeden Monat zu Beginn Ihres Zuges von selbst Bier. Wählen Sie "
      "Daueraufträge > Neu, tippen Sie 300, klicken Sie \"Liter {b}\" in der kleinen Liste "
      "daneben an, {h} unter \"von\" und {n} unter \"nach\", und drücken Sie OK."}},
    {{"End the month", "Den Monat beenden"},
     {"That is a month's work. Press Next Turn: the computer companies move, every town buys its "
      "beer, the breweries brew and the books are closed.",
      "Das ist die Arbeit eines Monats. Drücken Sie Nächste Runde: Die Computerfirmen ziehen, "
      "jede Stadt kauft ihr Bier, die Brauereien brauen und die Bücher werden geschlossen."}},
    {{"Read the month report", "Den Monatsbericht lesen"},
     {"Choose Statistics > Month report (or the button below). It shows what each brand sold in "
      "each town against the town's demand, and your money: before, income, costs and after. "
      "Statistics > Advisor gives hints for the next month.",
      "Wählen Sie Statistik > Monatsbericht (oder den Knopf unten). Er zeigt, was jede Sorte in "
      "jeder Stadt verkauft hat, neben dem Bedarf der Stadt, und Ihr Geld: vorher, Einnahmen, "
      "Kosten und nachher. Statistik > Berater gibt Tipps für den nächsten Monat."}},
    {{"Well done", "Gut gemacht"},
     {"You know the game's commands now; Build Brewery and New Brand work the same way. Play on: "
      "sell 60 % of all the beer the towns drink before another company does. Before you set a "
      "price, F in the town information shows what your brands would sell there. Help > Contents "
      "explains the market in full.",
      "Sie kennen jetzt die Befehle des Spiels; Brauerei bauen und Neue Biersorte gehen genauso. "
      "Spielen Sie weiter: Verkaufen Sie 60 % des Biers, das alle Städte trinken, bevor es eine "
      "andere Firma tut. Bevor Sie einen Preis setzen, zeigt F in den Stadtinfos, was Ihre Marken "
      "dort verkaufen würden. Hilfe > Inhalt erklärt den Markt ausführlich."}},
}};

}  // namespace

const GuideWords kGuideWords{
    {"&Guided Game", "&Geführtes Spiel"},
    {"Guided game", "Geführtes Spiel"},
    {"&Leave the guide", "Führung &verlassen"},
    {"&Month report", "&Monatsbericht"},
    {"This is no longer the guided game. Game > Guided Game starts it again.",
     "Dies ist nicht mehr das geführte Spiel. Spiel > Geführtes Spiel beginnt es neu."},
    {"&Close", "&Schließen"},
};

NewGameSettings GuidedGameSettings()
{
    NewGameSettings settings;
    settings.Map = 1;
    settings.TwoPlayer = false;
    settings.Expert = false;
    settings.DelayBuilding = false;
    settings.Events = false;
    settings.Player1Start = kGuidedHomeTown + 1;
    return settings;
}

void StartGuidedGame(GameSession& session)
{
    session.SetSeed(kGuidedSeed);
    session.NewGame(GuidedGameSettings());
}

GuidedProgress BeginGuide(const GameState& s)
{
    GuidedProgress progress;
    GuidedStart& start = progress.Start;
    const int c = s.CurrentCompany;
    start.Company = c;
    start.Month = s.MonthCount;
    start.Prices = s.Price[c];
    start.NeighbourAccount = s.Account[c][kGuidedNeighbourTown];
    start.Depots = CountDepots(s, c);
    start.Capacity = CountCapacity(s, c);
    start.Orders = CountOrders(s, c);
    return progress;
}

bool GuideStillFits(const GameState& s, const GuidedProgress& progress)
{
    return s.GameActive && !s.TwoPlayer && s.MapNumber == 1 && s.PlayerCompany[0] == progress.Start.Company &&
           s.MonthCount >= progress.Start.Month;
}

bool GuidedStepDone(const GameState& s, const GuidedProgress& progress, GuidedStep step)
{
    const GuidedStart& start = progress.Start;
    const int c = start.Company;
    switch (step) {
    case GuidedStep::SelectTown:
        return s.SelectedTown == kGuidedNeighbourTown;
    case GuidedStep::SetPrice:
        return s.Price[c] != start.Prices;
    case GuidedStep::TransportBeer:
        // Nobody of the player's brews there: beer in the town came by cart.
        for (int b = 0; b < kBrands; ++b)
            if (s.Stock[c][b][kGuidedNeighbourTown] > 0 && s.Capacity[c][b][kGuidedNeighbourTown] == 0)
                return true;
        return false;
    case GuidedStep::TransferMoney:
        return s.Account[c][kGuidedNeighbourTown] > start.NeighbourAccount;
    case GuidedStep::BuildDepot:
        return CountDepots(s, c) > start.Depots;
    case GuidedStep::ExtendBrewery:
        return CountCapacity(s, c) > start.Capacity;
    case GuidedStep::StandingOrder:
        return CountOrders(s, c) > start.Orders;
    case GuidedStep::NextTurn:
        return s.MonthCount > start.Month;
    case GuidedStep::ReadReport:
        // A report exists only once a month has been closed.
        return progress.ReportRead && s.MonthCount > start.Month;
    case GuidedStep::Done:
        return false;
    }
    return false;
}

GuidedStep CurrentGuidedStep(const GameState& s, GuidedProgress& progress)
{
    while (progress.Step != GuidedStep::Done && GuidedStepDone(s, progress, progress.Step))
        progress.Step = static_cast<GuidedStep>(static_cast<int>(progress.Step) + 1);
    return progress.Step;
}

GuidedText GuidedStepText(const GameState& s, GuidedStep step, Language language)
{
    const StepWords& words = kStepWords[static_cast<size_t>(step)];
    const int c = s.CurrentCompany;
    const std::string& brand = s.BrandName[c][0];
    GuidedText text;
    text.Name = words.Title.In(language);
    if (step == GuidedStep::Done)
        text.Title = words.Title.In(language);
    else
        text.Title = Format(language == Language::German ? "Schritt %d von %d: %s" : "Step %d of %d: %s",
                            static_cast<int>(step) + 1, kGuidedSteps, words.Title.In(language).c_str());
    // The names come from the names file and may hold anything: put in as they are, never read
    // as a format.
    const std::string& body = words.Body.In(language);
    for (size_t i = 0; i < body.size(); ++i) {
        if (body.compare(i, 3, "{n}") == 0) {
            text.Body += s.TownName[kGuidedNeighbourTown];
            i += 2;
        } else if (body.compare(i, 3, "{h}") == 0) {
            text.Body += s.TownName[kGuidedHomeTown];
            i += 2;
        } else if (body.compare(i, 3, "{b}") == 0) {
            text.Body += brand;
            i += 2;
        } else {
            text.Body += body[i];
        }
    }
    return text;
}
