/// @file dialog_support.cpp The windows' shared make-up.
#include "ui/dialog_support.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

QFont WindowFont(int zoom)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11 * zoom / 100);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

void SetUpDialog(QDialog& dialog, const WindowLayout& layout, DialogStacking stacking, bool modal)
{
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (stacking == DialogStacking::StaysOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    dialog.setWindowFlags(flags);
    dialog.setObjectName(QString::fromUtf8(layout.Name.data(), static_cast<qsizetype>(layout.Name.size())));
    // A dialog window does not inherit the main window's font; the labels' places are made
    // for it.
    dialog.setFont(WindowFont());
    dialog.setModal(modal);
    dialog.setFixedSize(layout.ClientWidth, layout.ClientHeight);
}

void CentreOnGameWindow(QWidget& dialog)
{
    const QWidget* parent = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    if (parent == nullptr || !parent->isVisible()) {
        CentreOnScreen(dialog);
        return;
    }
    QRect frame = dialog.frameGeometry();
    frame.moveCenter(parent->frameGeometry().center());
    dialog.move(frame.topLeft());
}

void CentreDialog(QWidget& dialog, bool onGameWindow)
{
    if (onGameWindow)
        CentreOnGameWindow(dialog);
    else
        CentreOnScreen(dialog);
}

void CentreOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}
