/// @file A small deterministic synthesizer for the game's sound effects: oscillators, noise,
/// envelopes, filters, a mastering step and a WAV writer. Only +, -, *, / and our own sine
/// and exponential are used, so the same source gives the same bytes on every machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace synth {

constexpr int kSampleRate = 22050;
constexpr double kPi = 3.14159265358979323846;

double Sine(double x);       ///< sin(x), from a fixed polynomial
double Exp(double x);        ///< e^x, from a fixed polynomial
double Semitones(double n);  ///< frequency ratio of n equal-tempered semitones

/// Fixed-seed generator (splitmix64); the same seed gives the same noise everywhere.
class Noise {
public:
    explicit Noise(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next();
    double Uniform();  ///< [0, 1)
    double Bipolar();  ///< [-1, 1)
    double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

private:
    std::uint64_t state_;
};

/// Biquad band-pass (constant peak gain) or low-pass, coefficients after the audio cookbook.
class Biquad {
public:
    static Biquad BandPass(double freq, double q);
    static Biquad LowPass(double freq, double q);
    static Biquad HighPass(double freq, double q);
    double Process(double x);

private:
    double b0_ = 0, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

/// One-pole low-pass: the gentle smoother for rumble and slowly varying envelopes.
class OnePole {
public:
    explicit OnePole(double cutoff);
    double Process(double x) { return y_ += a_ * (x - y_); }

private:
    double a_;
    double y_ = 0;
};

/// A mono track of the given length in seconds; events are mixed into it at a start time.
class Track {
public:
    explicit Track(double seconds);
    int Length() const { return static_cast<int>(samples_.size()); }
    double& At(int i) { return samples_[static_cast<std::size_t>(i)]; }
    void Add(int i, double v)
    {
        if (i >= 0 && i < Length())
            samples_[static_cast<std::size_t>(i)] += v;
    }
    const std::vector<double>& Data() const { return samples_; }

private:
    std::vector<double> samples_;
};

inline int ToSample(double seconds) { return static_cast<int>(seconds * kSampleRate); }

/// A sine partial struck at `start`: a short attack, then exponential decay with time constant
/// `decay` (seconds); `beat` detunes a twin partial by that many Hz for the slow warble of a bell.
void AddPartial(Track& t, double start, double freq, double amp, double decay, double attack = 0.002,
                double beat = 0.0);

/// A noise burst through a band-pass: attack, then exponential decay.
void AddNoiseBurst(Track& t, Noise& n, double start, double centre, double q, double amp, double attack, double decay);

/// Loudness as the game's effects are levelled: the RMS of the loudest 250 ms window.
double Loudness(const std::vector<double>& s);

/// Removes DC, fades in and out to exact zero with a little silence on both ends, and scales to
/// the common loudness, unless that would lift a peak above 85 % of full scale.
std::vector<std::int16_t> Master(const Track& t, double fadeIn, double fadeOut);

/// Writes 16-bit PCM mono at SampleRate; false if the file cannot be written.
bool WriteWav(const std::string& path, const std::vector<std::int16_t>& samples);

}  // namespace synth
