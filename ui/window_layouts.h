/// @file window_layouts.h Every window's controls as data: name, kind, rectangle, caption and
/// hint, in the order the window creates them (a later control lies above an earlier one). One
/// loop builds a window from its table (`BuildWindow`), a zoom scales the rectangles in one
/// place, and a structural test walks every table. No Qt here: the tables are plain numbers and
/// texts.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "game/text.h"

/// What a control is; the builder makes the matching widget.
enum class ControlKind {
    Button,
    DefaultButton,  ///< the button Enter presses
    ListBox,
    Edit,
    Field,  ///< a read-only text without a frame, on the button face
    Grid,
    Tabs,
    RadioButton,
    CheckBox,
    ComboBox,
    Label,  ///< sized by its text: only the top left corner is given
    GroupBox,
    Frame,
    StatusBar,
};

/// Client pixels of the window (or tab page) the control sits on.
struct LayoutRect {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

struct ControlLayout {
    std::string_view Name;  ///< as on the window
    ControlKind Kind = ControlKind::Label;
    LayoutRect Rect;
    const LocalText* Caption = nullptr;  ///< null: the window fills it from the game
    const LocalText* Hint = nullptr;     ///< tool tip
    /// Controls with the same non-zero number lie on top of each other by design, one of them
    /// shown at a time (OK over New Brand, the start-town lists of the three maps).
    int Stack = 0;
};

struct WindowLayout {
    std::string_view Name;
    int ClientWidth = 0;
    int ClientHeight = 0;
    std::span<const ControlLayout> Controls;
    const LocalText* Title = nullptr;  ///< null: the window sets its caption itself
};

/// The main window's client area.
inline constexpr int kClientWidth = 790;
inline constexpr int kClientHeight = 535;

/// The main window: the command panel's controls, the statistics view over the map, the start
/// screen's language choice and the status bar.
extern const WindowLayout kMainWindowLayout;
/// The statistics view's two tab pages.
extern const WindowLayout kTownsPageLayout;
extern const WindowLayout kCompaniesPageLayout;
/// The new game dialog at its enlarged height; without the advanced options it is
/// `kNewGameNormalHeight` high and the controls below that are out of sight.
extern const WindowLayout kNewGameLayout;
inline constexpr int kNewGameNormalHeight = 286;
extern const WindowLayout kInfoLayout;
extern const WindowLayout kBestOpponentLayout;
extern const WindowLayout kHighscoreLayout;

/// Where the start screen puts its pictures (top-left corners, client pixels): the title, and
/// the flags beside the language choice.
struct PicturePlace {
    int X = 0;
    int Y = 0;
};
inline constexpr PicturePlace kTitlePlace{271, 122};
inline constexpr PicturePlace kEnglishFlagPlace{330, 62};
inline constexpr PicturePlace kGermanFlagPlace{330, 82};

/// The band behind the command panel's controls, painted in the buttons' face colour.
inline constexpr LayoutRect kPanelBand{0, 401, 792, 113};
/// The grids' column widths at 100 %, left to right: last month's sales, the market shares, and
/// the statistics view's two pages.
inline constexpr std::array<int, 5> kSalesGridColumnWidths{250, 50, 50, 75, 75};
inline constexpr std::array<int, 5> kMarketShareGridColumnWidths{180, 70, 70, 70, 150};
inline constexpr std::array<int, 5> kStatisticsGridColumnWidths{230, 230, 80, 80, 80};
/// The map animation's tick.
inline constexpr int kAnimationTickMs = 100;

/// Every table, for the structural test.
extern const std::array<const WindowLayout*, 7> kAllLayouts;

/// The control of that name; a name the table does not hold is a programming error (aborts).
const ControlLayout& FindControl(const WindowLayout& layout, std::string_view name);
