/// @file sound_test.cpp The eleven sound effects as the game plays them: each a well-formed
/// 16-bit PCM mono WAV, short, unclipped, starting and ending in silence, all about equally loud.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace {

const std::filesystem::path SoundDir = std::filesystem::path(TAVREK_ASSETS_DIR) / "sounds";

std::string SoundName(int number)
{
    char name[16];
    std::snprintf(name, sizeof name, "sound%02d.wav", number);
    return name;
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Wav {
    std::uint16_t Format = 0;
    std::uint16_t Channels = 0;
    std::uint32_t Rate = 0;
    std::uint32_t ByteRate = 0;
    std::uint16_t BlockAlign = 0;
    std::uint16_t Bits = 0;
    std::vector<std::int16_t> Samples;
    std::string Error;  ///< empty when the file parsed

    double Seconds() const { return Rate ? static_cast<double>(Samples.size()) / Rate : 0.0; }
};

std::uint32_t Le(const std::string& b, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

// Walks the RIFF chunks as a media player does: "fmt " and "data" must both be there and
// every chunk must lie inside the file.
Wav ParseWav(const std::string& b)
{
    Wav w;
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) {
        w.Error = "no RIFF/WAVE header";
        return w;
    }
    if (Le(b, 4, 4) != b.size() - 8) {
        w.Error = "RIFF size does not match the file size";
        return w;
    }
    bool haveFormat = false;
    bool haveData = false;
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::string id = b.substr(at, 4);
        const std::size_t size = Le(b, at + 4, 4);
        const std::size_t body = at + 8;
        if (body + size > b.size()) {
            w.Error = "chunk '" + id + "' runs past the end of the file";
            return w;
        }
        if (id == "fmt ") {
            if (size < 16) {
                w.Error = "format chunk too short";
                return w;
            }
            w.Format = static_cast<std::uint16_t>(Le(b, body, 2));
            w.Channels = static_cast<std::uint16_t>(Le(b, body + 2, 2));
            w.Rate = Le(b, body + 4, 4);
            w.ByteRate = Le(b, body + 8, 4);
            w.BlockAlign = static_cast<std::uint16_t>(Le(b, body + 12, 2));
            w.Bits = static_cast<std::uint16_t>(Le(b, body + 14, 2));
            haveFormat = true;
        } else if (id == "data") {
            if (size % 2 != 0) {
                w.Error = "odd number of data bytes";
                return w;
            }
            for (std::size_t i = 0; i < size; i += 2)
                w.Samples.push_back(static_cast<std::int16_t>(static_cast<std::uint16_t>(Le(b, body + i, 2))));
            haveData = true;
        }
        at = body + size + (size & 1);
    }
    if (!haveFormat || !haveData)
        w.Error = "format or data chunk missing";
    return w;
}

Wav LoadSound(int number)
{
    const std::string bytes = ReadBytes(SoundDir / SoundName(number));
    if (bytes.empty()) {
        Wav w;
        w.Error = "missing or empty file";
        return w;
    }
    return ParseWav(bytes);
}

int PeakOf(const std::vector<std::int16_t>& s, std::size_t begin, std::size_t end)
{
    int peak = 0;
    for (std::size_t i = begin; i < end && i < s.size(); ++i)
        peak = std::max(peak, std::abs(static_cast<int>(s[i])));
    return peak;
}

// Loudness as the ear takes it for a short effect: the RMS of the loudest quarter second, after
// a gentle cut below 150 Hz (a low rumble measures loud but sounds soft). In dB of full scale.
double LoudnessDb(const Wav& w)
{
    const double pi = 3.14159265358979323846;
    const double omega = 2.0 * pi * 150.0 / w.Rate;
    const double alpha = std::sin(omega) / (2.0 * 0.7);
    const double c = std::cos(omega);
    const double a0 = 1.0 + alpha;
    const double b0 = (1.0 + c) / 2.0 / a0, b1 = -(1.0 + c) / a0, b2 = b0;
    const double a1 = -2.0 * c / a0, a2 = (1.0 - alpha) / a0;
    std::vector<double> heard;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (std::int16_t v : w.Samples) {
        const double x = v / 32768.0;
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        heard.push_back(y);
    }
    const std::size_t window = w.Rate / 4;
    double best = 0.0;
    for (std::size_t begin = 0; begin == 0 || begin + window <= heard.size(); begin += w.Rate / 100) {
        double sum = 0.0;
        for (std::size_t i = begin; i < begin + window && i < heard.size(); ++i)
            sum += heard[i] * heard[i];
        best = std::max(best, std::sqrt(sum / static_cast<double>(window)));
    }
    return 20.0 * std::log10(std::max(best, 1e-9));
}

