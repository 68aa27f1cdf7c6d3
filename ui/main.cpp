/// @file main.cpp The game: one main window, in a game folder or installed.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "persistence/game_folders.h"
#include "ui/Tavrek95.h"
#include "ui/exit_signals.h"
#include "ui/first_frame.h"

namespace {

const char kUsage[] = "usage: tavrek [--help] [--version] [--quit-after-first-frame] [Qt options] [FILE.tsg]\n";

const char kHelp[] =
    "The TAVREK! War: a turn-based business simulation of the beer market.\n"
    "\n"
    "Started inside a game folder (one that holds sound01.wav and help/index1.html), or from\n"
    "such a folder's own program, the game keeps its settings, names, highscores and\n"
    "Autosave.tsg in that folder. Installed, it keeps them in $XDG_DATA_HOME/tavrek (by default\n"
    "~/.local/share/tavrek) and reads its sounds and help pages from the install.\n"
    "\n"
    "Given a savegame FILE.tsg, the game opens it at start, as Game > Open does.\n"
    "\n"
    "Options:\n"
    "  --help                    print this help and exit\n"
    "  --version                 print the version and exit\n"
    "  --quit-after-first-frame  quit as soon as the window has painted its first frame (a\n"
    "                            start-up check; exit status 1 when none comes within 60 s)\n"
    "\n"
    "Qt's own options (such as -platform offscreen) are accepted as well.\n";

std::optional<std::string> Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace

int main(int argc, char** argv)
{
    // Help and version need no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tavrek %s\n", TAVREK_VERSION);
            return 0;
        }
    }
    // Without a display Qt would abort with a long message; say plainly what is missing.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "no display: set DISPLAY or WAYLAND_DISPLAY, or run under xvfb-run\n");
        return 1;
    }
    QApplication app(argc, argv);
    // Qt takes the C library's locale from the environment; game texts and files use ".".
    std::setlocale(LC_NUMERIC, "C");
    // Also the window's class on X11, which the launcher's StartupWMClass names.
    QApplication::setApplicationName("The TAVREK! War");
    QApplication::setApplicationVersion(TAVREK_VERSION);
    // Lets the desktop match the window to its launcher and icon.
    QGuiApplication::setDesktopFileName(TAVREK_APP_ID);

    // Qt has taken its own options out of argv by now.
    bool quitAfterFirstFrame = false;
    QString savegame;  // given by a file manager or on the command line
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        if (!optionsEnded && std::strcmp(argv[i], "--quit-after-first-frame") == 0) {
            quitAfterFirstFrame = true;
        } else if (!optionsEnded && std::strcmp(argv[i], "--") == 0) {
            optionsEnded = true;
        } else if (!optionsEnded && argv[i][0] == '-') {
            std::fprintf(stderr, "tavrek: unknown option '%s'\n%s", argv[i], kUsage);
            return 2;
        } else if (savegame.isEmpty() && argv[i][0] != '\0') {
            savegame = QFileInfo(QString::fromLocal8Bit(argv[i])).absoluteFilePath();
        } else {
            std::fprintf(stderr, "tavrek: one savegame at a time: '%s'\n%s", argv[i], kUsage);
            return 2;
        }
    }

    const FolderClues clues{QDir::currentPath().toStdString(), QCoreApplication::applicationDirPath().toStdString(),
                            TAVREK_INSTALLED_RESOURCES, Environment("XDG_DATA_HOME"), Environment("HOME")};
    std::string why;
    std::optional<GameFolders> folders = ChooseGameFolders(clues, why);
    if (folders && folders->Installed && !MakeDataFolder(*folders, why))
        folders.reset();
    if (!folders) {
        // Nothing has been played yet: better to stop here than to lose what the player does.
        std::fprintf(stderr, "tavrek: %s\n", why.c_str());
        if (!quitAfterFirstFrame)
            QMessageBox::critical(nullptr, "The TAVREK! War",
                                  QString("The game cannot keep your settings, highscores and savegames:\n%1\n\n"
                                          "Das Spiel kann Ihre Einstellungen, Bestenliste und Spielstände nicht "
                                          "ablegen:\n%1")
                                      .arg(QString::fromStdString(why)));
        return 1;
    }

    TForm1 form(*folders);
    bool painted = false;
    FirstFrameWatch firstFrame([&] {
        painted = true;
        std::printf("first frame painted; player files in %s, game files in %s\n", folders->Data.c_str(),
                    folders->Resources.c_str());
        if (!form.SaveFileName().isEmpty())
            std::printf("game opened from %s\n", form.SaveFileName().toLocal8Bit().constData());
        std::fflush(stdout);
        // Straight out of the event loop: closing the window would ask about an opened game.
        QCoreApplication::exit(0);
    });
    if (quitAfterFirstFrame) {
        form.Surface()->installEventFilter(&firstFrame);
        QTimer::singleShot(60000, &app, [] {
            std::fprintf(stderr, "tavrek: no frame was painted within 60 seconds\n");
            QCoreApplication::exit(1);
        });
    }
    form.show();
    WatchExitSignals(form);
    // Before the first frame, so it shows the opened game; a file that cannot be opened is
    // reported as Game > Open reports it, and the start screen stays.
    if (!savegame.isEmpty())
        form.OpenGameFile(savegame);
    // The check's frame may have come while a box about that file was up; it has ended that box.
    if (quitAfterFirstFrame && painted)
        return 0;
    return app.exec();
}
