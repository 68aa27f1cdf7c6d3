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

/// Litres plus a change, held within the 32-bit range instead of wrapping around.
inline int32_t AddLitres(int32_t litres, int64_t change)
{
    return static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(litres) + change,
                                                    std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}
