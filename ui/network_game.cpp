/// @file network_game.cpp Game > Network Game: the seat, the turns, the server's game in the window.
#include "ui/network_game.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>

#include "game/status_line.h"
#include "persistence/savegame.h"
#include "ui/Tavrek95.h"
#include "ui/guide_box.h"
#include "ui/newgame.h"
#include "ui/window_zoom.h"
#include "ui/zoom.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

/// A server address as typed: "host:port" is taken as ws://host:port.
QString ServerUrl(QString typed)
{
    typed = typed.trimmed();
    if (!typed.isEmpty() && !typed.contains("://"))
        typed = "ws://" + typed;
    return typed;
}

const LocalText kDefaultServer = BothLanguages("ws://127.0.0.1:4000");

}  // namespace

NetworkMenu::NetworkMenu(QMenu* game, QAction* before, TForm1& window, std::function<bool()> mayReplaceGame)
    : QObject(&window), window_(window), mayReplaceGame_(std::move(mayReplaceGame))
{
    client_ = new NetworkClient(this);
    menu_ = new QMenu(game);
    game->insertMenu(before, menu_);
    host_ = menu_->addAction(QString(), this, &NetworkMenu::Host);
    join_ = menu_->addAction(QString(), this, &NetworkMenu::Join);
    resume_ = menu_->addAction(QString(), this, &NetworkMenu::Resume);

    // Whose turn it is, over the map's top left corner while a network game runs.
    banner_ = new QLabel(window_.Surface());
    banner_->setObjectName("NetworkBanner");
    banner_->setAutoFillBackground(true);
    banner_->setMargin(3);
    banner_->setStyleSheet("QLabel { background: #fff6c8; color: black; border: 1px solid #806000; }");
    banner_->hide();
    bannerFont_ = banner_->font();

    connect(client_, &NetworkClient::SeatTaken, this, &NetworkMenu::SeatTaken);
    connect(client_, &NetworkClient::StateChanged, this, &NetworkMenu::StateChanged);
    connect(client_, &NetworkClient::TurnBegan, this, &NetworkMenu::TurnBegan);
    connect(client_, &NetworkClient::CommandAnswered, this, &NetworkMenu::CommandAnswered);
    connect(client_, &NetworkClient::CommandRejected, this, &NetworkMenu::CommandRejected);
    connect(client_, &NetworkClient::SnapshotArrived, this, &NetworkMenu::SnapshotArrived);
    connect(client_, &NetworkClient::Failed, this, &NetworkMenu::Failed);
    connect(client_, &NetworkClient::ConnectionLost, this, [this](int retryMs, const QString&) {
        lostNote_ = Text({"Connection lost, trying again in %1 s", "Verbindung unterbrochen, neuer Versuch in %1 s"})
                        .arg((retryMs + 999) / 1000);
        UpdateBanner();
    });
    connect(client_, &NetworkClient::Reconnected, this, [this] {
        lostNote_.clear();
        UpdateBanner();
    });

    AskServer = [this](const QString& suggested) -> std::optional<QString> {
        bool ok = false;
        const QString url =
            QInputDialog::getText(&window_, Text({"Network Game", "Netzwerkspiel"}),
                                  Text({"Server address:", "Adresse des Servers:"}), QLineEdit::Normal, suggested, &ok);
        if (!ok || url.trimmed().isEmpty())
            return std::nullopt;
        return url;
    };
    AskJoin = [this](const QString& suggested) -> std::optional<std::pair<QString, QString>> {
        QDialog dialog(&window_);
        dialog.setWindowTitle(Text({"Join a Network Game", "Netzwerkspiel beitreten"}));
        auto* form = new QFormLayout(&dialog);
        auto* server = new QLineEdit(suggested);
        auto* invite = new QLineEdit;
        invite->setMinimumWidth(300);
        form->addRow(Text({"Server address:", "Adresse des Servers:"}), server);
        form->addRow(Text({"Invite code:", "Einladungscode:"}), invite);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        form->addRow(buttons);
        connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        if (dialog.exec() != QDialog::Accepted || server->text().trimmed().isEmpty() ||
            invite->text().trimmed().isEmpty())
            return std::nullopt;
        return std::pair{server->text(), invite->text().trimmed()};
    };
    AskSeat = [this](const QStringList& seats) -> std::optional<int> {
        bool ok = false;
        const QString chosen =
            QInputDialog::getItem(&window_, Text({"Resume a Network Game", "Netzwerkspiel fortsetzen"}),
                                  Text({"Your seats:", "Ihre Plätze:"}), seats, 0, false, &ok);
        if (!ok)
            return std::nullopt;
        return static_cast<int>(seats.indexOf(chosen));
    };
    ShowInvite = [this](const QString& invite, const QString& text) {
        QDialog dialog(&window_);
        dialog.setWindowTitle(Text({"Network Game", "Netzwerkspiel"}));
        auto* layout = new QVBoxLayout(&dialog);
        auto* words = new QLabel(text);
        words->setWordWrap(true);
        layout->addWidget(words);
        auto* code = new QLineEdit(invite);
        code->setReadOnly(true);
        code->setMinimumWidth(320);
        code->selectAll();
        layout->addWidget(code);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
        QPushButton* copy = buttons->addButton(Text({"Copy", "Kopieren"}), QDialogButtonBox::ActionRole);
        connect(copy, &QPushButton::clicked, &dialog, [invite] { QGuiApplication::clipboard()->setText(invite); });
        connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        layout->addWidget(buttons);
        dialog.exec();
    };
    Alert = [this] { QApplication::alert(&window_); };
    SetLanguage(window.State().Program.Language);
}

