/// @file network_seats.cpp The seats file: one line a seat, a version line first.
#include "ui/network_seats.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kHeader = "TAVREK seats 1";

bool IsToken(const std::string& token)
{
    return token.size() == 64 && std::all_of(token.begin(), token.end(),
                                             [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

bool IsWord(const std::string& word)
{
    return !word.empty() && word.size() <= 1000 &&
           std::none_of(word.begin(), word.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

std::string PathIn(const std::string& folder) { return folder + "/" + kSeatsFileName; }

}  // namespace

void HeldSeats::Keep(const HeldSeat& seat)
{
    std::erase_if(Seats, [&](const HeldSeat& s) {
        return s.Server == seat.Server && s.Game == seat.Game && s.Seat == seat.Seat;
    });
    Seats.insert(Seats.begin(), seat);
}

std::optional<HeldSeats> ParseHeldSeats(const std::string& text)
{
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kHeader)
        return std::nullopt;
    HeldSeats seats;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "server") {
            std::string url;
            if (words >> url && IsWord(url))
                seats.LastServer = url;
        } else if (kind == "seat") {
            HeldSeat s;
            std::string rest;
            if (words >> s.Server >> s.Game >> s.Seat >> s.Token && !(words >> rest) && IsWord(s.Server) &&
                IsWord(s.Game) && (s.Seat == 1 || s.Seat == 2) && IsToken(s.Token))
                seats.Seats.push_back(s);
        }
    }
    return seats;
}

std::string HeldSeatsText(const HeldSeats& seats)
{
    std::string text = std::string(kHeader) + "\n";
    if (IsWord(seats.LastServer))
        text += "server " + seats.LastServer + "\n";
    for (const HeldSeat& s : seats.Seats)
        text += "seat " + s.Server + " " + s.Game + " " + std::to_string(s.Seat) + " " + s.Token + "\n";
    return text;
}

std::optional<HeldSeats> ReadHeldSeats(const std::string& folder, std::string* why)
{
    std::ifstream file(PathIn(folder), std::ios::binary);
    if (!file)
        return HeldSeats{};
    std::ostringstream text;
    text << file.rdbuf();
    std::optional<HeldSeats> seats = ParseHeldSeats(text.str());
    if (!seats && why)
        *why = PathIn(folder) + " is not a seats file";
    return seats;
}

bool WriteHeldSeats(const std::string& folder, const HeldSeats& seats, std::string* why)
{
    const std::string path = PathIn(folder);
    const std::string scratch = path + ".new";
    const std::string text = HeldSeatsText(seats);
    auto fail = [&](const char* what) {
        if (why)
            *why = std::string(what) + " " + path + ": " + std::strerror(errno);
        return false;
    };
    // Made owner-only from the start: the tokens are never readable by others, not for a moment.
    ::unlink(scratch.c_str());
    const int fd = ::open(scratch.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return fail("cannot write");
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            ::unlink(scratch.c_str());
            return fail("cannot write");
        }
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        ::unlink(scratch.c_str());
        return fail("cannot write");
    }
    if (::rename(scratch.c_str(), path.c_str()) != 0) {
        ::unlink(scratch.c_str());
        return fail("cannot replace");
    }
    return true;
}
