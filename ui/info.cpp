/// @file info.cpp The information dialog.
#include "ui/info.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "ui/dialog_support.h"
#include "ui/layout_builder.h"

TInfoDialog::TInfoDialog(QWidget* parent) : QDialog(parent)
{
    SetUpDialog(*this, kInfoLayout, DialogStacking::StaysOnTop, false);
    const BuiltControls controls = BuildControls(*this, kInfoLayout);
    Bevel1 = controls.Get<QFrame>("Bevel1");
    Label1 = controls.Get<QLabel>("Label1");
    OKBtn = controls.Get<QPushButton>("OKBtn");
    // Not translated: the game's name and version read the same in both languages.
    controls.ApplyLanguage(Language::English);
    setWindowTitle(QString::fromStdString(kInfoLayout.Title->English));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);  // hides it; it stays for the next time
}

void TInfoDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}
