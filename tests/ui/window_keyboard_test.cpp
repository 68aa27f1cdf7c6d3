/// @file window_keyboard_test.cpp The window played from the keyboard: a month with keys alone,
/// Enter and Escape in the panel, the Tab order, the access keys and menu shortcuts, Escape in
/// every dialog.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <set>

#include "ui/help_window.h"
#include "ui/high.h"
#include "ui/info.h"
#include "ui/keyboard.h"
#include "ui/newgame.h"
#include "ui/zwischen.h"
#include "window_fixture.h"

namespace {

class KeyboardTest : public WindowTest {
protected:
    TForm1& Ready(int map = 1, int start = 2)
    {
        TForm1& form = OpenWithGame(map, start);
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        recorder_.Messages.clear();
        return form;
    }
    /// A key as the player presses it: to the widget that has the focus.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target ? target : form_.get(), key, modifiers);
    }
    /// Alt and the button's letter: the button shows itself pressed for a moment, then clicks.
    void AccessKey(Qt::Key key, const std::function<bool()>& done)
    {
        Key(key, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor(done, 2000)) << "Alt+" << QKeySequence(key).toString().toStdString();
    }
    void Keys(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    static QWidget* Focus() { return QApplication::focusWidget(); }
};

}  // namespace

TEST_F(KeyboardTest, AMonthIsPlayedWithTheKeyboardAlone)
{
    comforts_ = true;  // the bare N key and the hints that name the keys
    TForm1& form = Ready();
    const GameState& s = form.State();
    const int me = s.CurrentCompany;
    const int town = s.SelectedTown;

    // Change Prices: the first price field has the focus; Enter is OK.
    AccessKey(Qt::Key_P, [&form] { return form.Panel().CommandMode == PanelMode::ChangePrices; });
    ASSERT_EQ(form.Panel().CommandMode, PanelMode::ChangePrices);
    EXPECT_EQ(Focus(), form.Edit2);
    ASSERT_FALSE(form.Edit2->text().isEmpty());
    Keys("3.75");  // types over the price shown
    Key(Qt::Key_Return);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::Idle);
    EXPECT_EQ(s.Price[me][0][town], 3.75f);
    EXPECT_TRUE(recorder_.Messages.empty()) << recorder_.EnglishTexts().front();

    // Build Depot, then Escape: nothing built. A mode without inputs starts on OK.
    AccessKey(Qt::Key_D, [&form] { return form.Panel().CommandMode == PanelMode::BuildDepot; });
    ASSERT_EQ(form.Panel().CommandMode, PanelMode::BuildDepot);
    EXPECT_EQ(Focus(), form.Button9);
    Key(Qt::Key_Escape);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::Idle);
    EXPECT_FALSE(s.HasDepot[me][town]);

    // The town information: Enter shows the sales, Escape goes back to the buttons.
    AccessKey(Qt::Key_I, [&form] { return form.Panel().CommandMode == PanelMode::TownInformation; });
    ASSERT_EQ(form.Panel().CommandMode, PanelMode::TownInformation);
    Key(Qt::Key_Enter);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::LastSales);
    Key(Qt::Key_Escape);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::Idle);

    // Transfer Money: amount, Tab to the towns, the first town, Enter.
    const long double before = s.Account[me][town];
    AccessKey(Qt::Key_M, [&form] { return form.Panel().CommandMode == PanelMode::TransferMoney; });
    ASSERT_EQ(form.Panel().CommandMode, PanelMode::TransferMoney);
    EXPECT_EQ(Focus(), form.Edit5);
    Keys("1000");
    Key(Qt::Key_Tab);
    EXPECT_EQ(Focus(), form.ListBox4);
    Key(Qt::Key_Down);
    ASSERT_EQ(form.ListBox4->selectedItems().size(), 1);
    // "N" in a command is a letter for the field, never the end of the month.
    Key(Qt::Key_N);
    EXPECT_EQ(s.MonthCount, 1);
    Key(Qt::Key_Return);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::Idle);
    EXPECT_EQ(s.Account[me][town], before - 1000);

    // Enter on the idle panel never ends the month; N does.
    Key(Qt::Key_Return);
    EXPECT_EQ(s.MonthCount, 1);
    Key(Qt::Key_N);
    EXPECT_EQ(s.MonthCount, 2);
    // Alt+N as well, in German too.
    form.Menu(MenuEntry::Deutsch1)->trigger();
    AccessKey(Qt::Key_N, [&s] { return s.MonthCount == 3; });
    EXPECT_TRUE(form.Button8->toolTip().endsWith("(Taste N oder Alt+N)"));
}

