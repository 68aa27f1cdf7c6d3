/// @file zwischen.cpp The best-opponent dialog.
#include "ui/zwischen.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/dialog_support.h"

namespace {

struct FieldColumn {
    int X;
    int Width;
};
// Name, brands, breweries, depots, capacity, sales, share.
constexpr FieldColumn kColumns[7] = {{16, 137}, {160, 25}, {208, 25}, {256, 25}, {296, 65}, {368, 57}, {432, 33}};
constexpr int kOwnRowY = 40;
constexpr int kBestRowY = 104;
constexpr int kLabelPositions[8][2] = {{16, 16},  {16, 80},  {160, 16}, {200, 16},
                                       {256, 16}, {304, 16}, {384, 16}, {432, 16}};

}  // namespace

TZwischenDialog::TZwischenDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ZwischenDialog"));
    SetDialogFrame(*this, 496, 187);
    for (int i = 0; i < 8; ++i) {
        Labels[i] = MakeDialogLabel(*this, QStringLiteral("Label%1").arg(i + 1), kLabelPositions[i][0],
                                    kLabelPositions[i][1]);
    }
    for (int column = 0; column < 7; ++column) {
        const FieldColumn& f = kColumns[column];
        const int own = 2 * column;  // Edit1, Edit3, ... in the own row; Edit2, Edit4, ... below
        Edits[own] = MakeDialogField(*this, QStringLiteral("Edit%1").arg(own + 1), f.X, kOwnRowY, f.Width);
        Edits[own + 1] = MakeDialogField(*this, QStringLiteral("Edit%1").arg(own + 2), f.X, kBestRowY, f.Width);
    }
    OKBtn = MakeDialogOk(*this, 210, 148);
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
    CentreOnScreen(*this);
    exec();
}