QString NetworkMenu::Text(const LocalText& text) const { return Q(text.In(language_)); }

void NetworkMenu::SetLanguage(Language language)
{
    language_ = language;
    menu_->setTitle(Text({"Net&work Game", "Net&zwerkspiel"}));
    host_->setText(Text({"&Host...", "Spiel &eröffnen..."}));
    join_->setText(Text({"&Join...", "&Beitreten..."}));
    resume_->setText(Text({"&Resume...", "&Fortsetzen..."}));
    UpdateBanner();
}

void NetworkMenu::Tell(const LocalText& text, bool warning)
{
    Box([this, text, warning] {
        window_.ShowMessage(text, {"Network Game", "Netzwerkspiel"},
                            warning ? MessageIcon::Warning : MessageIcon::Information);
    });
}

void NetworkMenu::Box(std::function<void()> show)
{
    // One box at a time, each after the server's message that brought it has been handled:
    // news that arrives while the invite code is shown waits until that box is closed.
    boxes_.push_back(std::move(show));
    QTimer::singleShot(0, this, [this] {
        if (showingBox_)
            return;
        showingBox_ = true;
        while (!boxes_.empty()) {
            const std::function<void()> next = std::move(boxes_.front());
            boxes_.pop_front();
            next();
        }
        showingBox_ = false;
    });
}

HeldSeats NetworkMenu::Seats() const
{
    std::string why;
    std::optional<HeldSeats> seats = ReadHeldSeats(window_.State().Program.ProgramDirectory, &why);
    return seats ? *seats : HeldSeats{};
}

void NetworkMenu::KeepSeats(const HeldSeats& seats)
{
    std::string why;
    if (!WriteHeldSeats(window_.State().Program.ProgramDirectory, seats, &why))
        Tell({"Your seat could not be kept for later: " + why,
              "Ihr Platz konnte nicht für später gespeichert werden: " + why});
}

// --- the three entries ------------------------------------------------------------------------

