// The record's views in the real window: the Statistics menu opens the month report, the charts
// and the message log in the game's language, and Change Prices shows the forecast as the player
// types; the town forecast opens from the town information and follows the town.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTabWidget>
#include <filesystem>

#include "commands/advisor.h"
#include "commands/town_selection.h"
#include "engine/market.h"
#include "ui/history_window.h"
#include "ui/price_forecast.h"
#include "ui/town_forecast_window.h"
#include "window_fixture.h"

namespace {

using HistoryWindowTest = WindowTest;

}  // namespace

TEST_F(HistoryWindowTest, TheStatisticsMenuOpensTheThreeViews)
{
    TForm1& form = OpenWithGame(1, 3);
    for (int month = 0; month < 3; ++month)
        Press(form.Button8);  // Next Turn
    ASSERT_EQ(form.State().History.Months.size(), 3u);
    HistoryMenu* menu = form.findChild<HistoryMenu*>();
    ASSERT_NE(menu, nullptr);

    menu->Entry(HistoryDialog::Charts)->trigger();
    HistoryDialog* dialog = menu->Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->Tabs()->currentIndex(), HistoryDialog::Charts);
    const ChartData& chart = dialog->ChartView()->Chart();
    EXPECT_EQ(chart.Months.size(), 3u);
    ASSERT_EQ(chart.Series.size(), 10u);
    EXPECT_TRUE(chart.Series[form.State().CurrentCompany].Own);
    dialog->MetricChoice()->setCurrentIndex(2);
    EXPECT_EQ(dialog->ChartView()->Chart().Title.English, "Market share");

    // Hovering the player's last point names it.
    const PlotArea area = dialog->ChartView()->Area();
    const ChartData& shares = dialog->ChartView()->Chart();
    const int own = form.State().CurrentCompany;
    QTest::mouseMove(dialog->ChartView(), QPoint(static_cast<int>(PlotX(shares, area, 2)),
                                                 static_cast<int>(PlotY(shares, area, shares.Series[own].Values[2]))));
    const auto hit = NearestPoint(shares, area, PlotX(shares, area, 2),
                                  PlotY(shares, area, shares.Series[own].Values[2]), Language::English);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->Index, 2);

    menu->Entry(HistoryDialog::Messages)->trigger();
    EXPECT_EQ(dialog->Tabs()->currentIndex(), HistoryDialog::Messages);
    const QAbstractItemModel* log = dialog->Log()->model();
    ASSERT_GE(log->rowCount(), 1);
    EXPECT_NE(log->index(log->rowCount() - 1, 0).data().toString().indexOf("take over"), -1)
        << "the take-over at the start is the oldest message";
    dialog->CompanyChoice()->setCurrentIndex(1 + (own + 1) % kCompanies);
    EXPECT_EQ(log->rowCount(), 1) << "only the note that there is nothing";
    EXPECT_EQ(log->index(0, 0).data().toString(), "No messages yet.");

    form.Deutsch1Click();
    EXPECT_EQ(dialog->Tabs()->tabText(0), "Monatsbericht");
    EXPECT_EQ(menu->Entry(HistoryDialog::Report)->text(), "Mo&natsbericht...");
    dialog->close();
}

TEST_F(HistoryWindowTest, ChangePricesForecastsAsThePlayerTypes)
{
    TForm1& form = OpenWithGame(1, 3);
    Press(form.Button8);  // Next Turn
    Press(form.Button6);  // Change Prices
    PriceForecastLabels* forecast = form.findChild<PriceForecastLabels*>();
    ASSERT_NE(forecast, nullptr);
    EXPECT_TRUE(forecast->Rows()[0]->isVisible());
    EXPECT_TRUE(forecast->Note()->isVisible());
    const GameState& s = form.State();
    for (const char* price : {"1.5", "3", "9"}) {
        Type(form.Edit2, price);
        EXPECT_EQ(forecast->Rows()[0]->text().toStdString(),
                  Format("~%d l", ForecastSales(s, s.CurrentCompany, 0, s.SelectedTown, std::stof(price))))
            << price;
        // The note under the prompt tells the whole forecast of the brand being typed.
        const std::string note = forecast->Note()->text().toStdString();
        EXPECT_NE(note.find(Format("at %.2f $: sells %d of", static_cast<double>(std::stof(price)),
                                   ForecastSales(s, s.CurrentCompany, 0, s.SelectedTown, std::stof(price)))),
                  std::string::npos)
            << note;
    }
    EXPECT_FALSE(forecast->Rows()[1]->isVisible()) << "no second brand";
    Press(form.Button10);  // Cancel
    EXPECT_FALSE(forecast->Rows()[0]->isVisible());
    EXPECT_FALSE(forecast->Note()->isVisible());
}

