/// @file network_seats.h The seats this player holds in network games, kept in a file of its own
/// in the player's data folder, readable by its owner only: whoever holds a seat's token plays it.
#pragma once

#include <optional>
#include <string>
#include <vector>

/// One seat of a game on a server.
struct HeldSeat {
    std::string Server;  ///< ws://HOST:PORT
    std::string Game;    ///< the server's id of the game
    int Seat = 0;        ///< 1 (the host) or 2
    std::string Token;   ///< the seat's secret, 64 hexadecimal digits

    bool operator==(const HeldSeat&) const = default;
};

/// The file's content: the server last used and every seat held, newest first.
struct HeldSeats {
    std::string LastServer;
    std::vector<HeldSeat> Seats;

    /// Keeps `seat`, replacing an older entry of the same game and seat.
    void Keep(const HeldSeat& seat);
    bool operator==(const HeldSeats&) const = default;
};

/// The file's name in the player's data folder.
inline constexpr const char* kSeatsFileName = "TavrekSeats.txt";

/// Reads the seats file's text; a line that is no seat is passed over, so a damaged line costs
/// only that seat. Nothing when the text is not a seats file at all.
std::optional<HeldSeats> ParseHeldSeats(const std::string& text);
std::string HeldSeatsText(const HeldSeats& seats);

/// Reads the file in `folder`; no file gives no seats. A file that is not a seats file is
/// nothing, with `why`.
std::optional<HeldSeats> ReadHeldSeats(const std::string& folder, std::string* why = nullptr);
/// Writes the file whole (a scratch file renamed over it), owner read and write only.
bool WriteHeldSeats(const std::string& folder, const HeldSeats& seats, std::string* why = nullptr);