TEST_F(KeyboardTest, EnterPressesTheFocusedButtonAndTheFirstDownChoosesTheFirstEntry)
{
    TForm1& form = Ready();
    const GameState& s = form.State();
    const int me = s.CurrentCompany;
    ASSERT_EQ(s.SelectedTown, me);
    const long double money = s.Account[me][me];

    // Extend Brewery, the brand, a step, Tab to Cancel, Enter: Cancel, nothing is bought.
    form.Button2->click();
    ASSERT_EQ(Focus(), form.ListBox1);
    ASSERT_EQ(form.ListBox1->count(), 1);
    EXPECT_TRUE(form.ListBox1->selectedItems().isEmpty()) << "the game preselects nothing";
    Key(Qt::Key_Down);
    ASSERT_EQ(form.ListBox1->selectedItems().size(), 1) << "the first Down chooses the entry shown";
    EXPECT_EQ(form.ListBox1->currentRow(), 0);
    Key(Qt::Key_Tab);
    Keys("1");
    Key(Qt::Key_Tab);
    Key(Qt::Key_Tab);
    ASSERT_EQ(Focus(), form.Button10);
    Key(Qt::Key_Return);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::Idle);
    EXPECT_EQ(s.Account[me][me], money) << "Enter on Cancel bought the extension";
    EXPECT_TRUE(recorder_.Messages.empty());

    // Enter on a focused OK, and Enter in a field, are OK.
    for (const bool onButton : {true, false}) {
        const long double before = s.Account[me][me];
        form.Button2->click();
        Key(Qt::Key_Down);
        Key(Qt::Key_Tab);
        Keys("1");
        if (onButton) {
            Key(Qt::Key_Tab);
            ASSERT_EQ(Focus(), form.Button9);
        }
        Key(Qt::Key_Enter);
        EXPECT_EQ(form.Panel().CommandMode, PanelMode::Idle) << onButton;
        EXPECT_LT(s.Account[me][me], before) << onButton;
    }
    // In a list of several towns the first Down, or Up, chooses the entry the focus shows.
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up}) {
        form.Button5->click();  // Transfer Money
        Key(Qt::Key_Tab);
        ASSERT_EQ(Focus(), form.ListBox4);
        ASSERT_GT(form.ListBox4->count(), 1);
        Key(key);
        ASSERT_EQ(form.ListBox4->selectedItems().size(), 1);
        EXPECT_EQ(form.ListBox4->currentRow(), 0);
        Key(Qt::Key_Down);
        EXPECT_EQ(form.ListBox4->currentRow(), 1) << "then Down steps on";
        Key(Qt::Key_Escape);
    }
}

TEST_F(KeyboardTest, PageDownAndPageUpChooseTheNextAndPreviousTown)
{
    TForm1& form = Ready();
    const GameState& s = form.State();
    const int start = s.SelectedTown;
    recorder_.Sounds.clear();
    // On the command buttons: the next town, with its sound and status line, as a click.
    Key(Qt::Key_PageDown);
    const int next = (start + 1) % kTowns;
    EXPECT_EQ(s.SelectedTown, next);
    EXPECT_TRUE(form.StatusText().contains(QString::fromStdString(" in " + s.TownName[next] + ", ")));
    EXPECT_EQ(recorder_.Sounds.size(), 1u);
    Key(Qt::Key_PageUp);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(s.SelectedTown, (start + kTowns - 1) % kTowns);

    // In a command for the selected town: the command starts afresh in the next town.
    form.Button6->click();  // Change Prices
    ASSERT_EQ(Focus(), form.Edit2);
    Keys("9.99");
    const int from = s.SelectedTown;
    Key(Qt::Key_PageDown);
    EXPECT_EQ(s.SelectedTown, (from + 1) % kTowns);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::ChangePrices);
    EXPECT_NE(form.Edit2->text(), "9.99") << "the new town's prices are shown";
    Key(Qt::Key_Escape);

    // Where the panel does not follow the town, the keys choose none.
    form.Menu(MenuEntry::MarketShares1)->trigger();
    const int shown = s.SelectedTown;
    Key(Qt::Key_PageDown);
    EXPECT_EQ(s.SelectedTown, shown);
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::MarketShares);
}

