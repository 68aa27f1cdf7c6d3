/// @file command_common.h What the player's commands share: refusals and litre arithmetic.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

#include "game/frontend.h"
#include "game/text.h"

/// A refused command: a warning with an OK button and no title.
inline void Refuse(Frontend& frontend, const LocalText& text)
{
    frontend.ShowMessage(text, LocalText{}, MessageIcon::Warning);
}

inline LocalText NoMoneyInTown()
{
    return {"You don't have enough money in this town!", "Sie haben nicht genügend Geld in der Stadt!"};
}

inline LocalText NoFreeOrderSlot()
{
    return {"No further standing order possible!", "Keine weiteren Daueraufträge möglich!"};
}
