/// @file high.h THighDialog: the best score of each map.
///
/// Use from the window (Highscore1Click): play sound 6, then
/// `dialog.ShowFor(s.Program.ProgramDirectory, s.Program.Language)`, which reads the
/// highscores from the settings file, fills the dialog in the current language and returns
/// when the player has pressed OK.
#pragma once

#include <QDialog>

#include <array>
#include <string>

#include "commands/statistics.h"

class QLabel;
class QLineEdit;
class QPushButton;

class THighDialog : public QDialog {
    Q_OBJECT

public:
    explicit THighDialog(QWidget* parent = nullptr);

    /// Sets the caption, the maps' names and the three lines.
    void Fill(const HighscoreView& view);
    /// Reads the highscores, fills the dialog and shows it modally, centred on the screen.
    void ShowFor(const std::string& programDirectory, Language language);
    /// Centred on the game's window instead of the screen (a comfort).
    bool CentredOnGameWindow = false;

    std::array<QLabel*, 3> Labels{};    ///< Label1 ... Label3: Peninsula, Islands, Continental
    std::array<QLineEdit*, 3> Edits{};  ///< Edit1 ... Edit3
    QPushButton* OKBtn = nullptr;
};
