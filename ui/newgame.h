/// @file newgame.h The new game setup dialog: map, players, start towns and options.
#pragma once

#include <QDialog>
#include <QFont>

#include "game/game_state.h"
#include "game/world_generation.h"
#include "ui/layout_builder.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

/// Lives for the whole run; prepared anew before every showing. "Expert" and "2 Player" keep
/// their state between showings, everything else starts afresh.
class TNGDialog : public QDialog {
    Q_OBJECT
public:
    explicit TNGDialog(QWidget* parent = nullptr);
    /// Centred on the game's window instead of the screen (a comfort).
    bool CentredOnGameWindow = false;

    /// Gets the dialog ready to be shown: captions in the game's language, the last player
    /// names, the start towns of all three maps, the Peninsula, the default options. The
    /// running game stays as it is.
    void Prepare(const GameState& s);
    /// The choices; meaningful after the dialog was accepted.
    NewGameSettings Settings() const;
    /// Sets every caption for the language.
    void ApplyNewGameLanguage(Language language);
    /// Shows the dialog's layout at the main window's zoom (percent), at the height it has now.
    void SetZoom(int zoom);

    QFrame* Bevel1;
    QGroupBox* RadioGroup1;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QComboBox* ComboBox1;  ///< player 1's start town on map 1; 3 and 5 on maps 2 and 3
    QComboBox* ComboBox2;  ///< player 2's start town on map 1; 4 and 6 on maps 2 and 3
    QComboBox* ComboBox3;
    QComboBox* ComboBox4;
    QComboBox* ComboBox5;
    QComboBox* ComboBox6;
    QCheckBox* CheckBox1;  ///< Expert
    QCheckBox* CheckBox2;  ///< 2 Player
    QCheckBox* CheckBox3;  ///< Delay building
    QCheckBox* CheckBox4;  ///< Events
    QCheckBox* CheckBox5;  ///< Advanced Options: enlarges the dialog
    QCheckBox* CheckBox6;  ///< Reduce capacities
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void CheckBox2Click();
    void CheckBox5Click();
    void Edit3Exit();
    void OKBtnClick();
    void CancelBtnClick();

    /// The controls' pointers from the widgets the layout table built.
    void TakeControls();
    /// The handlers of the radio buttons, check boxes, buttons and fields.
    void Connect();
    /// Shows the two start-town lists of a map (1..3) and hides the other four.
    void ShowMapLists(int map);
    /// The player-1 and player-2 lists of a map (1..3).
    QComboBox* StartList(int map, int player) const;

    BuiltControls controls_;
    int zoom_ = 100;  ///< percent
};
