/// @file panel_content.h What the command panel shows in a mode: texts with their positions,
/// list entries, edit-field values, the OK button's caption and the visible controls. The
/// window only paints it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "commands/panel_mode.h"
#include "commands/statistics.h"
#include "game/game_state.h"

enum class TextAlign {
    Left,   ///< the text's top left corner is at (X, Y)
    Right,  ///< the text ends at X; its top is at Y
};

/// A text drawn on the panel band, in the window's font.
struct PanelText {
    int X = 0;
    int Y = 0;
    std::string Text;
    TextAlign Align = TextAlign::Left;

    bool operator==(const PanelText&) const = default;
};

/// The panel's controls, named as on the window.
enum class PanelControl {
    Button1,
    Button2,
    Button3,
    Button4,
    Button5,
    Button6,
    Button7,
    Button8,
    Button9,
    Button10,
    Button11,
    ListBox1,
    ListBox2,
    ListBox3,
    ListBox4,
    ListBox5,
    ListBox6,
    Edit1,
    Edit2,
    Edit3,
    Edit4,
    Edit5,
    StringGrid1,
    StringGrid2,
    PageControl1,
};

/// Rows and columns of the last month's sales grid, the heading row included.
inline constexpr int kSalesGridRows = 31;
inline constexpr int kSalesGridColumns = 5;
using SalesGridRow = std::array<std::string, kSalesGridColumns>;

struct PanelContent {
    PanelMode Mode = PanelMode::None;   ///< the mode this content belongs to
    std::vector<PanelText> Texts;       ///< in drawing order
    std::vector<PanelControl> Visible;  ///< the controls shown, in the order of PanelControl
    std::string Button9Caption = "OK";  ///< "OK", or the mode's own word
    std::string Button10Caption;        ///< empty: "Cancel" in the window's language
    std::vector<std::string> ListBox1;  ///< brands (Build and Extend Brewery)
    std::vector<std::string> ListBox2;  ///< standing orders
    std::vector<std::string> ListBox3;  ///< brands with stock, sorted
    std::vector<std::string> ListBox4;  ///< destination towns, sorted
    std::vector<std::string> ListBox5;  ///< source towns, sorted
    std::vector<std::string> ListBox6;  ///< what a new order moves
    /// What each row of a list stands for, beside its text: a brand slot (ListBox1, ListBox3,
    /// ListBox6 with kMoneyGoods for money), a town (ListBox4, ListBox5), a standing order's
    /// number 1..10 (ListBox2). The window makes the chosen rows a command with them.
    std::vector<int> ListBox1Values;
    std::vector<int> ListBox2Values;
    std::vector<int> ListBox3Values;
    std::vector<int> ListBox4Values;
    std::vector<int> ListBox5Values;
    std::vector<int> ListBox6Values;
    std::string Edit1;  ///< number of 100-litre steps
    std::string Edit2;  ///< price of brand 1
    std::string Edit3;  ///< price of brand 2
    std::string Edit4;  ///< price of brand 3
    std::string Edit5;  ///< amount
    /// The edit fields this mode writes on entering; the others keep whatever they hold (with
    /// every order slot in use, the new-order panel writes nothing and the amount stays).
    std::vector<PanelControl> FilledEdits;
    std::vector<SalesGridRow> SalesGrid;          ///< StringGrid1 in mode 6: heading row and 30 rows
    std::vector<StatisticsGridRow> MarketShares;  ///< StringGrid2 in mode 11: heading row and 10 rows
    /// A list with one entry comes with it selected (a comfort); otherwise nothing is selected
    /// until the player chooses, and OK without a choice asks for one.
    bool PreselectSingleEntry = false;

    bool Shows(PanelControl control) const;
};

/// The panel of a mode for the moving company, the selected town and the current language.
PanelContent ComputePanelContent(const GameState& s, PanelMode mode);

/// Orders list entries as the sorted list boxes keep them: alphabetically, ignoring case.
void SortListEntries(std::vector<std::string>& entries);
/// The same order, with each row's value moving along with its text.
void SortListEntries(std::vector<std::string>& entries, std::vector<int>& values);
