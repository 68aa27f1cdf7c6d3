/// @file info.cpp The information dialog.
#include "ui/info.h"

#include <QDir>
#include <QFontMetrics>
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
    Label2 = controls.Get<QLabel>("Label2");
    OKBtn = controls.Get<QPushButton>("OKBtn");
    // Not translated: the game's name and version read the same in both languages.
    controls.ApplyLanguage(Language::English);
    setWindowTitle(QString::fromStdString(kInfoLayout.Title->English));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);  // hides it; it stays for the next time
}

void TInfoDialog::ShowPlaces(const QString& settings, const QString& names, const QString& autosave)
{
    // Inside the frame, with its margin on both sides.
    const int width = Bevel1->width() - 2 * (Label2->x() - Bevel1->x());
    const QFontMetrics metrics(Label2->font());
    QStringList lines;
    QStringList whole;
    for (const auto& [what, path] : {std::pair{QString("Settings:"), settings}, std::pair{QString("Names:"), names},
                                     std::pair{QString("Autosave:"), autosave}}) {
        lines << what << "  " + metrics.elidedText(QDir::toNativeSeparators(path), Qt::ElideMiddle, width - 8);
        whole << what + " " + QDir::toNativeSeparators(path);
    }
    Label2->setText(lines.join('\n'));
    Label2->setToolTip(whole.join('\n'));
    Label2->adjustSize();
}

void TInfoDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreDialog(*this, CentredOnGameWindow);
}
