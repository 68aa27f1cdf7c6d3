/// @file map_tables.cpp The fixed tables of the three maps.
#include "game/map_tables.h"

const std::array<std::array<const char*, kTowns>, kMaps> kTownNames{{
    {{"Truestone", "Tomsville", "Fotzingfors", "Seaside", "Twinhaven", "LaMiella", "Freetown", "Wolfsburg",
      "Melkerstiege", "Kha'Sar"}},
    {{"Morkalas", "Rawland", "Maltbridge", "Teddington", "Modderhafen", "Wrong Island", "Dwarf Cross", "Greenriver",
      "Annwald", "Kathrinki"}},
    {{"Eagleburg", "Serpentina", "Gloomwood", "Burnington", "Big Green", "Anchorfield", "Sandmill", "Bimmelburg",
      "Lonetown", "Fischau"}},
}};

const std::array<std::array<std::array<int32_t, kTowns>, kTowns>, kMaps> kTransportCosts{{
    {{
        {0, 21, 11, 23, 24, 30, 24, 34, 42, 16},
        {21, 0, 10, 22, 23, 29, 30, 37, 41, 22},
        {11, 10, 0, 12, 13, 19, 20, 27, 31, 12},
        {23, 22, 12, 0, 13, 19, 29, 27, 31, 21},
        {24, 23, 13, 13, 0, 6, 16, 14, 18, 8},
        {30, 29, 19, 19, 6, 0, 22, 20, 12, 14},
        {24, 30, 20, 29, 16, 22, 0, 10, 28, 8},
        {34, 37, 27, 27, 14, 20, 10, 0, 18, 18},
        {42, 41, 31, 31, 18, 12, 28, 18, 0, 26},
        {16, 22, 12, 21, 8, 14, 8, 18, 26, 0},
    }},
    {{
        {0, 43, 75, 25, 35, 50, 41, 57, 51, 65},
        {43, 0, 54, 18, 8, 43, 20, 36, 30, 44},
        {75, 54, 0, 50, 46, 75, 34, 18, 44, 58},
        {25, 18, 50, 0, 10, 25, 16, 32, 26, 40},
        {35, 8, 46, 10, 0, 35, 12, 28, 22, 36},
        {50, 43, 75, 25, 35, 0, 41, 57, 51, 65},
        {41, 20, 34, 16, 12, 41, 0, 16, 10, 24},
        {57, 36, 18, 32, 28, 57, 16, 0, 26, 40},
        {51, 30, 44, 26, 22, 51, 10, 26, 0, 34},
        {65, 44, 58, 40, 36, 65, 24, 40, 34, 0},
    }},
    {{
        {0, 26, 42, 16, 37, 27, 24, 31, 36, 39},
        {26, 0, 16, 10, 28, 21, 18, 25, 30, 33},
        {42, 16, 0, 26, 12, 16, 34, 41, 25, 28},
        {16, 10, 26, 0, 21, 11, 8, 15, 20, 23},
        {37, 28, 12, 21, 0, 10, 29, 34, 19, 17},
        {27, 21, 16, 11, 10, 0, 19, 24, 9, 12},
        {24, 18, 34, 8, 29, 19, 0, 7, 22, 31},
        {31, 25, 41, 15, 34, 24, 7, 0, 15, 36},
        {36, 30, 25, 20, 19, 9, 22, 15, 0, 21},
        {39, 33, 28, 23, 17, 12, 31, 36, 21, 0},
    }},
}};