TEST_F(KeyboardTest, TabRunsThroughTheModesControlsInReadingOrder)
{
    TForm1& form = Ready();
    struct Case {
        MenuEntry entry;  // the menu entry that opens the mode, or Game1 for a button
        QPushButton* button;
        std::vector<QWidget*> order;
    };
    const Case cases[] = {
        {MenuEntry::New2,
         nullptr,
         {form.Edit5, form.ListBox6, form.ListBox5, form.ListBox4, form.Button9, form.Button10}},
        {MenuEntry::Game1, form.Button4, {form.Edit5, form.ListBox3, form.ListBox4, form.Button9, form.Button10}},
        {MenuEntry::Game1, form.Button2, {form.ListBox1, form.Edit1, form.Button9, form.Button10}},
        {MenuEntry::Game1, form.Button6, {form.Edit2, form.Edit3, form.Edit4, form.Button9, form.Button10}},
    };
    for (const Case& c : cases) {
        Key(Qt::Key_Escape);
        if (c.button)
            c.button->click();
        else
            form.Menu(c.entry)->trigger();
        for (size_t i = 0; i < c.order.size(); ++i) {
            EXPECT_EQ(Focus(), c.order[i]) << "mode " << form.Panel().CommandMode << " step " << i << " at "
                                           << (Focus() ? Focus()->objectName().toStdString() : "nothing");
            Key(Qt::Key_Tab);
        }
    }
}

TEST_F(KeyboardTest, MenuShortcutsAndAccessKeysInBothLanguages)
{
    const std::pair<MenuEntry, const char*> shortcuts[] = {
        {MenuEntry::New1, "Ctrl+N"},          {MenuEntry::Open1, "Ctrl+O"}, {MenuEntry::Save1, "Ctrl+S"},
        {MenuEntry::Saveas1, "Ctrl+Shift+S"}, {MenuEntry::Exit1, "Ctrl+Q"}, {MenuEntry::Contents1, "F1"}};
    TForm1& form = Ready();
    for (const auto& [entry, key] : shortcuts)
        EXPECT_EQ(form.Menu(entry)->shortcut(), QKeySequence(key)) << key;

    // Ctrl+N opens the new game dialog, F1 the help, Ctrl+Shift+S the save dialog.
    int dialogs = 0;
    form.RunNewGameDialog = [&dialogs](TNGDialog&) {
        ++dialogs;
        return false;
    };
    Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(dialogs, 1);
    std::filesystem::copy(TAVREK_HELP_DIR, dir_ / "help");
    Key(Qt::Key_F1);
    ASSERT_EQ(opened_.size(), 1u);
    saveFile_ = QString::fromStdString((dir_ / "keys.tsg").string());
    Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "keys.tsg"));

    // The access keys: the captions are the game's own words with one letter marked, a letter
    // used once on the panel and by no menu of the menu bar.
    for (const Language language : {Language::English, Language::German}) {
        std::set<QChar> letters;
        for (const MenuEntry bar : {MenuEntry::Game1, MenuEntry::Standingorders1, MenuEntry::Statistics1,
                                    MenuEntry::Sound1, MenuEntry::Language1, MenuEntry::Help1}) {
            const QString caption = QString::fromStdString(kMenuCaptions[static_cast<size_t>(bar)].In(language));
            if (caption.contains('&'))
                letters.insert(caption.at(caption.indexOf('&') + 1).toUpper());
        }
        const size_t menuLetters = letters.size();
        for (size_t i = 0; i < kPanelAccessKeys.size(); ++i) {
            const QString marked = QString::fromStdString(kPanelAccessKeys[i].Caption.In(language));
            ASSERT_EQ(marked.count('&'), 1) << marked.toStdString();
            const size_t button = i < 8 ? i : 10;
            EXPECT_EQ(QString(marked).remove('&').toStdString(), kButtonTexts[button].Caption.In(language));
            letters.insert(marked.at(marked.indexOf('&') + 1).toUpper());
        }
        EXPECT_EQ(letters.size(), menuLetters + kPanelAccessKeys.size()) << "a letter used twice";
        // Town information's Sales button has a letter of its own too.
        const QString sales = OkCaptionWithAccessKey(PanelMode::TownInformation, "", language);
        ASSERT_EQ(sales.count('&'), 1);
        EXPECT_EQ(letters.count(sales.at(sales.indexOf('&') + 1).toUpper()), 0u) << sales.toStdString();
    }

    // In every menu no letter twice; the Language, Standing orders and Statistics menus have one
    // for every entry.
    for (const Language language : {Language::English, Language::German}) {
        form.Menu(language == Language::German ? MenuEntry::Deutsch1 : MenuEntry::English1)->trigger();
        for (QAction* bar : form.menuBar()->actions()) {
            QMenu* menu = bar->menu();
            ASSERT_NE(menu, nullptr);
            const bool everyEntry = bar == form.Menu(MenuEntry::Language1) ||
                                    bar == form.Menu(MenuEntry::Standingorders1) ||
                                    bar == form.Menu(MenuEntry::Statistics1);
            std::set<QChar> used;
            for (QAction* entry : menu->actions()) {
                if (entry->isSeparator())
                    continue;
                const QString text = entry->text();
                const qsizetype mark = text.indexOf('&');
                EXPECT_TRUE(!everyEntry || mark >= 0) << text.toStdString() << " has no access key";
                if (mark >= 0) {
                    EXPECT_TRUE(used.insert(text.at(mark + 1).toUpper()).second)
                        << bar->text().toStdString() << ": " << text.toStdString() << " repeats a letter";
                }
            }
        }
    }
}

