/// @file info.cpp The information dialog.
#include "ui/info.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "ui/newgame.h"

TInfoDialog::TInfoDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("InfoDialog"));
    setModal(false);
    setFont(DialogFont());
    setWindowTitle(QStringLiteral("Information"));
    setFixedSize(313, 214);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 297, 161);

    Label1 = new QLabel(QStringLiteral("The TAVREK! War V2.43"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(97, 24);
    Label1->adjustSize();

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(119, 180, 75, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);  // hides it; it stays for the next time
}

void TInfoDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreOnScreen(this);
}