TEST_F(HistoryWindowTest, TheReportAfterEachTurnIsAnOptionKeptInTheSettings)
{
    {
        TForm1& form = OpenWithGame(2, 1);
        HistoryMenu* menu = form.findChild<HistoryMenu*>();
        EXPECT_FALSE(menu->ReportOption()->isChecked()) << "off unless chosen";
        Press(form.Button8);
        EXPECT_TRUE(menu->Dialog() == nullptr || !menu->Dialog()->isVisible());
        menu->ReportOption()->trigger();
        Press(form.Button8);
        ASSERT_NE(menu->Dialog(), nullptr);
        EXPECT_TRUE(menu->Dialog()->isVisible());
        EXPECT_EQ(menu->Dialog()->Tabs()->currentIndex(), HistoryDialog::Report);
        menu->Dialog()->close();
        form_.reset();
    }
    TForm1& again = Open();
    EXPECT_TRUE(again.findChild<HistoryMenu*>()->ReportOption()->isChecked());
}

TEST_F(HistoryWindowTest, AGameOpenedWithoutItsRecordKeepsTheStatusLineAndTheReportSaysSo)
{
    TForm1& first = OpenWithGame(1, 3);
    Press(first.Button8);
    saveFile_ = QString::fromStdString((dir_ / "bare.tsg").string());
    first.Menu(MenuEntry::Saveas1)->trigger();
    std::filesystem::remove(dir_ / "bare.tsg.history");

    for (const Language language : {Language::English, Language::German}) {
        TForm1& form = Open();
        if (language == Language::German)
            form.Menu(MenuEntry::Deutsch1)->trigger();
        openFile_ = saveFile_;
        form.Menu(MenuEntry::Open1)->trigger();
        ASSERT_EQ(form.State().MonthCount, 2);
        const GameState& s = form.State();
        // The game's own status line: company in town, month and year.
        EXPECT_EQ(form.StatusText().toStdString(),
                  s.CompanyName[s.CurrentCompany] + " in " + s.TownName[s.SelectedTown] +
                      (language == Language::German ? ", Februar 1750" : ", February 1750"));
        form.findChild<HistoryMenu*>()->Entry(HistoryDialog::Report)->trigger();
        HistoryDialog* dialog = form.findChild<HistoryMenu*>()->Dialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->ReportView()->Report().EmptyText, HistoryNote(HistoryLoad::Missing)->In(language));
        dialog->close();
        // A month later the record of this game has begun: the report shows it.
        Press(form.Button8);
        form.findChild<HistoryMenu*>()->Entry(HistoryDialog::Report)->trigger();
        EXPECT_FALSE(dialog->ReportView()->Report().Empty);
        dialog->close();
    }
}

TEST_F(HistoryWindowTest, TheAdvisorPageListsTheHintsOfThePlayerOnTurn)
{
    TForm1& form = OpenWithGame(1, 3);
    Press(form.Button8);  // Next Turn
    HistoryMenu* menu = form.findChild<HistoryMenu*>();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->Entry(HistoryDialog::Advisor)->text(), "A&dvisor...");
    menu->Entry(HistoryDialog::Advisor)->trigger();
    HistoryDialog* dialog = menu->Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Tabs()->currentIndex(), HistoryDialog::Advisor);
    const GameState& s = form.State();
    const std::vector<AdvisorHint> hints = ComputeAdvice(s, s.CurrentCompany, Language::English);
    ASSERT_FALSE(hints.empty()) << "a new company's brewery leaves beer unsold or sees a thirsty town";
    ASSERT_EQ(dialog->Advice()->count(), static_cast<int>(hints.size()));
    for (size_t i = 0; i < hints.size(); ++i)
        EXPECT_EQ(dialog->Advice()->item(static_cast<int>(i))->text().toStdString(), hints[i].Text);
    form.Deutsch1Click();
    EXPECT_EQ(dialog->Tabs()->tabText(HistoryDialog::Advisor), "Berater");
    EXPECT_EQ(menu->Entry(HistoryDialog::Advisor)->text(), "Be&rater...");
    EXPECT_EQ(dialog->Advice()->item(0)->text().toStdString(),
              ComputeAdvice(s, s.CurrentCompany, Language::German)[0].Text);
    dialog->close();
}

