/// @file file_dialogs.h The file dialogs of Open and Save as, in the game's language.
#pragma once

#include <QString>

#include "game/text.h"

class QWidget;

/// Asks for a savegame to open; empty when the player cancels. The dialog's words and size grow
/// with the window's zoom (percent).
QString AskOpenFile(QWidget* parent, Language language, int zoom = 100);
/// Asks where to save, starting at the game's file if it has one; empty when the player cancels.
QString AskSaveFile(QWidget* parent, Language language, const QString& current, int zoom = 100);