void NetworkMenu::Host()
{
    if (!mayReplaceGame_())
        return;
    const HeldSeats seats = Seats();
    const std::optional<QString> url =
        AskServer(seats.LastServer.empty() ? Q(kDefaultServer.English) : Q(seats.LastServer));
    if (!url)
        return;
    // The new game's settings through the game's own dialog; a network game has two players.
    TNGDialog dialog(&window_);
    dialog.Prepare(window_.State());
    if (!dialog.CheckBox2->isChecked())
        dialog.CheckBox2->click();
    dialog.CheckBox2->setEnabled(false);
    if (!window_.RunNewGameDialog(dialog))
        return;
    NewGameSettings settings = dialog.Settings();
    settings.TwoPlayer = true;
    Leave();
    client_->Host(ServerUrl(*url), settings);
    SetPhase(Phase::Connecting);
}

void NetworkMenu::Join()
{
    if (!mayReplaceGame_())
        return;
    const HeldSeats seats = Seats();
    const auto answer = AskJoin(seats.LastServer.empty() ? Q(kDefaultServer.English) : Q(seats.LastServer));
    if (!answer)
        return;
    Leave();
    client_->Join(ServerUrl(answer->first), answer->second);
    SetPhase(Phase::Connecting);
}

void NetworkMenu::Resume()
{
    const HeldSeats seats = Seats();
    if (seats.Seats.empty()) {
        Tell({"You hold no seat in a network game yet. Host a game, or join one with an invite code.",
              "Sie haben noch keinen Platz in einem Netzwerkspiel. Eröffnen Sie ein Spiel, oder treten Sie "
              "einem mit einem Einladungscode bei."},
             false);
        return;
    }
    QStringList lines;
    for (const HeldSeat& s : seats.Seats)
        lines << Text({"Game %1, player %2, on %3", "Spiel %1, Spieler %2, auf %3"})
                     .arg(Q(s.Game))
                     .arg(s.Seat)
                     .arg(Q(s.Server));
    const std::optional<int> chosen = AskSeat(lines);
    if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(seats.Seats.size()))
        return;
    if (!mayReplaceGame_())
        return;
    Leave();
    client_->Resume(seats.Seats[static_cast<size_t>(*chosen)]);
    SetPhase(Phase::Connecting);
}

void NetworkMenu::Leave()
{
    client_->Leave();
    fetching_ = false;
    checkingTurn_ = false;
    news_.clear();
    newsMonth_ = 0;
    invite_.clear();
    lostNote_.clear();
    mySeat_ = 0;
    turn_ = 0;
    joined_ = false;
    SetPhase(Phase::Off);
}

void NetworkMenu::GameReplaced()
{
    if (phase_ != Phase::Off)
        Leave();
}

// --- what the server says ---------------------------------------------------------------------

void NetworkMenu::SeatTaken(const HeldSeat& seat, const QString& invite, qint64 expires)
{
    mySeat_ = seat.Seat;
    HeldSeats seats = Seats();
    seats.LastServer = seat.Server;
    seats.Keep(seat);
    KeepSeats(seats);
    fetching_ = true;
    client_->Fetch();
    if (!invite.isEmpty()) {
        invite_ = invite;
        const QString until = QDateTime::fromSecsSinceEpoch(expires).toString("yyyy-MM-dd hh:mm");
        const QString text = Text({"Your game is open on the server. Pass this invite code to the second player; it "
                                   "is good once, until %1:",
                                   "Ihr Spiel ist auf dem Server eröffnet. Geben Sie diesen Einladungscode an den "
                                   "zweiten Spieler weiter; er gilt einmal, bis %1:"})
                                 .arg(until);
        Box([this, invite, text] { ShowInvite(invite, text); });
    }
}

