/// @file layout_test.cpp Every prompt of every mode fits in the window's font: measured with the
/// font's metrics, in both languages, with the longest default names and large sums, at every
/// zoom.
#include <QFontInfo>
#include <QFontMetrics>
#include <cstring>
#include <sstream>

#include "commands/panel_content.h"
#include "ui/dialog_support.h"
#include "game/map_tables.h"
#include "persistence/settings.h"
#include "window_fixture.h"

namespace {

const char* Longest(const std::vector<const char*>& names, const QFontMetrics& m)
{
    const char* best = names.front();
    for (const char* n : names)
        if (m.horizontalAdvance(QString::fromUtf8(n)) > m.horizontalAdvance(QString::fromUtf8(best)))
            best = n;
    return best;
}

// Every company with three brands, breweries, stock, orders and a fortune, named with the map's
// widest default names.
void FillWithWidestNames(GameState& s, int map, const QFontMetrics& m)
{
    std::vector<const char*> companies;
    std::vector<const char*> brands;
    for (const auto& d : kDefaultNames[map - 1]) {
        companies.push_back(d.Company);
        for (const char* b : d.Brands)
            brands.push_back(b);
    }
    for (int c = 0; c < kCompanies; ++c) {
        s.CompanyName[c] = Longest(companies, m);
        for (int b = 0; b < kBrands; ++b) {
            s.BrandName[c][b] = Longest(brands, m);
            s.Quality[c][b] = 1.99f;
            s.CostFactor[c][b] = 1.99f;
            for (int t = 0; t < kTowns; ++t) {
                s.Capacity[c][b][t] = 9999999;
                s.Stock[c][b][t] = 9999999;
                s.Supply[c][b][t] = 999999;
                s.Sales[c][b][t] = 999999;
                s.Price[c][b][t] = 99.99f;
                s.ConstructionPipeline[c][b][t] = {999999, 999999, 999999};
            }
        }
        for (int t = 0; t < kTowns; ++t)
            s.Account[c][t] = 99999999.0L;
        for (int o = 0; o < kOrderSlots; ++o)
            s.StandingOrder[c][o] = {o % 4, o % kTowns, (o + 1) % kTowns, 999999};
    }
    for (int t = 0; t < kTowns; ++t) {
        s.TownName[t] = kTownNames[map - 1][t];
        s.Demand[t] = 99999;
        s.Wages[t] = 9.99f;
    }
}

struct Box {
    QRect Rect;
    std::string What;
};

}  // namespace

using ZoomedLayoutTest = ZoomedWindowTest;
INSTANTIATE_TEST_SUITE_P(Zooms, ZoomedLayoutTest, ::testing::ValuesIn(kZoomSteps));

TEST_P(ZoomedLayoutTest, EveryPromptFitsWithoutOverlapInBothLanguages)
{
    const int zoom = GetParam();
    TForm1& form = Open();
    ASSERT_EQ(form.Zoom(), zoom);
    const QFont font = WindowFont(zoom);
    EXPECT_EQ(QFontInfo(font).family(), "Liberation Sans");
    const QFontMetrics m(font);
    const QRect window(0, 0, Zoomed(kClientWidth, zoom), Zoomed(kClientHeight, zoom));
    const PanelMode modes[] = {PanelMode::BuildBrewery,    PanelMode::NewBrand,      PanelMode::BuildDepot,
                               PanelMode::TownInformation, PanelMode::LastSales,     PanelMode::ExtendBrewery,
                               PanelMode::ChangePrices,    PanelMode::TransportBeer, PanelMode::TransferMoney,
                               PanelMode::MarketShares,    PanelMode::NewOrder,      PanelMode::ListOrders,
                               PanelMode::DeleteOrder};
    int checked = 0;
    std::ostringstream faults;
    for (int map = 1; map <= kMaps; ++map) {
        GameState s = form.State();
        s.GameActive = true;
        s.MapNumber = map;
        s.ReduceCapacities = true;
        FillWithWidestNames(s, map, m);
        for (int language = 1; language <= 2; ++language) {
            s.Program.Language = LanguageFromNumber(language);
            for (int t = 0; t < kTowns; ++t) {
                s.SelectedTown = t;
                for (const PanelMode mode : modes) {
                    const PanelContent content = ComputePanelContent(s, mode);
                    std::vector<Box> boxes;
                    for (const PanelText& text : content.Texts) {
                        const QString q = QString::fromStdString(text.Text);
                        // Trailing blanks are drawn but show nothing; they may run over.
                        const int width = m.horizontalAdvance(q.trimmed());
                        const int left = Zoomed(text.X, zoom);
                        const int x = text.Align == TextAlign::Right ? left - m.horizontalAdvance(q) : left;
                        boxes.push_back({QRect(x, Zoomed(text.Y, zoom), width, m.height()), text.Text});
                        ++checked;
                    }
                    const std::string where = "map " + std::to_string(map) + " language " + std::to_string(language) +
                                              " town " + std::to_string(t) + " mode " +
                                              std::to_string(static_cast<int>(mode)) + ": ";
                    for (size_t i = 0; i < boxes.size(); ++i) {
                        if (!window.contains(boxes[i].Rect))
                            faults << where << "'" << boxes[i].What << "' leaves the window\n";
                        for (size_t j = i + 1; j < boxes.size(); ++j)
                            if (boxes[i].Rect.intersects(boxes[j].Rect))
                                faults << where << "'" << boxes[i].What << "' overlaps '" << boxes[j].What << "'\n";
                        for (const PanelControl control : content.Visible)
                            if (boxes[i].Rect.intersects(form.Control(control)->geometry()))
                                faults << where << "'" << boxes[i].What << "' lies under control "
                                       << static_cast<int>(control) << "\n";
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 1000);
    EXPECT_EQ(faults.str(), "");
}