TEST_F(KeyboardTest, EscapeClosesEveryDialog)
{
    TForm1& form = Ready();
    // A dialog that Escape leaves open is closed after a while, and the test fails.
    auto escapeLater = [](QWidget* dialog, bool* closedByKey) {
        QTimer::singleShot(0, dialog, [dialog] { QTest::keyClick(dialog, Qt::Key_Escape); });
        QTimer::singleShot(2000, dialog, [dialog, closedByKey] {
            if (dialog->isVisible()) {
                *closedByKey = false;
                dialog->close();
            }
        });
    };
    bool closed = true;
    escapeLater(form.BestOpponentDialog(), &closed);
    form.BestOpponentDialog()->ShowFor(form.State());
    EXPECT_TRUE(closed) << "best opponent";
    escapeLater(form.HighscoreDialog(), &closed);
    form.HighscoreDialog()->ShowFor(form.State().Program.ProgramDirectory, Language::English);
    EXPECT_TRUE(closed) << "highscore";

    auto* ng = form.findChild<TNGDialog*>();
    ASSERT_NE(ng, nullptr);
    escapeLater(ng, &closed);
    EXPECT_EQ(ng->exec(), QDialog::Rejected);
    EXPECT_TRUE(closed) << "new game";

    // The information and the help window stay beside the game: Escape hides them.
    form.Menu(MenuEntry::Info1)->trigger();
    auto* info = form.findChild<TInfoDialog*>();
    ASSERT_TRUE(info && info->isVisible());
    QTest::keyClick(info, Qt::Key_Escape);
    EXPECT_FALSE(info->isVisible());

    std::filesystem::copy(TAVREK_HELP_DIR, dir_ / "help");
    documentOpens_ = false;
    form.Menu(MenuEntry::Contents1)->trigger();
    ASSERT_NE(form.HelpWindow(), nullptr);
    ASSERT_TRUE(form.HelpWindow()->isVisible());
    QTest::keyClick(form.HelpWindow(), Qt::Key_Escape);
    EXPECT_FALSE(form.HelpWindow()->isVisible());
}
