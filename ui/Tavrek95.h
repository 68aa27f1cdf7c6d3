/// @file Tavrek95.h The main window, TForm1: menus, the map, the command panel and the status
/// bar. Every handler gathers what the player entered, calls the rules and shows what they
/// answer; the rules reach back through the Frontend seam.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <functional>
#include <memory>

#include "commands/command_panel.h"
#include "commands/game_session.h"
#include "commands/map_animation.h"
#include "commands/statistics.h"
#include "commands/panel_content.h"
#include "commands/town_selection.h"
#include "game/frontend.h"
#include "game/game_state.h"
#include "game/world_generation.h"
#include "persistence/game_folders.h"
#include "ui/animation_painter.h"
#include "ui/language_tables.h"
#include "ui/layout_builder.h"
#include "ui/message_boxes.h"
#include "ui/pictures.h"
#include "ui/sound_effects.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QShortcut;
class QStatusBar;
class QTabWidget;
class QTableWidget;
class QTimer;
class QTranslator;
class TNGDialog;
class TInfoDialog;
class THighDialog;
class THelpWindow;
class TZwischenDialog;
class FormSurface;
class HandOverCover;

/// The background of the player's own rows in the market-share and statistics grids.
inline const QColor kOwnRowColour(255, 242, 178);

/// Height of every grid row, the heading included.
inline constexpr int kGridRowHeight = 16;

class TForm1 : public QMainWindow, public Frontend {
    Q_OBJECT

public:
    /// Creates the window as the program starts: settings read (the first start sets them up),
    /// random generator seeded, panel hidden, options, start sound, language. `folders` says
    /// where the player's files are kept and the sounds and help pages found. `dialogs`, when
    /// given, answers from the very start (see SetDialogs). `soundDevice`, when given, plays the
    /// sounds instead of Qt Multimedia (tests).
    explicit TForm1(const GameFolders& folders, QWidget* parent = nullptr, Frontend* dialogs = nullptr,
                    std::unique_ptr<SoundDevice> soundDevice = nullptr);
    ~TForm1() override;

    const GameState& State() const { return state_; }
    const PanelState& Panel() const { return panel_; }
    /// The session the window plays through: what changes the game or the options goes there.
    GameSession& Session() { return session_; }
    bool SoundOn() const { return sounds_->Enabled(); }
    bool AutosaveOnExit() const { return session_.AutosaveOnExit(); }
    /// The file "Save" writes to: the one the game was last saved to or opened from; empty for a
    /// new game.
    QString SaveFileName() const { return QString::fromStdString(session_.SaveFile()); }
    /// The surface that holds the map, the panel and its controls (client coordinates).
    QWidget* Surface() const;
    QString StatusText() const;
    /// The map and its markers as last painted, with the animation's ticks drawn over them.
    const QImage& BackBuffer() const { return backBuffer_; }
    const MapAnimation& Animation() const { return animation_; }
    /// The pictures the window draws with.
    PictureSet& Pictures() { return pictures_; }
    TZwischenDialog* BestOpponentDialog() const { return zwischenDialog_; }
    THighDialog* HighscoreDialog() const { return highDialog_; }
    /// The game's own help window, made the first time the desktop cannot show the help.
    THelpWindow* HelpWindow() const { return helpWindow_; }

    // --- hooks that tests and the screenshot tool replace ------------------------------------
    /// When set, message boxes, questions and the best-opponent dialog go here instead of the
    /// screen; sounds, animations, status line, caption and redraws are passed on as well, after
    /// the window has played or shown them.
    void SetDialogs(Frontend* dialogs) { dialogs_ = dialogs; }
    /// The file dialogs: return the chosen file, or an empty text when the player cancels.
    std::function<QString()> ChooseOpenFile;
    std::function<QString()> ChooseSaveFile;
    /// Asks the desktop to open a local file (help page, names file); false when it cannot
    /// (then the help shows in the game's own window, and the names file's place is told).
    std::function<bool(const QString& path)> OpenDocument;
    /// Runs the new game dialog after its preparation; true when the player pressed OK.
    std::function<bool(TNGDialog& dialog)> RunNewGameDialog;
    /// The room the desktop gives the window on its screen; a zoom that needs more is not taken.
    std::function<QSize()> AvailableScreenSize;
    /// Waits until the next player of a two-player game takes the covered window.
    std::function<void(HandOverCover& cover)> WaitForHandOver;
    /// The screen between two players' turns.
    HandOverCover* HandOverScreen() const { return handOverCover_; }
    /// The option that shows it (Options menu, kept in the settings file).
    QAction* HandOverOption() const { return handOverAction_; }
    /// The option "Comforts" (Options menu, kept in the settings file).
    QAction* ComfortsOption() const { return comfortsAction_; }

