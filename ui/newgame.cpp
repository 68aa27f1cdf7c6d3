/// @file newgame.cpp The new game setup dialog.
#include "ui/newgame.h"

#include <algorithm>
#include <array>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolTip>
#include <QValidator>

#include "commands/new_game_setup.h"
#include "game/text.h"
#include "platform/cp1252.h"
#include "ui/dialog_support.h"
#include "ui/window_zoom.h"
#include "ui/zoom.h"

namespace {

QString Qs(const std::string& utf8) { return QString::fromStdString(utf8); }

/// The name fields take only what the settings file and the savegame can hold, so the name a
/// player sees is the name that is saved.
class StorableNameValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return FitsCp1252Line(input.toStdString()) ? Acceptable : Invalid;
    }
};

}  // namespace

TNGDialog::TNGDialog(QWidget* parent) : QDialog(parent)
{
    SetUpDialog(*this, kNewGameLayout, DialogStacking::StaysOnTop);
    // The layout was drawn for an outer height of 313 pixels, 413 with the advanced options;
    // the title bar and frame took 27 of them.
    setFixedSize(kNewGameLayout.ClientWidth, kNewGameNormalHeight);
    controls_ = BuildControls(*this, kNewGameLayout);
    TakeControls();

    // The caption sits on the frame's top line, so the frame encloses the three buttons with
    // room to spare, as the layout expects.
    RadioGroup1->setStyleSheet(
        QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
                       "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0 2px; }"));
    auto* maps = new QButtonGroup(this);
    maps->addButton(RadioButton1, 1);
    maps->addButton(RadioButton2, 2);
    maps->addButton(RadioButton3, 3);
    for (QComboBox* list : {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5, ComboBox6})
        list->setMaxVisibleItems(kStartTownEntries);

    Connect();

    Edit3->setText(QString::fromLatin1(kDefaultShareText));
    RadioButton1->setChecked(true);
    CheckBox3->setChecked(true);
    CheckBox4->setChecked(true);
    CheckBox2Click();
    ApplyNewGameLanguage(Language::English);
}

void TNGDialog::TakeControls()
{
    const BuiltControls& c = controls_;
    Bevel1 = c.Get<QFrame>("Bevel1");
    RadioGroup1 = c.Get<QGroupBox>("RadioGroup1");
    RadioButton1 = c.Get<QRadioButton>("RadioButton1");
    RadioButton2 = c.Get<QRadioButton>("RadioButton2");
    RadioButton3 = c.Get<QRadioButton>("RadioButton3");
    Label1 = c.Get<QLabel>("Label1");
    Label2 = c.Get<QLabel>("Label2");
    Label3 = c.Get<QLabel>("Label3");
    Label4 = c.Get<QLabel>("Label4");
    Label5 = c.Get<QLabel>("Label5");
    Label6 = c.Get<QLabel>("Label6");
    Edit1 = c.Get<QLineEdit>("Edit1");
    Edit2 = c.Get<QLineEdit>("Edit2");
    Edit3 = c.Get<QLineEdit>("Edit3");
    ComboBox1 = c.Get<QComboBox>("ComboBox1");
    ComboBox2 = c.Get<QComboBox>("ComboBox2");
    ComboBox3 = c.Get<QComboBox>("ComboBox3");
    ComboBox4 = c.Get<QComboBox>("ComboBox4");
    ComboBox5 = c.Get<QComboBox>("ComboBox5");
    ComboBox6 = c.Get<QComboBox>("ComboBox6");
    CheckBox1 = c.Get<QCheckBox>("CheckBox1");
    CheckBox2 = c.Get<QCheckBox>("CheckBox2");
    CheckBox3 = c.Get<QCheckBox>("CheckBox3");
    CheckBox4 = c.Get<QCheckBox>("CheckBox4");
    CheckBox5 = c.Get<QCheckBox>("CheckBox5");
    CheckBox6 = c.Get<QCheckBox>("CheckBox6");
    OKBtn = c.Get<QPushButton>("OKBtn");
    CancelBtn = c.Get<QPushButton>("CancelBtn");
}

void TNGDialog::Connect()
{
    connect(RadioButton1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButton1Click();
    });
    connect(RadioButton2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButton2Click();
    });
    connect(RadioButton3, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButton3Click();
    });
    connect(CheckBox2, &QCheckBox::toggled, this, &TNGDialog::CheckBox2Click);
    connect(CheckBox5, &QCheckBox::toggled, this, &TNGDialog::CheckBox5Click);
    connect(CheckBox6, &QCheckBox::clicked, this, &TNGDialog::CheckBox5Click);
    connect(OKBtn, &QPushButton::clicked, this, &TNGDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TNGDialog::CancelBtnClick);
    Edit3->installEventFilter(this);
    auto* names = new StorableNameValidator(this);
    for (QLineEdit* edit : {Edit1, Edit2}) {
        edit->setValidator(names);
        // A refused character says why at once, where the player types.
        connect(edit, &QLineEdit::inputRejected, this, [this, edit] {
            QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), edit->toolTip(), edit);
        });
    }
}

