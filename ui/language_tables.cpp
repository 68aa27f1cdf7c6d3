/// @file language_tables.cpp The main window's texts in both languages.
#include "ui/language_tables.h"

#include "game/status_line.h"

const std::array<LocalText, kMenuEntries> kMenuCaptions = {{
    {"&Game", "&Spiel"},
    {"&New", "&Neu"},
    {"&Open", "Ö&ffnen"},
    {"&Save", "&Speichern"},
    {"Save &as...", "Speichern &als..."},
    {"&Exit", "&Ende"},
    {"&Standing orders", "&Daueraufträge"},
    {"&New", "&Neu"},
    {"&Delete", "&Löschen"},
    {"D&isplay", "&Anzeigen"},
    {"S&tatistics", "S&tatistik"},
    {"&Market Shares", "&Marktanteile"},
    {"&Statistics", "&Statistiken"},
    {"&Best opponent", "&Zwischenstand"},
    {"&Highscore", "&Bestenliste"},
    {"&Options", "&Optionen"},
    {"Sound", "Sound"},
    {"Edit Names", "Namen ändern"},
    {"Restore Names", "Namen Wiederherstellen"},
    {"Autosave On Exit", "Autosave bei Beenden"},
    {"&Language", "Spr&ache"},
    {"&English", "&English"},  // the language entries read the same in both languages
    {"&Deutsch", "&Deutsch"},
    {"&Help", "&Hilfe"},
    {"&Contents", "&Inhalt"},
    {"Inf&o", "Inf&o"},
    {"&Zoom", "&Vergrößerung"},
    {"100 %", "100 %"},
    {"150 %", "150 %"},
    {"200 %", "200 %"},
}};

const std::array<ButtonText, 11> kButtonTexts = {{
    {{"Build Brewery", "Brauerei bauen"}, {"Build a new brewery", "Eine neue Brauerei bauen"}},
    {{"Extend Brewery", "Brauerei erweitern"}, {"Extend an existing brewery", "Erweitern einer vorhandenen Brauerei"}},
    {{"Build Depot", "Lagerhaus bauen"},
     {"Build a depot to store unsaled beer", "Lagerhaus für nicht verkauftes Bier errichten"}},
    {{"Transport Beer", "Bier transportieren"},
     {"Send your goods into the whole world", "Bier in anderen Städte verkaufen"}},
    {{"Transfer Money", "Geld überweisen"}, {"Balance your ten accounts", "Zum Ausgleichen der zehn Konten"}},
    {{"Change Prices", "Preise ändern"}, {"Adjust your prices for more profit", "Anpassen der Preise"}},
    {{"New Brand", "Neue Biersorte"}, {"Develop a new brand", "Eine neue Biersorte entwickeln lassen"}},
    {{"Next Turn", "Nächste Runde"}, {"End this turn now", "Diese Runde beenden"}},
    {{"OK", "OK"}, {}},
    {{"Cancel", "Abbrechen"}, {}},
    {{"Town and Sales Information", "Stadt- und Verkaufsinfos"},
     {"All you need to know about the towns", "Alles was Sie über die Städte wissen müssen"}},
}};

const FileDialogTexts kFileDialogTexts = {
    {"Open", "Öffnen"},
    {"Save as", "Speichern unter"},
    BothLanguages("Tavrek! War Savegame (*.tsg)"),
    {"All files (*)", "Alle Dateien (*)"},
};

const HelpWindowTexts kHelpWindowTexts = {
    {"Help - The TAVREK! War", "Hilfe - TAVRIK! - Das Spiel"},
    {"Back", "Zurück"},
    {"Close", "Schließen"},
};

LocalText WindowTitle() { return CapitalGameTitle(); }