class SoundFile : public ::testing::TestWithParam<int> {};

TEST_P(SoundFile, IsSixteenBitPcmMonoAtAStandardRate)
{
    const Wav w = LoadSound(GetParam());
    ASSERT_EQ(w.Error, "") << SoundName(GetParam());
    EXPECT_EQ(w.Format, 1) << "PCM";
    EXPECT_EQ(w.Channels, 1);
    EXPECT_EQ(w.Bits, 16);
    EXPECT_TRUE(w.Rate == 22050 || w.Rate == 44100) << w.Rate;
    EXPECT_EQ(w.BlockAlign, 2);
    EXPECT_EQ(w.ByteRate, w.Rate * 2);
}

TEST_P(SoundFile, IsShortButAudibleAndNeverClips)
{
    const Wav w = LoadSound(GetParam());
    ASSERT_EQ(w.Error, "");
    EXPECT_LE(w.Seconds(), 2.0);
    EXPECT_GE(w.Seconds(), 0.3);
    const int peak = PeakOf(w.Samples, 0, w.Samples.size());
    EXPECT_LT(peak, 32767 * 9 / 10) << "peak too close to full scale";
    EXPECT_GT(peak, 32767 / 10) << "hardly audible";
}

TEST_P(SoundFile, BeginsAndEndsInSilence)
{
    // Without a fade to zero the speaker clicks when playback starts or is cut off at the end.
    const Wav w = LoadSound(GetParam());
    ASSERT_EQ(w.Error, "");
    const std::size_t edge = w.Rate / 500;  // 2 ms
    ASSERT_GT(w.Samples.size(), 2 * edge);
    EXPECT_LE(PeakOf(w.Samples, 0, edge), 327) << "first 2 ms";
    EXPECT_LE(PeakOf(w.Samples, w.Samples.size() - edge, w.Samples.size()), 327) << "last 2 ms";
    EXPECT_EQ(w.Samples.front(), 0);
    EXPECT_EQ(w.Samples.back(), 0);
}

INSTANTIATE_TEST_SUITE_P(Sounds, SoundFile, ::testing::Range(1, 12),
                         [](const ::testing::TestParamInfo<int>& p) { return "Sound" + std::to_string(p.param); });

TEST(Sounds, AllAreAboutEquallyLoud)
{
    double quietest = 0.0, loudest = -1000.0;
    int quietNumber = 0, loudNumber = 0;
    for (int number = 1; number <= 11; ++number) {
        const Wav w = LoadSound(number);
        ASSERT_EQ(w.Error, "") << SoundName(number);
        const double db = LoudnessDb(w);
        if (number == 1 || db < quietest) {
            quietest = db;
            quietNumber = number;
        }
        if (db > loudest) {
            loudest = db;
            loudNumber = number;
        }
    }
    EXPECT_LE(loudest - quietest, 3.0) << "sound " << loudNumber << " at " << loudest << " dB, sound " << quietNumber
                                       << " at " << quietest << " dB";
}

#ifdef TAVREK_SOUNDS_TOOL
TEST(Sounds, GeneratorReproducesTheCommittedFilesByteForByte)
{
    // Run twice into fresh directories: the synthesizer must be deterministic, and what is
    // committed must be what it makes.
    for (int run = 0; run < 2; ++run) {
        TempDir dir;
        const std::string command = std::string("\"") + TAVREK_SOUNDS_TOOL + "\" \"" + dir.Path().string() + "\"";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        for (int number = 1; number <= 11; ++number) {
            const std::string made = ReadBytes(dir.Path() / SoundName(number));
            ASSERT_FALSE(made.empty()) << SoundName(number);
            EXPECT_TRUE(made == ReadBytes(SoundDir / SoundName(number)))
                << SoundName(number) << " differs from the committed file (run " << run + 1 << ")";
        }
    }
}
#endif

}  // namespace