void TNGDialog::ApplyNewGameLanguage(Language language)
{
    setWindowTitle(Qs(kNewGameLayout.Title->In(language)));
    controls_.ApplyLanguage(language);
}

void TNGDialog::Prepare(const GameState& s)
{
    ApplyNewGameLanguage(s.Program.Language);
    const NewGameSetup setup = PrepareNewGameSetup(s);
    Edit1->setText(Qs(setup.Player1Name));
    Edit2->setText(Qs(setup.Player2Name));
    RadioButton1->setChecked(true);
    ShowMapLists(1);
    CheckBox5->setChecked(false);
    CheckBox6->setChecked(false);
    CheckBox5Click();
    Edit3->setText(QString::fromLatin1(kDefaultShareText));
    for (int map = 1; map <= kMaps; ++map)
        for (int player = 0; player < 2; ++player) {
            QComboBox* list = StartList(map, player);
            list->clear();
            for (const std::string& town : setup.StartTowns[map - 1])
                list->addItem(Qs(town));
            list->setCurrentIndex(0);
        }
    CheckBox2Click();
    CheckBox3->setChecked(true);
    CheckBox4->setChecked(true);
}

NewGameSettings TNGDialog::Settings() const
{
    NewGameSettings settings;
    settings.Map = RadioButton1->isChecked() ? 1 : RadioButton2->isChecked() ? 2 : 3;
    settings.TwoPlayer = CheckBox2->isChecked();
    settings.Expert = CheckBox1->isChecked();
    settings.DelayBuilding = CheckBox3->isChecked();
    settings.Events = CheckBox4->isChecked();
    settings.AdvancedOptions = CheckBox5->isChecked();
    settings.ReduceCapacities = CheckBox6->isChecked();
    settings.WinningShareText = Utf8Prefix(Edit3->text().toStdString(), kShareFieldLength);
    settings.Player1Name = Utf8Prefix(Edit1->text().toStdString(), kTypedNameLength);
    settings.Player2Name = Utf8Prefix(Edit2->text().toStdString(), kTypedNameLength);
    settings.Player1Start = std::max(0, StartList(settings.Map, 0)->currentIndex());
    settings.Player2Start = std::max(0, StartList(settings.Map, 1)->currentIndex());
    return settings;
}

QComboBox* TNGDialog::StartList(int map, int player) const
{
    const std::array<std::array<QComboBox*, 2>, kMaps> lists{
        {{ComboBox1, ComboBox2}, {ComboBox3, ComboBox4}, {ComboBox5, ComboBox6}}};
    return lists[static_cast<size_t>(std::clamp(map, 1, kMaps) - 1)][static_cast<size_t>(player)];
}

void TNGDialog::ShowMapLists(int map)
{
    for (int m = 1; m <= kMaps; ++m)
        for (int player = 0; player < 2; ++player)
            StartList(m, player)->setVisible(m == map);
}

void TNGDialog::RadioButton1Click() { ShowMapLists(1); }
void TNGDialog::RadioButton2Click() { ShowMapLists(2); }
void TNGDialog::RadioButton3Click() { ShowMapLists(3); }

void TNGDialog::CheckBox2Click()
{
    const bool two = CheckBox2->isChecked();
    for (QWidget* control : {static_cast<QWidget*>(Edit2), static_cast<QWidget*>(ComboBox2),
                             static_cast<QWidget*>(ComboBox4), static_cast<QWidget*>(ComboBox6)})
        control->setEnabled(two);
}

void TNGDialog::CheckBox5Click()
{
    setFixedSize(Zoomed(kNewGameLayout.ClientWidth, zoom_),
                 Zoomed(CheckBox5->isChecked() ? kNewGameLayout.ClientHeight : kNewGameNormalHeight, zoom_));
}

void TNGDialog::SetZoom(int zoom)
{
    zoom_ = zoom;
    ZoomDialog(*this, kNewGameLayout, zoom, kNewGameLayout.ClientHeight);
    // With a style sheet of its own the map frame does not follow the dialog's font by itself.
    RadioGroup1->setFont(WindowFont(zoom));
    CheckBox5Click();
}

void TNGDialog::Edit3Exit() { Edit3->setText(QString::number(WinningShareFromText(Edit3->text().toStdString()))); }

void TNGDialog::OKBtnClick() { accept(); }

void TNGDialog::CancelBtnClick() { reject(); }

bool TNGDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the share field puts it within its limits; a context menu over it is not leaving.
    if (watched == Edit3 && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        Edit3Exit();
    return QDialog::eventFilter(watched, event);
}

void TNGDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreDialog(*this, CentredOnGameWindow);
}
