/// @file random_events.cpp Random events: fires, gifts, thefts and strokes of luck that strike
/// the moving human company at the start of its turn.
#include "engine/random_events.h"

#include <cmath>
#include <cstdint>

#include "game/text.h"

namespace {

constexpr int kGoodNews = 6;  // sound of a favourable event
constexpr int kBadNews = 11;  // sound of an unfavourable one

void Announce(Frontend& frontend, int sound, const LocalText& text, const LocalText& caption)
{
    frontend.PlaySoundEffect(sound);
    frontend.ShowMessage(text, caption, MessageIcon::Warning);
}

}  // namespace

void RunRandomEvent(GameState& s, Frontend& frontend)
{
    // Events come more often early in the game.
    const int32_t chance = s.MonthCount < 10 ? 3 : s.MonthCount < 30 ? 6 : 8;
    if (s.Program.Rng.Random(chance) != 0)
        return;

    const int cur = s.CurrentCompany;
    if (cur < 0 || cur >= kCompanies)
        return;
    auto& account = s.Account[cur];
    const auto town = [&](int t) { return s.TownName[t].c_str(); };
    const auto brand = [&](int b) { return s.BrandName[cur][b].c_str(); };

    switch (s.Program.Rng.Random(10)) {
    case 0: {  // fire in a depot: what it kept beyond this month's production burns
        const int t = s.Program.Rng.Random(kTowns);
        if (!s.HasDepot[cur][t])
            return;
        frontend.PlaySoundEffect(kBadNews);
        for (int b = 0; b < kBrands; ++b)
            if (s.Stock[cur][b][t] > s.Capacity[cur][b][t])
                s.Stock[cur][b][t] = s.Capacity[cur][b][t];
        s.HasDepot[cur][t] = false;
        frontend.ShowMessage({Format("Your depot in %s got lost in a fire!", town(t)),
                              Format("Ihr Lagerhaus in %s ist leider abgebrannt!", town(t))},
                             {"Fire!", "Feuer!"}, MessageIcon::Warning);
        break;
    }
    case 1: {  // inheritance
        const int32_t a = 300 + s.Program.Rng.Random(700);
        const int t = s.Program.Rng.Random(kTowns);
        Announce(frontend, kGoodNews,
                 {Format("A Beer-Fan from %s leaves you %d Dollar!", town(t), a),
                  Format("Ein Bier-Fanatiker aus %s vererbt Ihnen %d $!", town(t), a)},
                 {"Inheritance!", "Erbschaft!"});
        account[t] += a;
        s.History.NoteOther(cur, a);
        break;
    }
    case 2: {  // fire in a brewery of at least 1000 litres
        const int t = s.Program.Rng.Random(kTowns);
        const int b = s.Program.Rng.Random(kBrands);
        if (!(s.Capacity[cur][b][t] >= 1000))
            return;
        Announce(
            frontend, kBadNews,
            {Format("A fire destroyed part of your %s-Brewery in %s. A capacity of 300 l got lost!", brand(b), town(t)),
             Format("Bei einem Feuer ist ein Teil der %s-Brauerei in %s abgebrannt. Eine Kapazität von 300 l "
                    "ging verloren!",
                    brand(b), town(t))},
            {"Fire!", "Feuer!"});
        s.Capacity[cur][b][t] -= 300;
        s.Stock[cur][b][t] = AddLitres(s.Stock[cur][b][t], -300);
        break;
    }
    case 3: {  // cheaper production of a brand that is not already very cheap to brew
        const int b = s.Program.Rng.Random(kBrands);
        const float quality = s.Quality[cur][b];
        const float costFactor = s.CostFactor[cur][b];
        if (!(quality > 0.0f && static_cast<long double>(costFactor) * quality < 3.0L))
            return;
        Announce(frontend, kGoodNews,
                 {Format("You develop a new procedure and lower the cost factor of %s for 0.01!", brand(b)),
                  Format("Sie entwickeln ein neues Produktionsverfahren, mit dem der Kostenfaktor der Marke %s um "
                         "0.01 gesenkt wird!",
                         brand(b))},
                 {"Progress!", "Fortschritt!"});
        s.CostFactor[cur][b] = static_cast<float>(costFactor - 0.01L);
        break;
    }
    case 4: {  // epidemic: this month's production in the town is lost, its cost refunded
        const int t = s.Program.Rng.Random(kTowns);
        int64_t capacity = 0;
        for (int b = 0; b < kBrands; ++b)
            capacity += s.Capacity[cur][b][t];
        if (!(capacity > 0))
            return;
        Announce(frontend, kBadNews,
                 {Format("Because of an epidemic disease you workers at %s stay at home this month!", town(t)),
                  Format("Ihre Arbeiter in %s müssen diesen Monat wegen einer Epidemie zu Hause bleiben!", town(t))},
                 {"Disease!", "Epidemie!"});
        for (int b = 0; b < kBrands; ++b) {
            s.Stock[cur][b][t] = AddLitres(s.Stock[cur][b][t], -s.Capacity[cur][b][t]);
            account[t] += s.ProductionCost[cur][b][t];
            s.History.NoteOther(cur, s.ProductionCost[cur][b][t]);
        }
        break;
    }
    case 5: {  // the technicians raise a brewery's capacity
        const int b = s.Program.Rng.Random(kBrands);
        const int t = s.Program.Rng.Random(kTowns);
        if (!(s.Capacity[cur][b][t] > 0))
            return;
        Announce(frontend, kGoodNews,
                 {Format("Your technicians raised the capacity of the %s-Brewery in %s for 200l!", brand(b), town(t)),
                  Format("Ihre Techniker konnten die Kapazität der %s-Brauerei in %s um 200 l steigern!", brand(b),
                         town(t))},
                 {"Progress!", "Fortschritt!"});
        s.Capacity[cur][b][t] = AddLitres(s.Capacity[cur][b][t], 200);
        s.Stock[cur][b][t] = AddLitres(s.Stock[cur][b][t], 200);
        break;
    }
    case 6: {  // a town gives a depot
        const int t = s.Program.Rng.Random(kTowns);
        if (s.HasDepot[cur][t])
            return;
        Announce(frontend, kGoodNews,
                 {Format("The administration of %s gives you a depot!", town(t)),
                  Format("Die Stadtverwaltung in %s schenkt Ihnen ein Lagerhaus!", town(t))},
                 {"Subsidy", "Wirtschaftsförderung"});
        s.HasDepot[cur][t] = true;
        break;
    }
    case 7: {  // theft, only from an account that holds more than the amount
        const int t = s.Program.Rng.Random(kTowns);
        const int32_t a = 300 + s.Program.Rng.Random(700);
        if (!(account[t] > a))
            return;
        Announce(frontend, kBadNews,
                 {Format("Your accountant in %s disappeared with %d Dollar!", town(t), a),
                  Format("Ihr Buchhalter in %s hat sich mit %d $ davongemacht!", town(t), a)},
                 {"Theft!", "Theft!"});
        account[t] -= a;
        s.History.NoteOther(cur, -a);
        break;
    }
    case 8: {  // accident in a depot: everything beyond this month's production is lost
        const int t = s.Program.Rng.Random(kTowns);
        if (!s.HasDepot[cur][t])
            return;
        Announce(frontend, kBadNews,
                 {Format("Because of an accident in your depot in %s the whole stock got lost!", town(t)),
                  Format("Bei einem Unfall in Ihrem Lagerhaus in %s ist der gesamte Lagerbestand verloren gegangen!",
                         town(t))},
                 {"Accident!", "Unfall!"});
        for (int b = 0; b < kBrands; ++b)
            s.Stock[cur][b][t] = s.Capacity[cur][b][t];
        break;
    }
    case 9: {  // a town pays off up to 2000 of the company's debt there
        const int t = s.Program.Rng.Random(kTowns);
        if (!(account[t] < 0))
            return;
        const int32_t a = account[t] <= -2000.0L ? 2000 : static_cast<int32_t>(std::trunc(-account[t]));
        Announce(
            frontend, kGoodNews,
            {Format("The administration of %s gives you %d Dollar to reduce your dept!", town(t), a),
             Format("Die Stadtverwaltung von %s schenkt Ihnen %d Taler, um Ihre Schulden zu reduzieren!", town(t), a)},
            {"Subsidy", "Wirtschaftsförderung"});
        account[t] += a;
        s.History.NoteOther(cur, a);
        break;
    }
    default:
        return;
    }
    frontend.Redraw();
}
