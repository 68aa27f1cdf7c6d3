/// @file file_dialogs.cpp Qt's own file dialogs (the same on every desktop), with the game's words.
#include "ui/file_dialogs.h"

#include <QFileDialog>

#include "ui/language_tables.h"

namespace {

QString Q(const LocalText& text, Language language) { return QString::fromStdString(text.In(language)); }

}  // namespace

QString AskOpenFile(QWidget* parent, Language language)
{
    QFileDialog dialog(parent, Q(kFileDialogTexts.OpenTitle, language));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({Q(kFileDialogTexts.SavegameFilter, language), Q(kFileDialogTexts.AllFilesFilter, language)});
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString AskSaveFile(QWidget* parent, Language language, const QString& current)
{
    QFileDialog dialog(parent, Q(kFileDialogTexts.SaveTitle, language));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(Q(kFileDialogTexts.SavegameFilter, language));
    dialog.setDefaultSuffix(QStringLiteral("tsg"));
    if (!current.isEmpty())
        dialog.selectFile(current);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}