const std::array<MapStartTable, kMaps> kStartTables{{
    {
        {800, 1200, 22000, 18000, 15000, 16000, 12000, 5000, 4000, 20000},
        {1.25f, 0.70f, 1.05f, 0.95f, 1.10f, 1.00f, 0.85f, 1.15f, 0.90f, 1.00f},
        {1.25f, 0.80f, 1.05f, 0.95f, 1.00f, 1.00f, 0.90f, 1.20f, 1.10f, 0.85f},
        {2.05f, 1.95f, 2.07f, 1.96f, 1.90f, 2.05f, 2.02f, 2.18f, 2.15f, 1.80f},
    },
    {
        {15000, 2000, 9000, 5000, 4000, 3500, 6000, 3000, 2500, 11000},
        {0.60f, 0.85f, 1.20f, 1.05f, 0.95f, 0.90f, 1.00f, 1.15f, 1.05f, 1.30f},
        {0.65f, 0.90f, 1.10f, 1.00f, 0.95f, 0.85f, 1.05f, 1.05f, 1.00f, 1.15f},
        {1.92f, 2.25f, 2.13f, 2.10f, 2.17f, 1.97f, 2.38f, 2.08f, 2.12f, 2.10f},
    },
    {
        {3000, 8000, 12000, 21000, 18000, 35000, 28000, 10000, 1500, 7500},
        {1.30f, 1.05f, 0.90f, 1.10f, 0.75f, 1.15f, 1.20f, 0.85f, 0.80f, 0.85f},
        {1.35f, 1.00f, 0.95f, 1.05f, 0.75f, 1.20f, 1.25f, 0.90f, 0.85f, 0.80f},
        {2.38f, 2.22f, 2.35f, 2.24f, 2.09f, 2.37f, 2.40f, 2.30f, 2.27f, 2.05f},
    },
}};

const std::array<std::array<DefaultCompanyNames, kCompanies>, kMaps> kDefaultNames{{
    {{
        {"Kromberger", {"Truestoner", "Moonrivers", "Princess Porter"}},
        {"Shepherd", {"Heather Devil", "Moor-Brew", "Tom's Export"}},
        {"Wittig", {"Fotzinger Beer", "Feltlin's", "Capital Stout"}},
        {"Jonssen", {"Seaside Beer", "Lazy Hill's", "Capt'n Bluebeer"}},
        {"Seasick II.", {"Stonemaker", "Old Twinhavens", "Sailor's Finest"}},
        {"Lebonne", {"Sabba Sabba Premium", "Sabba Sabba Export", "Boombastique"}},
        {"AlPatrone", {"Freebeer", "Fresh Desert", "Blurred Oasis"}},
        {"Lopez", {"Lupolonia", "Volksbeer", "Byteburger"}},
        {"Almhofer", {"Gerber Pils", "Ratskeller Spezial", "Hammelberger"}},
        {"Chrut'Shov", {"Kha's", "Cr'zke Zekk", "Donestani"}},
    }},
    {{
        {"Moriati", {"Magakhan", "Roughtaster", "Zero"}},
        {"Grossman", {"Bonebreaker", "Quake Ultra", "Rawland Union"}},
        {"Hops&Malt Inc", {"Crown-Beer", "Flower Flavour", "Maltbrew Extra"}},
        {"Brewmaster", {"Teddy's Favorite", "Cuddle Beer", "Yo-Beer"}},
        {"Nordland", {"Modderbrew", "Schlickbeer", "Brackwasser"}},
        {"Hendysen", {"Bertweiser", "Ernie's First", "Bibobeer"}},
        {"Huginger", {"Small Manor Brew", "Dwarfdink", "Gobliner"}},
        {"Logman", {"Maple Special", "Twocup Beer", "Old Clearwater"}},
        {"Yer Law", {"Lumberjack's", "Millmaster's", "Threefinger Drink"}},
        {"Treasure Corp", {"Castle Hill No.1", "Castle Hill No.2", "Castle Cellar's"}},
    }},
    {{
        {"Count Hawkhill", {"Eagle Brew", "Knight's", "Swordswallow's"}},
        {"Pamela", {"Silvana", "Mt.Smith Lager", "Twinhill Export"}},
        {"Jack Lumber", {"Dark Woodwater", "Forester Stout", "Unicorn Extra"}},
        {"Barney", {"Desert's Delight", "Firewater", "Herby´s Herb"}},
        {"Golfy", {"Meadow Beer", "Golden Brown", "Lawn Lager"}},
        {"Harbourman", {"Anchorfielder", "Barrel Brew", "Harbourman's"}},
        {"Sandman", {"Sandy Beer", "Gold Gravel", "Sleepwell Lager"}},
        {"Beeray", {"King Burger's", "Fried Lager", "Dustkiller"}},
        {"Suizika", {"Luna Special", "Piratesjuice", "Islander's Beer"}},
        {"Thinnet", {"Duckstoner", "Eel Ale", "Drink Fishy"}},
    }},
}};
