/// @file window_layouts.cpp The tables of every window.
#include "ui/window_layouts.h"

#include <cstdio>
#include <cstdlib>

#include "ui/language_tables.h"

namespace {

using K = ControlKind;

const LocalText kEnglish = BothLanguages("English");
const LocalText kDeutsch = BothLanguages("Deutsch");
const LocalText kOk = BothLanguages("OK");

const ControlLayout kMainWindowControls[] = {
    {"Button1", K::Button, {16, 432, 185, 33}, &kButtonTexts[0].Caption, &kButtonTexts[0].Hint},
    {"Button2", K::Button, {16, 472, 185, 33}, &kButtonTexts[1].Caption, &kButtonTexts[1].Hint},
    {"Button3", K::Button, {208, 432, 185, 33}, &kButtonTexts[2].Caption, &kButtonTexts[2].Hint},
    {"Button4", K::Button, {208, 472, 185, 33}, &kButtonTexts[3].Caption, &kButtonTexts[3].Hint},
    {"Button5", K::Button, {400, 432, 185, 33}, &kButtonTexts[4].Caption, &kButtonTexts[4].Hint},
    {"Button6", K::Button, {400, 472, 185, 33}, &kButtonTexts[5].Caption, &kButtonTexts[5].Hint},
    {"Button7", K::Button, {592, 432, 185, 33}, &kButtonTexts[6].Caption, &kButtonTexts[6].Hint, 1},
    {"Button8", K::Button, {592, 472, 185, 33}, &kButtonTexts[7].Caption, &kButtonTexts[7].Hint, 2},
    // After New Brand and Next Turn, so OK and Cancel lie on top of them.
    {"Button9", K::Button, {592, 432, 185, 33}, nullptr, nullptr, 1},  // the mode's own word
    {"Button10", K::Button, {592, 472, 185, 33}, &kButtonTexts[9].Caption, nullptr, 2},
    {"Button11", K::Button, {275, 408, 250, 17}, &kButtonTexts[10].Caption, &kButtonTexts[10].Hint},
    {"ListBox1", K::ListBox, {96, 432, 217, 49}},
    {"ListBox2", K::ListBox, {40, 440, 521, 57}},
    {"ListBox3", K::ListBox, {328, 408, 233, 49}},
    {"ListBox4", K::ListBox, {328, 464, 233, 49}},
    {"ListBox5", K::ListBox, {56, 465, 233, 49}},
    {"ListBox6", K::ListBox, {288, 424, 273, 25}},
    {"Edit1", K::Edit, {96, 488, 33, 21}},
    {"Edit2", K::Edit, {480, 437, 49, 21}},
    {"Edit3", K::Edit, {480, 461, 49, 21}},
    {"Edit4", K::Edit, {480, 485, 49, 21}},
    {"Edit5", K::Edit, {160, 424, 97, 21}},
    {"StringGrid1", K::Grid, {40, 425, 521, 80}},
    {"StringGrid2", K::Grid, {20, 405, 555, 100}},
    {"PageControl1", K::Tabs, {16, 16, 761, 409}},
    {"RadioButton1", K::RadioButton, {350, 60, 73, 17}, &kEnglish},
    {"RadioButton2", K::RadioButton, {350, 80, 73, 17}, &kDeutsch},
    {"StatusBar1", K::StatusBar, {0, 520, kClientWidth, 15}},
};

// The statistics view's pages: a choice, a sort key and the grid; their words come from the
// statistics texts.
const ControlLayout kTownsPageControls[] = {
    {"Label1", K::Label, {8, 16}},
    {"ComboBox1", K::ComboBox, {104, 16, 185, 21}},
    {"Label2", K::Label, {416, 16}},
    {"ComboBox2", K::ComboBox, {536, 16, 185, 21}},
    {"StringGrid3", K::Grid, {16, 56, 721, 305}},
};
const ControlLayout kCompaniesPageControls[] = {
    {"Label3", K::Label, {8, 16}},
    {"ComboBox3", K::ComboBox, {104, 16, 185, 21}},
    {"Label4", K::Label, {416, 16}},
    {"ComboBox4", K::ComboBox, {536, 16, 185, 21}},
    {"StringGrid4", K::Grid, {8, 56, 721, 305}},
};

const LocalText kNewGameTitle{"New Game Setup", "Neues Spiel"};
const LocalText kMapCaption{"Map", "Karte"};
const LocalText kPeninsula{"Peninsula", "Halbinsel"};
const LocalText kIslands{"Islands", "Inselgruppe"};
const LocalText kContinental{"Continental", "Festland"};
const LocalText kPlayerOne{"Name for Player one:", "Name für Spieler Eins:"};
const LocalText kPlayerTwo{"Name for Player two:", "Name für Spieler Zwei:"};
const LocalText kStartIn = BothLanguages("Start in");
const LocalText kExpert{"Expert", "Profi-Modus"};
const LocalText kTwoPlayer{"2 Player", "2 Spieler"};
const LocalText kDelayBuilding{"Delay building", "Bauzeiten"};
const LocalText kEvents{"Events", "Ereignisse"};
const LocalText kAdvanced{"Advanced Options", "Erweiterte Optionen"};
const LocalText kReduce{"Reduce capacities", "Kapazitäten verringern"};
const LocalText kWinning{"Winning conditions:", "Siegesbedingung:"};
const LocalText kShare{"% market share (min. 50%)", "% Marktanteil (min. 50%)"};
const LocalText kCancel{"Cancel", "Abbrechen"};
// The name fields take only what the settings file and the savegame can hold.
const LocalText kNameHint{
    "Only characters a savegame can hold: letters of Western European languages, digits and punctuation.",
    "Nur Zeichen, die ein Spielstand speichern kann: Buchstaben westeuropäischer Sprachen, Ziffern und "
    "Satzzeichen."};

const ControlLayout kNewGameControls[] = {
    // The frames first, so every other control lies above them.
    {"Bevel1", K::Frame, {8, 8, 329, 241}},
    {"RadioGroup1", K::GroupBox, {24, 24, 97, 105}, &kMapCaption},
    {"RadioButton1", K::RadioButton, {32, 48, 81, 17}, &kPeninsula},
    {"RadioButton2", K::RadioButton, {32, 72, 81, 17}, &kIslands},
    {"RadioButton3", K::RadioButton, {32, 96, 81, 17}, &kContinental},
    {"Label1", K::Label, {136, 32}, &kPlayerOne},
    {"Edit1", K::Edit, {136, 48, 185, 21}, nullptr, &kNameHint},
    {"Label3", K::Label, {136, 72}, &kStartIn},
    // The three maps' lists lie on top of each other; only the checked map's are shown.
    {"ComboBox1", K::ComboBox, {136, 88, 185, 21}, nullptr, nullptr, 1},
    {"ComboBox3", K::ComboBox, {136, 88, 185, 21}, nullptr, nullptr, 1},
    {"ComboBox5", K::ComboBox, {136, 88, 185, 21}, nullptr, nullptr, 1},
    {"Label2", K::Label, {136, 128}, &kPlayerTwo},
    {"Edit2", K::Edit, {136, 144, 185, 21}, nullptr, &kNameHint},
    {"Label4", K::Label, {136, 168}, &kStartIn},
    {"ComboBox2", K::ComboBox, {136, 184, 185, 21}, nullptr, nullptr, 2},
    {"ComboBox4", K::ComboBox, {136, 184, 185, 21}, nullptr, nullptr, 2},
    {"ComboBox6", K::ComboBox, {136, 184, 185, 21}, nullptr, nullptr, 2},
    {"CheckBox1", K::CheckBox, {32, 136, 89, 25}, &kExpert},
    {"CheckBox2", K::CheckBox, {32, 168, 89, 17}, &kTwoPlayer},
    {"CheckBox3", K::CheckBox, {32, 192, 97, 25}, &kDelayBuilding},
    {"CheckBox4", K::CheckBox, {32, 224, 105, 17}, &kEvents},
    {"CheckBox5", K::CheckBox, {32, 256, 137, 25}, &kAdvanced},
    // Below the normal height: seen only while the dialog is enlarged.
    {"CheckBox6", K::CheckBox, {32, 288, 137, 25}, &kReduce},
    {"Label5", K::Label, {32, 320}, &kWinning},
    {"Edit3", K::Edit, {32, 336, 33, 21}},
    {"Label6", K::Label, {72, 340}, &kShare},
    {"OKBtn", K::DefaultButton, {348, 8, 75, 25}, &kOk},
    {"CancelBtn", K::Button, {348, 38, 75, 25}, &kCancel},
};

const LocalText kInfoTitle = BothLanguages("Information");
const LocalText kVersion = BothLanguages("The TAVREK! War V2.43");

const ControlLayout kInfoControls[] = {
    {"Bevel1", K::Frame, {8, 8, 297, 161}},
    {"Label1", K::Label, {97, 24}, &kVersion},
    {"Label2", K::Label, {16, 56}},  // where the game keeps its files, filled when shown
    {"OKBtn", K::DefaultButton, {119, 180, 75, 25}, &kOk},
};

// Labels across the top, the own company's fields in the first row and the best opponent's in
// the second: name, brands, breweries, depots, capacity, sales, share.
const ControlLayout kBestOpponentControls[] = {
    {"Label1", K::Label, {16, 16}},
    {"Label2", K::Label, {16, 80}},
    {"Label3", K::Label, {160, 16}},
    {"Label4", K::Label, {200, 16}},
    {"Label5", K::Label, {256, 16}},
    {"Label6", K::Label, {304, 16}},
    {"Label7", K::Label, {384, 16}},
    {"Label8", K::Label, {432, 16}},
    {"Edit1", K::Field, {16, 40, 137, 21}},
    {"Edit2", K::Field, {16, 104, 137, 21}},
    {"Edit3", K::Field, {160, 40, 25, 21}},
    {"Edit4", K::Field, {160, 104, 25, 21}},
    {"Edit5", K::Field, {208, 40, 25, 21}},
    {"Edit6", K::Field, {208, 104, 25, 21}},
    {"Edit7", K::Field, {256, 40, 25, 21}},
    {"Edit8", K::Field, {256, 104, 25, 21}},
    {"Edit9", K::Field, {296, 40, 65, 21}},
    {"Edit10", K::Field, {296, 104, 65, 21}},
    {"Edit11", K::Field, {368, 40, 57, 21}},
    {"Edit12", K::Field, {368, 104, 57, 21}},
    {"Edit13", K::Field, {432, 40, 33, 21}},
    {"Edit14", K::Field, {432, 104, 33, 21}},
    {"OKBtn", K::DefaultButton, {210, 148, 75, 25}, &kOk},
};

// One label and line per map, the line 16 pixels below its label.
const ControlLayout kHighscoreControls[] = {
    {"Label1", K::Label, {24, 24}},
    {"Edit1", K::Field, {24, 40, 305, 21}},
    {"Label2", K::Label, {24, 72}},
    {"Edit2", K::Field, {24, 88, 305, 21}},
    {"Label3", K::Label, {24, 120}},
    {"Edit3", K::Field, {24, 136, 305, 21}},
    {"OKBtn", K::DefaultButton, {140, 180, 75, 25}, &kOk},
};

}  // namespace

