/// @file computer_company.cpp The moves of a computer-run company.
#include "engine/computer_company.h"

void RunComputerCompany(GameState&, int) {}
