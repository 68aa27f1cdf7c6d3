/// @file german_numbers.h A German numeric locale for as long as a test needs it, as a toolkit
/// sets one from the user's environment.
#pragma once

#include <clocale>
#include <string>

class GermanNumbers {
public:
    GermanNumbers() : before_(std::setlocale(LC_NUMERIC, nullptr))
    {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"})
            if (std::setlocale(LC_NUMERIC, name)) {
                active_ = true;
                break;
            }
    }
    ~GermanNumbers() { std::setlocale(LC_NUMERIC, before_.c_str()); }
    GermanNumbers(const GermanNumbers&) = delete;
    GermanNumbers& operator=(const GermanNumbers&) = delete;

    /// The machine has a German locale and it is in force.
    bool Active() const { return active_; }

private:
    std::string before_;
    bool active_ = false;
};