const WindowLayout kMainWindowLayout{"TForm1", kClientWidth, kClientHeight, kMainWindowControls};
// A tab page is the tab control less its tab row and frame.
const WindowLayout kTownsPageLayout{"TabSheet1", 757, 383, kTownsPageControls};
const WindowLayout kCompaniesPageLayout{"TabSheet2", 757, 383, kCompaniesPageControls};
const WindowLayout kNewGameLayout{"NGDialog", 435, 386, kNewGameControls, &kNewGameTitle};
const WindowLayout kInfoLayout{"InfoDialog", 313, 214, kInfoControls, &kInfoTitle};
const WindowLayout kBestOpponentLayout{"ZwischenDialog", 496, 187, kBestOpponentControls};
const WindowLayout kHighscoreLayout{"HighDialog", 355, 214, kHighscoreControls};

const std::array<const WindowLayout*, 7> kAllLayouts = {&kMainWindowLayout, &kTownsPageLayout, &kCompaniesPageLayout,
                                                        &kNewGameLayout,    &kInfoLayout,      &kBestOpponentLayout,
                                                        &kHighscoreLayout};

const ControlLayout& FindControl(const WindowLayout& layout, std::string_view name)
{
    for (const ControlLayout& control : layout.Controls)
        if (control.Name == name)
            return control;
    std::fprintf(stderr, "no control %.*s in %.*s\n", static_cast<int>(name.size()), name.data(),
                 static_cast<int>(layout.Name.size()), layout.Name.data());
    std::abort();
}
