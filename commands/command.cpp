/// @file command.cpp The text form of a player's command.
#include "commands/command.h"

#include <charconv>
#include <vector>

#include "game/game_state.h"

namespace {

struct KindWord {
    CommandKind Kind;
    const char* Word;
};

constexpr KindWord kWords[] = {
    {CommandKind::SelectTown, "select"},       {CommandKind::BuildBrewery, "build-brewery"},
    {CommandKind::ExtendBrewery, "extend"},    {CommandKind::BuildDepot, "depot"},
    {CommandKind::NewBrand, "new-brand"},      {CommandKind::ChangePrices, "prices"},
    {CommandKind::TransportBeer, "transport"}, {CommandKind::TransferMoney, "transfer"},
    {CommandKind::NewOrder, "order"},          {CommandKind::DeleteOrder, "delete-order"},
    {CommandKind::NextTurn, "next-turn"},
};

bool Escaped(unsigned char c) { return c <= ' ' || c == '%' || c == 0x7f; }

std::string FieldText(const std::string& typed)
{
    if (typed.empty())
        return "-";
    if (typed == "-")
        return "%2D";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : typed) {
        const auto c = static_cast<unsigned char>(ch);
        if (Escaped(c)) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool ReadField(const std::string& word, std::string& out)
{
    out.clear();
    if (word == "-")
        return true;
    for (size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%') {
            out += word[i];
            continue;
        }
        if (i + 2 >= word.size())
            return false;
        const int high = HexDigit(word[i + 1]);
        const int low = HexDigit(word[i + 2]);
        if (high < 0 || low < 0)
            return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

std::string ChoiceText(int value) { return value == kNoChoice ? "-" : std::to_string(value); }

}  // namespace

const char* CommandWord(CommandKind kind)
{
    for (const auto& w : kWords)
        if (w.Kind == kind)
            return w.Word;
    return "?";
}

std::string CommandText(const Command& c)
{
    std::string text = CommandWord(c.Kind);
    const auto add = [&text](const std::string& word) {
        text += ' ';
        text += word;
    };
    const auto answer = [&]() {
        if (c.Answer)
            add(*c.Answer ? "yes" : "no");
    };
    switch (c.Kind) {
    case CommandKind::SelectTown:
        add(ChoiceText(c.Town));
        break;
    case CommandKind::BuildBrewery:
        add(ChoiceText(c.Brand));
        break;
    case CommandKind::ExtendBrewery:
        add(ChoiceText(c.Brand));
        add(FieldText(c.Amount));
        break;
    case CommandKind::BuildDepot:
    case CommandKind::NextTurn:
        break;
    case CommandKind::NewBrand:
        answer();
        break;
    case CommandKind::ChangePrices:
        for (const auto& price : c.Prices)
            add(FieldText(price));
        break;
    case CommandKind::TransportBeer:
        add(ChoiceText(c.Brand));
        add(ChoiceText(c.Town));
        add(FieldText(c.Amount));
        break;
    case CommandKind::TransferMoney:
        add(ChoiceText(c.Town));
        add(FieldText(c.Amount));
        break;
    case CommandKind::NewOrder:
        add(c.Brand == kMoneyGoods ? "money" : ChoiceText(c.Brand));
        add(ChoiceText(c.FromTown));
        add(ChoiceText(c.Town));
        add(FieldText(c.Amount));
        break;
    case CommandKind::DeleteOrder:
        add(ChoiceText(c.Order));
        answer();
        break;
    }
    return text;
}

bool ParseCommand(std::string_view text, Command& out, std::string& error)
{
    std::vector<std::string> w;
    for (size_t i = 0; i < text.size();) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
            ++i;
        size_t end = i;
        while (end < text.size() && !(text[end] == ' ' || text[end] == '\t' || text[end] == '\r' || text[end] == '\n'))
            ++end;
        if (end > i)
            w.emplace_back(text.substr(i, end - i));
        i = end;
    }
    if (w.empty()) {
        error = "a command is missing";
        return false;
    }
    Command c;
    const KindWord* kind = nullptr;
    for (const auto& k : kWords)
        if (w[0] == k.Word)
            kind = &k;
    if (!kind) {
        error = "unknown action '" + w[0] + "'";
        return false;
    }
    c.Kind = kind->Kind;
    const std::vector<std::string> args(w.begin() + 1, w.end());
    const auto expect = [&](size_t low, size_t high, const char* usage) {
        if (args.size() >= low && args.size() <= high)
            return true;
        error = std::string("usage: ") + usage;
        return false;
    };
    // A list's choice: a whole number in its range, or "-" for none.
    const auto choice = [&](const std::string& word, int low, int high, const char* what, int& value) {
        if (word == "-") {
            value = kNoChoice;
            return true;
        }
        int n = 0;
        const auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), n);
        if (ec == std::errc() && ptr == word.data() + word.size() && n >= low && n <= high) {
            value = n;
            return true;
        }
        error = std::string(what) + " must be from " + std::to_string(low) + " to " + std::to_string(high) + ", not '" +
                word + "'";
        return false;
    };
    const auto field = [&](const std::string& word, std::string& value) {
        if (ReadField(word, value))
            return true;
        error = "a typed field has a broken %-escape: '" + word + "'";
        return false;
    };
    const auto answer = [&](size_t at) {
        if (args.size() <= at)
            return true;
        if (args[at] == "yes" || args[at] == "no") {
            c.Answer = args[at] == "yes";
            return true;
        }
        error = "the answer must be yes or no, not '" + args[at] + "'";
        return false;
    };
    bool ok = false;
    switch (c.Kind) {
    case CommandKind::SelectTown:
        // A click always lands on a town.
        ok = expect(1, 1, "select TOWN") && choice(args[0], 0, kTowns - 1, "TOWN", c.Town);
        if (ok && c.Town == kNoChoice) {
            error = "TOWN must be from 0 to 9, not '-'";
            ok = false;
        }
        break;
    case CommandKind::BuildBrewery:
        ok = expect(1, 1, "build-brewery BRAND") && choice(args[0], 0, kBrands - 1, "BRAND", c.Brand);
        break;
    case CommandKind::ExtendBrewery:
        ok = expect(2, 2, "extend BRAND COUNT") && choice(args[0], 0, kBrands - 1, "BRAND", c.Brand) &&
             field(args[1], c.Amount);
        break;
    case CommandKind::BuildDepot:
        ok = expect(0, 0, "depot");
        break;
    case CommandKind::NextTurn:
        ok = expect(0, 0, "next-turn");
        break;
    case CommandKind::NewBrand:
        ok = expect(0, 1, "new-brand [yes|no]") && answer(0);
        break;
    case CommandKind::ChangePrices:
        ok = expect(3, 3, "prices P1 P2 P3") && field(args[0], c.Prices[0]) && field(args[1], c.Prices[1]) &&
             field(args[2], c.Prices[2]);
        break;
    case CommandKind::TransportBeer:
        ok = expect(3, 3, "transport BRAND TOWN AMOUNT") && choice(args[0], 0, kBrands - 1, "BRAND", c.Brand) &&
             choice(args[1], 0, kTowns - 1, "TOWN", c.Town) && field(args[2], c.Amount);
        break;
    case CommandKind::TransferMoney:
        ok = expect(2, 2, "transfer TOWN AMOUNT") && choice(args[0], 0, kTowns - 1, "TOWN", c.Town) &&
             field(args[1], c.Amount);
        break;
    case CommandKind::NewOrder:
        ok = expect(4, 4, "order BRAND|money FROM TO AMOUNT");
        if (ok && args[0] == "money")
            c.Brand = kMoneyGoods;
        else
            ok = ok && choice(args[0], 0, kBrands - 1, "BRAND", c.Brand);
        ok = ok && choice(args[1], 0, kTowns - 1, "FROM", c.FromTown) && choice(args[2], 0, kTowns - 1, "TO", c.Town) &&
             field(args[3], c.Amount);
        break;
    case CommandKind::DeleteOrder:
        ok = expect(1, 2, "delete-order NUMBER [yes|no]") && choice(args[0], 1, kOrderSlots, "NUMBER", c.Order) &&
             answer(1);
        break;
    }
    if (ok)
        out = std::move(c);
    return ok;
}
