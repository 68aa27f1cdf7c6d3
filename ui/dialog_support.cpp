/// @file dialog_support.cpp The small dialogs' shared make-up.
#include "ui/dialog_support.h"
#include "ui/newgame.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

void SetDialogFrame(QDialog& dialog, int width, int height)
{
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // The window's font, which the labels' fixed places are made for: a dialog window does
    // not inherit it from the main window.
    dialog.setFont(DialogFont());
    dialog.setModal(true);
    dialog.setFixedSize(width, height);
}

QLabel* MakeDialogLabel(QDialog& dialog, const QString& name, int x, int y)
{
    auto* label = new QLabel(&dialog);
    label->setObjectName(name);
    label->move(x, y);
    return label;
}

QLineEdit* MakeDialogField(QDialog& dialog, const QString& name, int x, int y, int width)
{
    auto* field = new QLineEdit(&dialog);
    field->setObjectName(name);
    field->setGeometry(x, y, width, kDialogFieldHeight);
    field->setReadOnly(true);
    field->setFrame(false);
    field->setFocusPolicy(Qt::NoFocus);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    field->setPalette(palette);
    return field;
}

QPushButton* MakeDialogOk(QDialog& dialog, int x, int y)
{
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setGeometry(x, y, kDialogButtonWidth, kDialogButtonHeight);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    return ok;
}

void CentreOnScreen(QDialog& dialog)
{
    const QScreen* screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect frame = dialog.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    dialog.move(frame.topLeft());
}
