/// @file window_layouts_test.cpp Every window's layout table walked: names, places inside the
/// window, no overlap the layout does not mean, words in both languages, and the built windows
/// where their tables put them.
#include <QFontMetrics>
#include <QLabel>
#include <QTabWidget>
#include <set>
#include <sstream>

#include "commands/panel_content.h"
#include "ui/dialog_support.h"
#include "ui/high.h"
#include "ui/info.h"
#include "ui/newgame.h"
#include "ui/window_layouts.h"
#include "ui/zwischen.h"
#include "window_fixture.h"

namespace {

bool IsContainer(ControlKind kind)
{
    return kind == ControlKind::Frame || kind == ControlKind::GroupBox || kind == ControlKind::Tabs;
}

/// The rectangle a control covers; a label's is its widest caption in the window font.
QRect Covered(const ControlLayout& c)
{
    const LayoutRect& r = c.Rect;
    if (c.Kind != ControlKind::Label)
        return QRect(r.X, r.Y, r.Width, r.Height);
    const QFontMetrics m(WindowFont());
    int width = 1;
    if (c.Caption)
        for (const Language language : {Language::English, Language::German})
            width = std::max(width, m.horizontalAdvance(QString::fromStdString(c.Caption->In(language))));
    return QRect(r.X, r.Y, width, m.height());
}

std::string Name(const ControlLayout& c) { return std::string(c.Name); }

}  // namespace

TEST(WindowLayouts, EveryControlIsNamedOnceLiesInsideItsWindowAndHasItsWordsInBothLanguages)
{
    std::ostringstream faults;
    for (const WindowLayout* layout : kAllLayouts) {
        const std::string window(layout->Name);
        const QRect client(0, 0, layout->ClientWidth, layout->ClientHeight);
        std::set<std::string_view> names;
        if (layout->Title && (layout->Title->English.empty() || layout->Title->German.empty()))
            faults << window << ": title without both languages\n";
        for (const ControlLayout& c : layout->Controls) {
            if (!names.insert(c.Name).second)
                faults << window << ": " << Name(c) << " twice\n";
            if (c.Kind != ControlKind::Label && (c.Rect.Width <= 0 || c.Rect.Height <= 0))
                faults << window << ": " << Name(c) << " has no size\n";
            if (!client.contains(Covered(c)))
                faults << window << ": " << Name(c) << " leaves the window\n";
            for (const LocalText* text : {c.Caption, c.Hint})
                if (text && (text->English.empty() || text->German.empty()))
                    faults << window << ": " << Name(c) << " lacks a language\n";
        }
    }
    EXPECT_EQ(faults.str(), "");
}

TEST(WindowLayouts, DialogControlsOverlapOnlyInFramesOrWhereTheyTakeTurns)
{
    std::ostringstream faults;
    for (const WindowLayout* layout : kAllLayouts) {
        if (layout == &kMainWindowLayout)
            continue;  // the panel's modes show different controls at the same places: below
        const auto& controls = layout->Controls;
        for (size_t i = 0; i < controls.size(); ++i)
            for (size_t j = i + 1; j < controls.size(); ++j) {
                const ControlLayout& a = controls[i];
                const ControlLayout& b = controls[j];
                if (IsContainer(a.Kind) || IsContainer(b.Kind) || (a.Stack != 0 && a.Stack == b.Stack))
                    continue;
                if (Covered(a).intersects(Covered(b)))
                    faults << layout->Name << ": " << Name(a) << " overlaps " << Name(b) << "\n";
            }
    }
    EXPECT_EQ(faults.str(), "");
}

TEST_F(WindowTest, TheControlsOfEveryPanelModeDoNotOverlap)
{
    TForm1& form = Open();
    std::ostringstream faults;
    for (int number = static_cast<int>(PanelMode::None); number <= static_cast<int>(PanelMode::Statistics); ++number) {
        const PanelMode mode = static_cast<PanelMode>(number);
        GameState s = form.State();
        s.GameActive = mode != PanelMode::None;
        const PanelContent content = ComputePanelContent(s, mode);
        std::vector<const ControlLayout*> shown = {&FindControl(kMainWindowLayout, "StatusBar1")};
        if (mode == PanelMode::None)
            for (const char* name : {"RadioButton1", "RadioButton2"})
                shown.push_back(&FindControl(kMainWindowLayout, name));
        for (const PanelControl control : content.Visible)
            shown.push_back(&FindControl(kMainWindowLayout, form.Control(control)->objectName().toStdString()));
        for (size_t i = 0; i < shown.size(); ++i)
            for (size_t j = i + 1; j < shown.size(); ++j)
                if (Covered(*shown[i]).intersects(Covered(*shown[j])))
                    faults << "mode " << mode << ": " << Name(*shown[i]) << " overlaps " << Name(*shown[j]) << "\n";
    }
    EXPECT_EQ(faults.str(), "");
}

TEST_F(WindowTest, EveryWindowIsBuiltWhereItsTableSays)
{
    TForm1& form = Open();
    TNGDialog newGame;
    TInfoDialog info;
    TZwischenDialog bestOpponent;
    THighDialog highscore;
    struct Built {
        const WindowLayout* layout;
        QWidget* window;
    };
    const Built windows[] = {{&kMainWindowLayout, form.Surface()},
                             {&kTownsPageLayout, form.TabSheet1},
                             {&kCompaniesPageLayout, form.TabSheet2},
                             {&kNewGameLayout, &newGame},
                             {&kInfoLayout, &info},
                             {&kBestOpponentLayout, &bestOpponent},
                             {&kHighscoreLayout, &highscore}};
    // Each page gets its size once it has been shown.
    form.PageControl1->show();
    form.PageControl1->setCurrentIndex(1);
    form.PageControl1->setCurrentIndex(0);
    std::ostringstream faults;
    for (const Built& built : windows) {
        if (built.layout != &kNewGameLayout &&
            built.window->size() != QSize(built.layout->ClientWidth, built.layout->ClientHeight))
            faults << built.layout->Name << " is " << built.window->width() << " x " << built.window->height() << "\n";
        for (const ControlLayout& c : built.layout->Controls) {
            const auto* widget = built.window->findChild<QWidget*>(QString::fromStdString(Name(c)));
            if (!widget) {
                faults << built.layout->Name << ": " << Name(c) << " missing\n";
                continue;
            }
            const LayoutRect& r = c.Rect;
            const QRect expected = c.Kind == ControlKind::Label ? QRect(r.X, r.Y, widget->width(), widget->height())
                                                                : QRect(r.X, r.Y, r.Width, r.Height);
            if (widget->geometry() != expected)
                faults << built.layout->Name << ": " << Name(c) << " built elsewhere\n";
        }
    }
    EXPECT_EQ(faults.str(), "");
    EXPECT_EQ(newGame.size(), QSize(kNewGameLayout.ClientWidth, kNewGameNormalHeight));
}
