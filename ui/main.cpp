/// @file main.cpp The game: one main window.
#include <QApplication>
#include <QDir>
#include <clocale>
#include <cstdio>

#include "ui/Tavrek95.h"

int main(int argc, char** argv)
{
    // Without a display Qt would abort with a long message; say plainly what is missing.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "no display: set DISPLAY or WAYLAND_DISPLAY, or run under xvfb-run\n");
        return 1;
    }
    QApplication app(argc, argv);
    // Qt takes the C library's locale from the environment; game texts and files use ".".
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("The TAVREK! War");
    // The folder the program is started in is its game folder: settings, names, sounds and help.
    TForm1 form(FoldersIn(QDir::currentPath().toStdString()));
    form.show();
    return app.exec();
}
