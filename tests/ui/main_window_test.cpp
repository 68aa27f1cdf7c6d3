/// @file main_window_test.cpp The main window: start-up, layout, menus, language and close.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <csignal>

#include "persistence/game_files.h"
#include "persistence/settings.h"
#include "ui/exit_signals.h"
#include "window_fixture.h"

TEST_F(WindowTest, FirstStartWithoutSettingsFileIsEnglishWithSoundAndWithoutAutosave)
{
    TForm1& form = Open();
    EXPECT_EQ(form.windowTitle(), "The TAVREK! War");
    EXPECT_TRUE(form.SoundOn());
    EXPECT_FALSE(form.AutosaveOnExit());
    EXPECT_TRUE(form.Menu(MenuEntry::Sound2)->isChecked());
    EXPECT_FALSE(form.Menu(MenuEntry::FastExit1)->isChecked());
    EXPECT_TRUE(form.Menu(MenuEntry::Bestopponent1)->isChecked());
    EXPECT_EQ(ReadSetting(dir_.Str(), settings::kInitialized), "1");
    ASSERT_FALSE(recorder_.Sounds.empty());
    EXPECT_EQ(recorder_.Sounds.front(), 5);
    EXPECT_TRUE(form.RadioButton1->isChecked());
    EXPECT_TRUE(form.RadioButton1->isVisible());
    EXPECT_FALSE(form.Button1->isVisible());
    EXPECT_FALSE(form.Button9->isVisible());
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::None);
}

TEST_F(WindowTest, ClientAreaAndControlsSitAtTheirPlaces)
{
    TForm1& form = Open();
    EXPECT_EQ(form.Surface()->size(), QSize(790, 535));
    EXPECT_EQ(form.StatusBar1->geometry(), QRect(0, 520, 790, 15));
    EXPECT_EQ(form.Button1->geometry(), QRect(16, 432, 185, 33));
    EXPECT_EQ(form.Button9->geometry(), form.Button7->geometry());
    EXPECT_EQ(form.Button10->geometry(), form.Button8->geometry());
    EXPECT_EQ(form.Button11->geometry(), QRect(275, 408, 250, 17));
    EXPECT_EQ(form.ListBox2->geometry(), QRect(40, 440, 521, 57));
    EXPECT_EQ(form.Edit5->geometry(), QRect(160, 424, 97, 21));
    // The game's own hint; the keys are named with the comforts.
    EXPECT_EQ(form.Button4->toolTip(), "Send your goods into the whole world");
}

TEST_F(WindowTest, SavedOptionsAndGermanAreReadAtStart)
{
    WriteSetting(dir_.Str(), settings::kInitialized, "1");
    WriteSetting(dir_.Str(), settings::kLanguage, "2");
    WriteSetting(dir_.Str(), settings::kSound, "0");
    WriteSetting(dir_.Str(), settings::kAutosave, "1");
    TForm1& form = Open();
    EXPECT_EQ(form.windowTitle(), "TAVRIK! - Das Spiel");
    EXPECT_EQ(form.Menu(MenuEntry::Game1)->text(), "&Spiel");
    EXPECT_EQ(form.Button8->text(), "&Nächste Runde");
    EXPECT_TRUE(form.RadioButton2->isChecked());
    EXPECT_FALSE(form.SoundOn());
    EXPECT_FALSE(form.Menu(MenuEntry::Sound2)->isChecked());
    EXPECT_TRUE(form.AutosaveOnExit());
    EXPECT_TRUE(form.Menu(MenuEntry::FastExit1)->isChecked());
}

TEST_F(WindowTest, OptionTogglesKeepTheirCheckMarksAndTheFile)
{
    TForm1& form = Open();
    form.Menu(MenuEntry::Sound2)->trigger();
    EXPECT_FALSE(form.SoundOn());
    EXPECT_FALSE(form.Menu(MenuEntry::Sound2)->isChecked());
    EXPECT_EQ(ReadSetting(dir_.Str(), settings::kSound), "0");
    form.Menu(MenuEntry::FastExit1)->trigger();
    EXPECT_TRUE(form.Menu(MenuEntry::FastExit1)->isChecked());
    EXPECT_EQ(ReadSetting(dir_.Str(), settings::kAutosave), "1");
    form.Menu(MenuEntry::Bestopponent1)->trigger();
    EXPECT_FALSE(form.State().Program.ShowBestOpponent);
    EXPECT_FALSE(form.Menu(MenuEntry::Bestopponent1)->isChecked());
}

TEST_F(WindowTest, EntriesThatNeedAGameDoNothingOnTheStartScreen)
{
    TForm1& form = Open();
    saveFile_ = QString::fromStdString((dir_ / "never.tsg").string());
    for (MenuEntry e : {MenuEntry::Save1, MenuEntry::Saveas1, MenuEntry::New2, MenuEntry::Delete1,
                        MenuEntry::DisplayChange1, MenuEntry::MarketShares1, MenuEntry::StatisticDialog1})
        form.Menu(e)->trigger();
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::None);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "never.tsg"));
    EXPECT_TRUE(recorder_.Messages.empty());
    // A click on the start screen selects nothing.
    ClickAt(100, 220);
    EXPECT_FALSE(form.State().GameActive);
    EXPECT_TRUE(form.RadioButton1->isVisible());
}

