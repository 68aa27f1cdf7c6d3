/// @file message_boxes.cpp The game's message boxes and questions as QMessageBoxes.
#include "ui/message_boxes.h"

#include <QMessageBox>

#include "ui/window_zoom.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void MessageBoxes::Show(const LocalText& text, const LocalText& caption, MessageIcon icon, Language language,
                        int zoom) const
{
    const QMessageBox::Icon qicon = icon == MessageIcon::Warning       ? QMessageBox::Warning
                                    : icon == MessageIcon::Information ? QMessageBox::Information
                                                                       : QMessageBox::NoIcon;
    QMessageBox box(qicon, Q(caption.In(language)), Q(text.In(language)), QMessageBox::Ok, parent_);
    ZoomMessageBox(box, zoom);
    box.exec();
}

bool MessageBoxes::AskYesNo(const LocalText& text, const LocalText& caption, Language language, int zoom) const
{
    QMessageBox box(QMessageBox::Question, Q(caption.In(language)), Q(text.In(language)),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    ZoomMessageBox(box, zoom);
    return box.exec() == QMessageBox::Yes;
}

YesNoCancel MessageBoxes::AskYesNoCancel(const LocalText& text, const LocalText& caption, Language language,
                                         int zoom) const
{
    QMessageBox box(QMessageBox::Question, Q(caption.In(language)), Q(text.In(language)),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
    box.setEscapeButton(QMessageBox::Cancel);
    ZoomMessageBox(box, zoom);
    const int answer = box.exec();
    return answer == QMessageBox::Yes  ? YesNoCancel::Yes
           : answer == QMessageBox::No ? YesNoCancel::No
                                       : YesNoCancel::Cancel;
}