void NetworkMenu::StateChanged(int month, int turn, bool joined, const QString& digest)
{
    month_ = month;
    turn_ = turn;
    joined_ = joined;
    if (joined)
        invite_.clear();
    if (phase_ == Phase::EndingTurn) {
        UpdateBanner();
        return;
    }
    // While the player moves, the copy runs ahead of the state told; it is compared at the end
    // of the turn. Otherwise the copy must be the server's game.
    const bool playing = phase_ == Phase::OnTurn && turn == mySeat_;
    if (!playing && digest != LocalDigest() && !fetching_) {
        fetching_ = true;
        client_->Fetch();
    }
    if (!fetching_)
        SetPhase(turn == mySeat_ ? Phase::OnTurn : Phase::Waiting);
    UpdateBanner();
}

void NetworkMenu::TurnBegan(int month, const QStringList& messages)
{
    // The server tells a turn's news again on every resume: once is enough.
    if (month == newsMonth_)
        return;
    newsMonth_ = month;
    news_ = messages;
    if (!fetching_)
        ShowNews();
}

void NetworkMenu::ShowNews()
{
    if (news_.isEmpty())
        return;
    const std::string lines = news_.join('\n').toStdString();
    news_.clear();
    // The server tells its news in English.
    Tell({"News of your turn:\n\n" + lines, "Neuigkeiten zu Ihrem Zug:\n\n" + lines}, false);
}

void NetworkMenu::SnapshotArrived(int month, int turn, const QString& digest, const QByteArray& savegame)
{
    fetching_ = false;
    month_ = month;
    turn_ = turn;
    if (QCryptographicHash::hash(savegame, QCryptographicHash::Sha256).toHex() != digest.toLatin1()) {
        Tell({"The server sent a game that does not match its own digest; it was not taken.",
              "Der Server hat ein Spiel gesandt, das nicht zu seiner eigenen Prüfsumme passt; es wurde nicht "
              "übernommen."});
        return;
    }
    if (checkingTurn_) {
        // The turn's end: the player's copy must be the server's game before the month goes on.
        checkingTurn_ = false;
        ++checks_;
        if (digest != digestAtEnd_) {
            ++mismatches_;
            const std::string m = std::to_string(month);
            Tell({"Your copy of the game differs from the server's (month " + m +
                      "). The server's game is taken; it is what counts.",
                  "Ihre Kopie des Spiels weicht von der des Servers ab (Monat " + m +
                      "). Das Spiel des Servers wird übernommen; es gilt."});
            Take(savegame);
        }
        client_->SendCommand("next-turn");
        return;
    }
    // A copy still moving on turn is left alone until the commands sent have come back.
    if (phase_ == Phase::OnTurn && turn == mySeat_ && client_->Unanswered() > 0)
        return;
    if (digest != LocalDigest() && !Take(savegame))
        return;
    SetPhase(turn == mySeat_ ? Phase::OnTurn : Phase::Waiting);
    ShowNews();
}

bool NetworkMenu::Take(const QByteArray& savegame)
{
    // The server's game as a savegame of our own in the player's folder: the session opens it as
    // it opens any game, and the player keeps a copy.
    QString id = Q(client_->Seat().Game);
    id.replace(QRegularExpression("[^A-Za-z0-9_-]"), "_");
    const QString folder = Q(window_.State().Program.ProgramDirectory) + "/network";
    QDir().mkpath(folder);
    const std::string path = (folder + "/" + id + ".tsg").toStdString();
    std::string why;
    const std::string bytes(savegame.constData(), static_cast<size_t>(savegame.size()));
    if (!WriteFileSafely(path, bytes, &why) || window_.Session().Load(path, &why) != LoadStatus::Loaded) {
        Tell({"The server's game cannot be shown: " + why, "Das Spiel des Servers kann nicht gezeigt werden: " + why});
        return false;
    }
    sent_ = window_.State().History.Inputs.Entries.size();
    if (auto* guide = window_.findChild<GuideMenu*>())
        guide->GameReplaced();
    window_.ShowStatusLine(StatusLineText(window_.State()));
    window_.Redraw();
    return true;
}

