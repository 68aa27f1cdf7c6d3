/// @file zwischen.cpp The best-opponent dialog.
#include "ui/zwischen.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <string>

#include "ui/dialog_support.h"
#include "ui/layout_builder.h"

TZwischenDialog::TZwischenDialog(QWidget* parent) : QDialog(parent)
{
    SetUpDialog(*this, kBestOpponentLayout, DialogStacking::Normal);
    const BuiltControls controls = BuildControls(*this, kBestOpponentLayout);
    for (size_t i = 0; i < Labels.size(); ++i)
        Labels[i] = controls.Get<QLabel>("Label" + std::to_string(i + 1));
    // Odd numbers in the own company's row, even numbers in the best opponent's.
    for (size_t i = 0; i < Edits.size(); ++i)
        Edits[i] = controls.Get<QLineEdit>("Edit" + std::to_string(i + 1));
    OKBtn = controls.Get<QPushButton>("OKBtn");
    OKBtn->setText(QStringLiteral("OK"));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void TZwischenDialog::Fill(const BestOpponentView& view)
{
    setWindowTitle(QString::fromStdString(view.Caption));
    for (int i = 0; i < 8; ++i) {
        Labels[i]->setText(QString::fromStdString(view.Labels[i]));
        Labels[i]->adjustSize();
    }
    const std::array<const CompanyStanding*, 2> rows = {&view.Own, &view.Best};
    for (int row = 0; row < 2; ++row) {
        const CompanyStanding& c = *rows[row];
        const std::array<const std::string*, 7> texts = {&c.Name,     &c.Brands, &c.Breweries, &c.Depots,
                                                         &c.Capacity, &c.Sales,  &c.Share};
        for (int column = 0; column < 7; ++column) {
            QLineEdit* field = Edits[2 * column + row];
            field->setText(QString::fromStdString(*texts[column]));
            field->setCursorPosition(0);
        }
    }
}

void TZwischenDialog::ShowFor(const GameState& s)
{
    Fill(ComputeBestOpponent(s));
    CentreDialog(*this, CentredOnGameWindow);
    exec();
}
