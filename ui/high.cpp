/// @file high.cpp The highscore dialog.
#include "ui/high.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/dialog_support.h"

THighDialog::THighDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HighDialog"));
    SetDialogFrame(*this, 355, 214);
    setWindowTitle(QStringLiteral("Highscore"));
    for (int m = 0; m < 3; ++m) {
        const int y = 24 + 48 * m;  // 24, 72, 120; the fields 16 pixels below their labels
        Labels[m] = MakeDialogLabel(*this, QStringLiteral("Label%1").arg(m + 1), 24, y);
        Edits[m] = MakeDialogField(*this, QStringLiteral("Edit%1").arg(m + 1), 24, y + 16, 305);
    }
    OKBtn = MakeDialogOk(*this, 140, 180);
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
    CentreOnScreen(*this);
    exec();
}