void NetworkMenu::CommandAnswered(const QString& sent, const QString& /*executed*/, bool refused, const QString& why)
{
    if (sent == "next-turn" && !refused) {
        if (phase_ == Phase::EndingTurn)
            SetPhase(Phase::Waiting);
        return;
    }
    if (refused) {
        Tell({"The server refused what your copy of the game accepted (" + sent.toStdString() +
                  "): " + why.toStdString() + "\nThe server's game is taken.",
              "Der Server hat abgelehnt, was Ihre Kopie des Spiels angenommen hat (" + sent.toStdString() +
                  "): " + why.toStdString() + "\nDas Spiel des Servers wird übernommen."});
        ++mismatches_;
        fetching_ = true;
        client_->Fetch();
    }
}

void NetworkMenu::CommandRejected(const QString& sent, const QString& code, const QString& why)
{
    const std::string what = (sent.isEmpty() ? code : sent + " (" + code + ")").toStdString();
    Tell({"The server did not take " + what + ": " + why.toStdString() + "\nThe server's game is taken.",
          "Der Server hat " + what + " nicht angenommen: " + why.toStdString() +
              "\nDas Spiel des Servers wird übernommen."});
    if (sent == "next-turn")
        checkingTurn_ = false;
    fetching_ = true;
    client_->Fetch();
}

void NetworkMenu::Failed(const QString& code, const QString& why)
{
    const std::string w = why.toStdString();
    const std::string server = client_->Seat().Server;
    LocalText text;
    if (code == "unreachable")
        text = {"The server " + server + " cannot be reached: " + w,
                "Der Server " + server + " ist nicht erreichbar: " + w};
    else if (code == "bad-invite")
        text = {"The server does not know this invite code, or it was used already or has expired.",
                "Der Server kennt diesen Einladungscode nicht, oder er wurde schon benutzt oder ist abgelaufen."};
    else if (code == "unknown-game")
        text = {"The server " + server + " no longer knows this game.",
                "Der Server " + server + " kennt dieses Spiel nicht mehr."};
    else if (code == "bad-token")
        text = {"The server does not give you this seat: your seat's key does not hold it.",
                "Der Server gibt Ihnen diesen Platz nicht: Ihr Schlüssel passt nicht dazu."};
    else
        text = {"The server refused: " + w, "Der Server hat abgelehnt: " + w};
    Leave();
    Tell(text);
}

// --- the player's turn ------------------------------------------------------------------------

bool NetworkMenu::EndTurn()
{
    if (phase_ == Phase::Off)
        return false;
    if (phase_ != Phase::OnTurn)
        return true;
    Look();
    // Compared with the server's game once every command of the turn has come back.
    digestAtEnd_ = LocalDigest();
    checkingTurn_ = true;
    SetPhase(Phase::EndingTurn);
    client_->Fetch();
    return true;
}

void NetworkMenu::Look()
{
    lookSoon_ = false;
    if (phase_ == Phase::Off)
        return;
    const auto& entries = window_.State().History.Inputs.Entries;
    if (sent_ > entries.size())
        sent_ = entries.size();
    bool stray = false;
    for (; sent_ < entries.size(); ++sent_) {
        const RecordedInput& input = entries[sent_];
        if (input.Kind != InputKind::Command)
            continue;
        if (phase_ == Phase::OnTurn)
            client_->SendCommand(Q(input.Text));
        else
            stray = true;
    }
    if (stray && !fetching_) {
        // Something changed the copy while the other player moves: the server's game again.
        fetching_ = true;
        client_->Fetch();
    }
}

bool NetworkMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (phase_ == Phase::Off)
        return QObject::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    const bool readOnly = phase_ != Phase::OnTurn;
    // The map is read-only while the other player moves: a click would choose a town.
    if (readOnly && watched == window_.Surface() &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick || type == QEvent::MouseButtonRelease))
        return true;
    if (readOnly && type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_PageDown || key == Qt::Key_PageUp) && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == &window_)
            return true;
    }
    // After each click and key, what the player did goes to the server.
    if ((type == QEvent::MouseButtonRelease || type == QEvent::KeyRelease || type == QEvent::KeyPress) && !lookSoon_) {
        lookSoon_ = true;
        QTimer::singleShot(0, this, &NetworkMenu::Look);
    }
    return QObject::eventFilter(watched, event);
}