    // --- the seam ------------------------------------------------------------------------------
    void ShowMessage(const LocalText& text, const LocalText& caption, MessageIcon icon) override;
    bool AskYesNo(const LocalText& text, const LocalText& caption) override;
    YesNoCancel AskYesNoCancel(const LocalText& text, const LocalText& caption) override;
    void PlaySoundEffect(int number) override;
    void ShowStatusLine(const LocalText& line) override;
    void SetCaption(const LocalText& caption) override;
    void Redraw() override;
    void StartAnimation(int town, int nextTown, int stage) override;
    void ShowBestOpponentDialog() override;
    void HandOverTo(int company) override;

    // --- handlers, named after control and event ----------------------------------------------
    void FormMouseDown(MouseButton button, bool doubleClick, int x, int y);
    void FormPaint(QPainter& p);
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button11Click();
    void New1Click();
    void Open1Click();
    void Save1Click();
    void Saveas1Click();
    void Exit1Click();
    /// SIGTERM, SIGHUP or SIGINT: the window goes as with Exit, without a question. With
    /// autosave the game is saved (a failure is told on stderr); without, it is left as "Yes"
    /// to the close question leaves it.
    void CloseBySignal();
    void New2Click();
    void Delete1Click();
    void DisplayChange1Click();
    void MarketShares1Click();
    void StatisticDialog1Click();
    void Bestopponent1Click();
    void Highscore1Click();
    void Sound2Click();
    void EditNames1Click();
    void RestoreNames1Click();
    void FastExit1Click();
    void HandOverScreen1Click();
    /// Options > Comforts: today's comforts that change the flow of play, on or off.
    void Comforts1Click();
    void English1Click();
    void Deutsch1Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void Contents1Click();
    void Info1Click();
    /// AnimationStep: one tick of the map animation, painted onto the back buffer.
    void Timer1Timer();
    void ComboBox1Change();
    void ComboBox2Change();
    void ComboBox3Change();
    void ComboBox4Change();

    /// What "New" does after the dialog's OK: builds the world and opens the command buttons.
    void StartNewGame(const NewGameSettings& settings);
    /// Loads a savegame as "Open" does after its dialog; true when the game was replaced.
    bool OpenGameFile(const QString& path);
    /// Writes the game to a file as "Save" does after a file was chosen.
    void SaveGameFile(const QString& path);

    /// Sets the texts of the window for the current language.
    void ApplyLanguage();

    /// The zoom the window shows its layout at, in percent: 100, 150 or 200.
    int Zoom() const { return zoom_; }
    /// Shows the layout at a zoom, or at the largest smaller one the screen has room for, and
    /// returns the zoom taken. The settings file is left alone (the Zoom menu keeps the choice).
    int SetZoom(int zoom);
    void Zoom100Click();
    void Zoom150Click();
    void Zoom200Click();

    // --- the controls, named as on the window --------------------------------------------------
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button10 = nullptr;
    QPushButton* Button11 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QListWidget* ListBox3 = nullptr;
    QListWidget* ListBox4 = nullptr;
    QListWidget* ListBox5 = nullptr;
    QListWidget* ListBox6 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QTableWidget* StringGrid1 = nullptr;  ///< last month's sales (mode 6)
    QTableWidget* StringGrid2 = nullptr;  ///< market shares (mode 11), filled by the statistics
    QTabWidget* PageControl1 = nullptr;   ///< statistics view (mode 15) over the map
    QWidget* TabSheet1 = nullptr;         ///< "Towns"
    QWidget* TabSheet2 = nullptr;         ///< "Companies"
    QLabel* Label1 = nullptr;             ///< town choice
    QLabel* Label2 = nullptr;             ///< sort key (Towns)
    QLabel* Label3 = nullptr;             ///< company choice
    QLabel* Label4 = nullptr;             ///< sort key (Companies)
    QComboBox* ComboBox1 = nullptr;       ///< towns
    QComboBox* ComboBox2 = nullptr;       ///< sort keys of the Towns tab
    QComboBox* ComboBox3 = nullptr;       ///< companies
    QComboBox* ComboBox4 = nullptr;       ///< sort keys of the Companies tab
    QTableWidget* StringGrid3 = nullptr;  ///< one town's companies and brands
    QTableWidget* StringGrid4 = nullptr;  ///< one company's towns and brands
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QTimer* Timer1 = nullptr;  ///< the map animation's 100 ms tick
    /// The widget of a panel control.
    QWidget* Control(PanelControl control) const;
    QAction* Menu(MenuEntry entry) const { return menu_[static_cast<size_t>(entry)]; }

protected:
    void closeEvent(QCloseEvent* event) override;
    /// The first show takes the zoom the player chose, as far as the screen has room for it.
    void showEvent(QShowEvent* event) override;

private:
    void CreateMenus();
    /// Paints the window at once, before a message box or dialog covers it.
    void ShowCurrentPicture();
    void CreateControls();
    void SwitchLanguage(Language language);
    /// Shows the mode's controls and refills its lists and fields. With `keepInput` the typed
    /// texts and the selected rows survive (a language switch only translates them).
    void FillPanelControls(bool keepInput);
    /// OK's command in a command mode, made of the chosen rows and the typed fields; none in
    /// the modes whose OK only turns a page or closes a view.
    std::optional<Command> GatherCommand() const;
    /// Enables the menu entries that need a running game, or a game still going on.
    void UpdateMenus();
    /// Puts the keyboard into a newly opened mode: its first field or list, else OK.
    void FocusFirstControl(const PanelContent& content);
    /// Saves the running game first when the player asked to; true when New, Open or Exit may
    /// go on.
    bool MayLeaveRunningGame(GameSession::Leaving leaving);
    /// "The file ... could not be opened."
    void ShowFileError(const QString& path);
    void CreateStatisticsView();
    /// Paints map and markers into the back buffer at the surface's pixel ratio.
    void RebuildBackBuffer();
    /// What the map and markers in the back buffer depend on, as one number.
    uint64_t MapLayerKey() const;
    /// The map animation's pictures for the current map, at the screen's pixel ratio.
    const AnimationPictureSet& AnimationPictures();
    void FillTownsGrid();
    void FillCompaniesGrid();
    /// Marks the rows of the player's own company in a grid whose first column names companies.
    void HighlightOwnRows(QTableWidget* grid);

