/// @file high.cpp The highscore dialog.
#include "ui/high.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <string>

#include "ui/dialog_support.h"
#include "ui/layout_builder.h"

THighDialog::THighDialog(QWidget* parent) : QDialog(parent)
{
    SetUpDialog(*this, kHighscoreLayout, DialogStacking::Normal);
    setWindowTitle(QStringLiteral("Highscore"));
    const BuiltControls controls = BuildControls(*this, kHighscoreLayout);
    for (size_t m = 0; m < Labels.size(); ++m) {
        Labels[m] = controls.Get<QLabel>("Label" + std::to_string(m + 1));
        Edits[m] = controls.Get<QLineEdit>("Edit" + std::to_string(m + 1));
    }
    OKBtn = controls.Get<QPushButton>("OKBtn");
    OKBtn->setText(QStringLiteral("OK"));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void THighDialog::Fill(const HighscoreView& view)
{
    setWindowTitle(QString::fromStdString(view.Caption));
    for (int m = 0; m < 3; ++m) {
        Labels[m]->setText(QString::fromStdString(view.Labels[m]));
        Labels[m]->adjustSize();
        Edits[m]->setText(QString::fromStdString(view.Lines[m]));
        Edits[m]->setCursorPosition(0);
    }
}

void THighDialog::ShowFor(const std::string& programDirectory, Language language)
{
    Fill(ReadHighscores(programDirectory, language));
    CentreDialog(*this, CentredOnGameWindow);
    exec();
}