void NetworkMenu::SetPhase(Phase phase)
{
    const Phase before = phase_;
    phase_ = phase;
    if (phase != Phase::Off && before == Phase::Off)
        qApp->installEventFilter(this);
    else if (phase == Phase::Off && before != Phase::Off)
        qApp->removeEventFilter(this);
    // The command buttons and Next Turn work on this player's turn only.
    const bool enabled = phase == Phase::Off || phase == Phase::OnTurn;
    for (QPushButton* b : {window_.Button1, window_.Button2, window_.Button3, window_.Button4, window_.Button5,
                           window_.Button6, window_.Button7, window_.Button8, window_.Button11})
        if (b)
            b->setEnabled(enabled);
    if (phase == Phase::OnTurn && before != Phase::OnTurn) {
        sent_ = window_.State().History.Inputs.Entries.size();
        if (!window_.isActiveWindow() && Alert)
            Alert();
    }
    UpdateBanner();
}

void NetworkMenu::SetZoom(int zoom)
{
    zoom_ = zoom;
    UpdateBanner();
}

void NetworkMenu::UpdateBanner()
{
    if (!banner_)
        return;
    if (phase_ == Phase::Off) {
        banner_->hide();
        return;
    }
    const GameState& s = window_.State();
    const int other = mySeat_ == 1 ? 2 : 1;
    const int otherCompany = s.GameActive ? s.PlayerCompany[static_cast<size_t>(other - 1)] : -1;
    const QString otherName = otherCompany >= 0 && otherCompany < kCompanies
                                  ? Q(s.CompanyName[otherCompany])
                                  : Text({"the other player", "der andere Spieler"});
    QString text;
    switch (phase_) {
    case Phase::Connecting:
        text = Text({"Connecting to %1 ...", "Verbinde mit %1 ..."}).arg(Q(client_->Seat().Server));
        break;
    case Phase::Waiting:
        if (!joined_ && mySeat_ == 1 && turn_ == 2)
            text = invite_.isEmpty() ? Text({"Waiting for player 2 to join", "Warten, bis Spieler 2 beitritt"})
                                     : Text({"Waiting for player 2 to join with the invite code %1",
                                             "Warten, bis Spieler 2 mit dem Einladungscode %1 beitritt"})
                                           .arg(invite_);
        else
            text = Text({"%1 (player %2) is on turn - please wait", "%1 (Spieler %2) ist am Zug - bitte warten"})
                       .arg(otherName)
                       .arg(other);
        break;
    case Phase::OnTurn:
        text = Text({"Your turn (player %1)", "Sie sind am Zug (Spieler %1)"}).arg(mySeat_);
        break;
    case Phase::EndingTurn:
        text = Text({"Ending your turn ...", "Ihr Zug wird beendet ..."});
        break;
    case Phase::Off:
        break;
    }
    if (!lostNote_.isEmpty())
        text += " - " + lostNote_;
    banner_->setText(text);
    banner_->setFont(ZoomedFont(bannerFont_, zoom_));
    banner_->setMargin(Zoomed(3, zoom_));
    banner_->adjustSize();
    banner_->move(Zoomed(4, zoom_), Zoomed(4, zoom_));
    banner_->show();
    banner_->raise();
}

QString NetworkMenu::LocalDigest() const
{
    if (!window_.State().GameActive)
        return {};
    const std::string text = SavegameText(window_.State());
    return QString::fromLatin1(
        QCryptographicHash::hash(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())),
                                 QCryptographicHash::Sha256)
            .toHex());
}