    /// The game, its panel and its file; every action of the player goes through it.
    GameSession session_;
    const GameState& state_;   ///< the session's game, for reading and painting
    const PanelState& panel_;  ///< the session's panel
    std::unique_ptr<SoundEffects> sounds_;
    Frontend* dialogs_ = nullptr;
    MessageBoxes boxes_{this};  ///< the Qt boxes when no test or tool answers instead
    GameFolders folders_;       ///< where the player's files are kept and the sounds and help found
    FormSurface* surface_ = nullptr;
    QImage backBuffer_;
    /// Set when an animation tick drew into the back buffer since the last paint: that paint
    /// shows the buffer as it is instead of drawing the map afresh.
    bool bufferHoldsTick_ = false;
    uint64_t mapLayerKey_ = 0;  ///< MapLayerKey() of the last rebuild
    MapAnimation animation_;
    AnimationPictureSet animationPictures_;
    int animationPicturesMap_ = 0;      ///< the map the pictures' map is of, 0 before the first
    qreal animationPicturesRatio_ = 0;  ///< the screen ratio they were made for
    PictureSet pictures_;
    StatisticsTable statisticsTable_;
    std::array<QAction*, kMenuEntries> menu_{};
    std::unique_ptr<QTranslator> qtTranslator_;
    TNGDialog* ngDialog_ = nullptr;
    TInfoDialog* infoDialog_ = nullptr;
    TZwischenDialog* zwischenDialog_ = nullptr;
    THighDialog* highDialog_ = nullptr;
    THelpWindow* helpWindow_ = nullptr;
    BuiltControls controls_;  ///< the panel's controls as the layout table built them

    /// The zoom menu's choice: keeps it in the settings file and shows the window at it.
    void ChooseZoom(int zoom);
    /// Fonts, places and sizes of everything in the window at `zoom_`.
    void ApplyZoom();
    /// The menus' font at a zoom: the desktop's, grown with the zoom.
    static QFont MenuFont(int zoom);
    /// The back buffer's device pixel ratio: the screen's times the zoom.
    qreal BufferRatio() const;
    int zoom_ = 100;                             ///< percent
    int wantedZoom_ = 100;                       ///< the settings file's zoom, taken at the first show
    bool shown_ = false;                         ///< the first show has taken the zoom
    bool closingBySignal_ = false;               ///< the close comes from a signal: nobody to ask
    std::array<BuiltControls, 2> pageControls_;  ///< the statistics view's two pages
    LocalText lastCaption_;                      ///< the caption the rules set last; the title adds the file's name
    /// Set while a click that chose no town redraws: the open command keeps what was typed.
    bool keepInputOnRedraw_ = false;
    std::array<QShortcut*, 2> okKeys_{};       ///< Return and Enter press OK
    QShortcut* cancelKey_ = nullptr;           ///< Escape presses Cancel
    QShortcut* nextTurnKey_ = nullptr;         ///< N ends the month from the idle panel
    PanelMode focusedMode_ = PanelMode::None;  ///< the mode the keyboard was last put into
    HandOverCover* handOverCover_ = nullptr;
    /// What the statistics view showed last: kept while the program runs.
    StatisticsChoice statistics_;
    QAction* handOverAction_ = nullptr;  ///< Options: the hand-over screen
    QAction* comfortsAction_ = nullptr;  ///< Options: the comforts
    /// Shows the title for the caption the rules set last and the game's file.
    void UpdateTitle();
    /// What the comforts change in the window itself: where the dialogs open, the title.
    void ApplyComforts();
};