TEST_F(HistoryWindowTest, AClickOnAHintOpensItsCommandInItsTown)
{
    TForm1& form = OpenWithGame(1, 3);
    Press(form.Button8);
    HistoryMenu* menu = form.findChild<HistoryMenu*>();
    menu->Entry(HistoryDialog::Advisor)->trigger();
    HistoryDialog* dialog = menu->Dialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_FALSE(dialog->Hints().empty());
    const AdvisorHint hint = dialog->Hints().back();
    QListWidget* list = dialog->Advice();
    QListWidgetItem* item = list->item(list->count() - 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    EXPECT_FALSE(dialog->isVisible()) << "the panel is what the player needs now";
    EXPECT_EQ(form.State().SelectedTown, hint.CommandTown);
    const std::pair<CommandKind, PanelMode> modes[] = {
        {CommandKind::ChangePrices, PanelMode::ChangePrices}, {CommandKind::TransferMoney, PanelMode::TransferMoney},
        {CommandKind::BuildDepot, PanelMode::BuildDepot},     {CommandKind::ExtendBrewery, PanelMode::ExtendBrewery},
        {CommandKind::BuildBrewery, PanelMode::BuildBrewery}, {CommandKind::TransportBeer, PanelMode::TransportBeer},
        {CommandKind::DeleteOrder, PanelMode::DeleteOrder}};
    PanelMode expected = PanelMode::None;
    for (const auto& [kind, mode] : modes)
        if (kind == hint.Command)
            expected = mode;
    EXPECT_EQ(form.Panel().CommandMode, expected);
    EXPECT_TRUE(form.Button9->isVisible()) << "the command's OK is there to press";
}

TEST_F(HistoryWindowTest, TheAdvisorAfterEachTurnIsAnOptionKeptInTheSettings)
{
    {
        TForm1& form = OpenWithGame(2, 1);
        HistoryMenu* menu = form.findChild<HistoryMenu*>();
        QAction* option = menu->AdvisorOption();
        ASSERT_NE(option, nullptr);
        EXPECT_FALSE(option->isChecked()) << "off unless chosen";
        EXPECT_EQ(option->text(), "&Advisor after each turn");
        QMenu* options = form.Menu(MenuEntry::Sound1)->menu();
        ASSERT_NE(options, nullptr);
        EXPECT_TRUE(options->actions().contains(option)) << "in the Options menu";
        Press(form.Button8);
        EXPECT_TRUE(menu->Dialog() == nullptr || !menu->Dialog()->isVisible()) << "the original's flow";
        option->trigger();
        Press(form.Button8);
        ASSERT_NE(menu->Dialog(), nullptr);
        EXPECT_TRUE(menu->Dialog()->isVisible());
        EXPECT_EQ(menu->Dialog()->Tabs()->currentIndex(), HistoryDialog::Advisor);
        menu->Dialog()->close();
        form.Deutsch1Click();
        EXPECT_EQ(option->text(), "&Berater nach jedem Zug");
        form_.reset();
    }
    TForm1& again = Open();
    EXPECT_TRUE(again.findChild<HistoryMenu*>()->AdvisorOption()->isChecked());
}

TEST_F(HistoryWindowTest, TheTownInformationOpensTheTownForecastWithF)
{
    TForm1& form = OpenWithGame(1, 3);
    Press(form.Button8);  // Next Turn
    TownForecastMenu* menu = form.findChild<TownForecastMenu*>();
    ASSERT_NE(menu, nullptr);
    // F on the idle panel is no key of the forecast.
    QTest::keyClick(form.Button1, Qt::Key_F);
    EXPECT_EQ(menu->Window(), nullptr);

    Press(form.Button11);  // the town information
    QTest::keyClick(form.Button9, Qt::Key_F);
    TownForecastWindow* window = menu->Window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isVisible());
    const GameState& s = form.State();
    const auto shows = [&](const GameState& state) {
        const TownForecast expected = ComputeTownForecast(state, state.Program.Language);
        EXPECT_EQ(window->Title()->text().toStdString(), "<b>" + expected.Title + "</b>");
        ASSERT_EQ(window->Table()->rowCount(), static_cast<int>(expected.Rows.size()));
        for (int r = 0; r < window->Table()->rowCount(); ++r)
            for (int column = 0; column < 8; ++column)
                EXPECT_EQ(window->Table()->item(r, column)->text().toStdString(),
                          expected.Rows[static_cast<size_t>(r)].Cells[static_cast<size_t>(column)]);
        EXPECT_EQ(window->Note()->text().toStdString(), expected.Note);
    };
    shows(s);
    EXPECT_EQ(window->Table()->rowCount(), 1);
    EXPECT_NE(window->Note()->text().indexOf("today's wages"), -1);

    // Another town clicked on the map: the window follows it once the click is handled.
    const int other = (s.SelectedTown + 1) % kTowns;
    const TownRect& rect = kTownHitRects[0][static_cast<size_t>(other)];
    ClickAt(rect.XFrom + 2, rect.YFrom + 2);
    QTest::qWait(20);
    ASSERT_EQ(s.SelectedTown, other);
    EXPECT_NE(window->Title()->text().indexOf(QString::fromStdString(s.TownName[other])), -1);
    shows(s);

    // A price changed with Change Prices and Enter (a shortcut, no key press reaches a widget).
    Press(form.Button10);  // Cancel
    Press(form.Button6);   // Change Prices
    Type(form.Edit2, "2.75");
    QTest::keyClick(form.Edit2, Qt::Key_Return);
    QTest::qWait(20);
    ASSERT_FLOAT_EQ(s.Price[s.CurrentCompany][0][other], 2.75f) << "the price was changed";
    EXPECT_EQ(window->Table()->item(0, 1)->text(), "2.75 $");
    shows(s);

    // Closed, the Statistics menu opens it again; the language switch reaches it.
    window->CloseButton()->click();
    EXPECT_FALSE(window->isVisible());
    menu->Entry()->trigger();
    EXPECT_TRUE(window->isVisible());
    form.Deutsch1Click();
    EXPECT_EQ(menu->Entry()->text(), QString::fromUtf8("Vorschau für die S&tadt...\tF"));
    EXPECT_NE(window->Note()->text().indexOf(QString::fromUtf8("heutigen Löhnen")), -1);
    shows(s);
    window->close();
}
