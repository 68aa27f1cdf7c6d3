/// @file file_dialogs.cpp Qt's own file dialogs (the same on every desktop), with the game's words.
#include "ui/file_dialogs.h"

#include <QFileDialog>

#include "ui/language_tables.h"
#include "ui/window_zoom.h"

namespace {

QString Q(const LocalText& text, Language language) { return QString::fromStdString(text.In(language)); }

void ZoomFileDialog(QFileDialog& dialog, int zoom)
{
    if (zoom == 100)
        return;
    dialog.setFont(DesktopFont("QFileDialog", zoom));
    dialog.resize(dialog.sizeHint() * (zoom / 100.0));
}

}  // namespace

QString AskOpenFile(QWidget* parent, Language language, int zoom)
{
    QFileDialog dialog(parent, Q(kFileDialogTexts.OpenTitle, language));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({Q(kFileDialogTexts.SavegameFilter, language), Q(kFileDialogTexts.AllFilesFilter, language)});
    ZoomFileDialog(dialog, zoom);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString AskSaveFile(QWidget* parent, Language language, const QString& current, int zoom)
{
    QFileDialog dialog(parent, Q(kFileDialogTexts.SaveTitle, language));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(Q(kFileDialogTexts.SavegameFilter, language));
    dialog.setDefaultSuffix(QStringLiteral("tsg"));
    if (!current.isEmpty())
        dialog.selectFile(current);
    ZoomFileDialog(dialog, zoom);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}
