/// @file startup_probe.cpp Starts either the game's main window or an empty Qt window of the
/// same size, and quits right after its first painted frame, printing the resident memory then.
/// `game 200` starts the game's window at a zoom (the player's choice in its settings file, on a
/// screen with room for it). bench/ui/run.sh times whole runs side by side.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>

#include "persistence/settings.h"
#include "ui/Tavrek95.h"
#include "ui/first_frame.h"

namespace {

long ResidentKiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool empty = argc > 1 && QString(argv[1]) == "empty";
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir work;  // the game writes its settings into its game folder
    FirstFrameWatch probe([] {
        std::printf("resident %ld KiB\n", ResidentKiB());
        QApplication::quit();
    });
    if (empty) {
        QWidget window;
        window.setFixedSize(kClientWidth, kClientHeight);
        window.installEventFilter(&probe);
        window.show();
        return app.exec();
    }
    const int zoom = argc > 2 ? QString(argv[2]).toInt() : 100;
    if (zoom != 100)
        WriteZoom(work.path().toStdString(), zoom);
    TForm1 form(FoldersIn(work.path().toStdString()));
    form.AvailableScreenSize = [] { return QSize(4096, 4096); };
    form.Surface()->installEventFilter(&probe);
    form.show();
    return app.exec();
}