TEST_F(WindowTest, LanguageSwitchFromStartScreenAndMenuIsStoredAndTranslatesEverything)
{
    TForm1& form = Open();
    QTest::mouseClick(form.RadioButton2, Qt::LeftButton, Qt::NoModifier, QPoint(5, 8));
    EXPECT_EQ(form.State().Program.Language, Language::German);
    EXPECT_EQ(ReadSetting(dir_.Str(), settings::kLanguage), "2");
    EXPECT_EQ(form.windowTitle(), "TAVRIK! - Das Spiel");
    EXPECT_EQ(form.Menu(MenuEntry::Open1)->text(), "Ö&ffnen");
    EXPECT_EQ(form.Menu(MenuEntry::RestoreNames1)->text(), "Namen Wiederherstellen");
    EXPECT_EQ(form.Button11->toolTip(), "Alles was Sie über die Städte wissen müssen");
    form.Menu(MenuEntry::English1)->trigger();
    EXPECT_EQ(form.State().Program.Language, Language::English);
    EXPECT_EQ(ReadSetting(dir_.Str(), settings::kLanguage), "1");
    EXPECT_EQ(form.Menu(MenuEntry::Open1)->text(), "&Open");
    // The menu entries leave the radio buttons as they were.
    EXPECT_TRUE(form.RadioButton2->isChecked());
}

TEST_F(WindowTest, ClosingWithoutAGameNeverAsks)
{
    TForm1& form = Open();
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(recorder_.Messages.empty());
}

TEST_F(WindowTest, ClosingWithAGameAsksAndNoKeepsTheGame)
{
    TForm1& form = OpenWithGame(1);
    recorder_.Messages.clear();
    recorder_.Answers = {false};
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.State().GameActive);
    ASSERT_EQ(recorder_.Messages.size(), 1u);
    EXPECT_TRUE(recorder_.Messages[0].Question);
    EXPECT_EQ(recorder_.Messages[0].Text.English, "Do you really want to leave this game?");
    recorder_.Answers = {true};
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.State().GameActive);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "Autosave.tsg"));
}

TEST_F(WindowTest, ClosingWithAutosaveWritesTheGameWithoutAQuestion)
{
    TForm1& form = OpenWithGame(2);
    form.Menu(MenuEntry::FastExit1)->trigger();
    recorder_.Messages.clear();
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(recorder_.Messages.empty());
    EXPECT_TRUE(std::filesystem::exists(dir_ / "Autosave.tsg"));
    EXPECT_FALSE(form.State().GameActive);
}

TEST_F(WindowTest, HelpAndNamesFileOpenThroughTheDesktopOrSayWhichFileFailed)
{
    TForm1& form = Open();
    form.Menu(MenuEntry::EditNames1)->trigger();
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_TRUE(opened_[0].endsWith("TavrekNames.ini"));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "TavrekNames.ini"));
    EXPECT_TRUE(recorder_.Messages.empty());

    // No help pages in this directory: the player learns which file was tried.
    form.Menu(MenuEntry::Contents1)->trigger();
    ASSERT_EQ(recorder_.Messages.size(), 1u);
    EXPECT_NE(recorder_.Messages[0].Text.English.find("help/index1.html"), std::string::npos);
    EXPECT_EQ(recorder_.Messages[0].Icon, MessageIcon::Warning);

    std::filesystem::create_directories(dir_ / "help");
    std::ofstream(dir_ / "help" / "index2.html") << "<html></html>";
    form.Menu(MenuEntry::Deutsch1)->trigger();
    form.Menu(MenuEntry::Contents1)->trigger();
    EXPECT_EQ(recorder_.Messages.size(), 1u);
    ASSERT_EQ(opened_.size(), 2u);
    EXPECT_TRUE(opened_[1].endsWith("help/index2.html"));
    EXPECT_EQ(form.HelpWindow(), nullptr) << "the desktop showed it";
}

// SIGTERM, SIGHUP and SIGINT end the window as Exit does, without a question: with autosave the
// game is saved with its record; without, it is left as "Yes" to the close question leaves it.
TEST_F(WindowTest, SignalsEndTheWindowAsExitDoesWithoutAQuestion)
{
    struct Case {
        int signal;
        bool autosave;
    };
    for (const Case c : {Case{SIGTERM, true}, Case{SIGHUP, false}, Case{SIGINT, true}}) {
        std::filesystem::remove(dir_ / "Autosave.tsg");
        TForm1& form = OpenWithGame(2);
        Press(form.Button8);  // a month played: the game has changed since it began
        if (form.AutosaveOnExit() != c.autosave)
            form.Menu(MenuEntry::FastExit1)->trigger();
        WatchExitSignals(form);
        recorder_.Messages.clear();
        const int month = form.State().MonthCount;
        ASSERT_EQ(::raise(c.signal), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!form.isVisible(), 5000);
        EXPECT_TRUE(recorder_.Messages.empty()) << c.signal << ": nothing was asked or shown";
        EXPECT_FALSE(form.State().GameActive) << c.signal;
        EXPECT_EQ(ReadSetting(dir_.Str(), settings::kAutosave), c.autosave ? "1" : "0") << c.signal;
        const OpenedPair saved = ReadGameAndRecord((dir_ / "Autosave.tsg").string());
        if (c.autosave) {
            ASSERT_EQ(saved.Game, LoadStatus::Loaded) << c.signal;
            EXPECT_EQ(saved.Content->Game.MonthCount, month) << c.signal;
            EXPECT_EQ(saved.Record, HistoryLoad::Loaded) << c.signal;
            EXPECT_EQ(saved.History.Months.size(), static_cast<size_t>(month - 1)) << c.signal;
        } else {
            EXPECT_EQ(saved.Game, LoadStatus::CannotOpen) << c.signal << ": nothing saved";
        }
    }
}
