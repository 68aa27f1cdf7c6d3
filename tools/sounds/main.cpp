/// @file tavrek-sounds: writes the game's eleven sound effects, sound01.wav ... sound11.wav.
#include <cstdio>
#include <filesystem>
#include <string>

#include "effects.h"
#include "synth.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavrek-sounds OUTPUT_DIRECTORY\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    for (int number = 1; number <= 11; ++number) {
        char name[16];
        std::snprintf(name, sizeof name, "sound%02d.wav", number);
        const std::string path = (dir / name).string();
        if (!synth::WriteWav(path, synth::MakeEffect(number))) {
            std::fprintf(stderr, "tavrek-sounds: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
