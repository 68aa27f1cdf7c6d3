/// @file The synthesizer's building blocks, its mastering step and the WAV writer.
#include "synth.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace synth {

double Sine(double x)
{
    // Reduce to [-pi, pi], fold to [-pi/2, pi/2], then a Taylor series to the 17th power.
    const double twoPi = 2.0 * kPi;
    x -= twoPi * std::floor(x / twoPi + 0.5);
    if (x > kPi / 2)
        x = kPi - x;
    if (x < -kPi / 2)
        x = -kPi - x;
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int k = 1; k <= 8; ++k) {
        term *= -x2 / ((2.0 * k) * (2.0 * k + 1.0));
        sum += term;
    }
    return sum;
}

double Exp(double x)
{
    if (x < -700.0)
        return 0.0;
    const double ln2 = 0.69314718055994530942;
    const double k = std::floor(x / ln2 + 0.5);
    const double r = x - k * ln2;
    double term = 1.0;
    double sum = 1.0;
    for (int i = 1; i <= 13; ++i) {
        term *= r / i;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

double Semitones(double n) { return Exp(n / 12.0 * 0.69314718055994530942); }

std::uint64_t Noise::Next()
{
    state_ += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Noise::Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

double Noise::Bipolar() { return 2.0 * Uniform() - 1.0; }

namespace {
double Cosine(double x) { return Sine(x + kPi / 2); }
}  // namespace

Biquad Biquad::BandPass(double freq, double q)
{
    const double w = 2.0 * kPi * freq / kSampleRate;
    const double alpha = Sine(w) / (2.0 * q);
    const double a0 = 1.0 + alpha;
    Biquad f;
    f.b0_ = alpha / a0;
    f.b1_ = 0.0;
    f.b2_ = -alpha / a0;
    f.a1_ = -2.0 * Cosine(w) / a0;
    f.a2_ = (1.0 - alpha) / a0;
    return f;
}

Biquad Biquad::LowPass(double freq, double q)
{
    const double w = 2.0 * kPi * freq / kSampleRate;
    const double alpha = Sine(w) / (2.0 * q);
    const double c = Cosine(w);
    const double a0 = 1.0 + alpha;
    Biquad f;
    f.b0_ = (1.0 - c) / 2.0 / a0;
    f.b1_ = (1.0 - c) / a0;
    f.b2_ = f.b0_;
    f.a1_ = -2.0 * c / a0;
    f.a2_ = (1.0 - alpha) / a0;
    return f;
}

Biquad Biquad::HighPass(double freq, double q)
{
    const double w = 2.0 * kPi * freq / kSampleRate;
    const double alpha = Sine(w) / (2.0 * q);
    const double c = Cosine(w);
    const double a0 = 1.0 + alpha;
    Biquad f;
    f.b0_ = (1.0 + c) / 2.0 / a0;
    f.b1_ = -(1.0 + c) / a0;
    f.b2_ = f.b0_;
    f.a1_ = -2.0 * c / a0;
    f.a2_ = (1.0 - alpha) / a0;
    return f;
}

double Biquad::Process(double x)
{
    const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
}

OnePole::OnePole(double cutoff) : a_(1.0 - Exp(-2.0 * kPi * cutoff / kSampleRate)) {}

Track::Track(double seconds) : samples_(static_cast<std::size_t>(ToSample(seconds)), 0.0) {}

void AddPartial(Track& t, double start, double freq, double amp, double decay, double attack, double beat)
{
    const int first = ToSample(start);
    // Until the partial has fallen by 80 dB.
    const int count = std::min(t.Length() - first, ToSample(decay * 9.2 + attack));
    const double step = 2.0 * kPi * freq / kSampleRate;
    const double beatStep = 2.0 * kPi * (freq + beat) / kSampleRate;
    const double fall = Exp(-1.0 / (decay * kSampleRate));
    double env = 1.0;
    for (int i = 0; i < count; ++i) {
        const double time = static_cast<double>(i) / kSampleRate;
        const double rise = time < attack ? 0.5 - 0.5 * Cosine(kPi * time / attack) : 1.0;
        double v = Sine(step * i);
        if (beat != 0.0)
            v = 0.5 * (v + Sine(beatStep * i));
        t.Add(first + i, amp * env * rise * v);
        env *= fall;
    }
}

void AddNoiseBurst(Track& t, Noise& n, double start, double centre, double q, double amp, double attack, double decay)
{
    const int first = ToSample(start);
    const int count = std::min(t.Length() - first, ToSample(decay * 7.0 + attack));
    Biquad bp = Biquad::BandPass(centre, q);
    const double fall = Exp(-1.0 / (decay * kSampleRate));
    double env = 1.0;
    for (int i = 0; i < count; ++i) {
        const double time = static_cast<double>(i) / kSampleRate;
        const double rise = time < attack ? 0.5 - 0.5 * Cosine(kPi * time / attack) : 1.0;
        t.Add(first + i, amp * env * rise * bp.Process(n.Bipolar()));
        if (time >= attack)
            env *= fall;
    }
}

double Loudness(const std::vector<double>& s)
{
    const std::size_t window = static_cast<std::size_t>(kSampleRate / 4);
    const std::size_t hop = static_cast<std::size_t>(kSampleRate / 100);
    double best = 0.0;
    for (std::size_t begin = 0; begin == 0 || begin + window <= s.size(); begin += hop) {
        const std::size_t end = std::min(s.size(), begin + window);
        double sum = 0.0;
        for (std::size_t i = begin; i < end; ++i)
            sum += s[i] * s[i];
        best = std::max(best, std::sqrt(sum / static_cast<double>(window)));
        if (end == s.size())
            break;
    }
    return best;
}

namespace {
constexpr double kTargetLoudness = 0.16;        // about -16 dB below full scale
constexpr double kPeakLimit = 0.85;             // a sharp transient lowers the whole sound rather than clip
constexpr int kPadSamples = kSampleRate / 500;  // 2 ms of silence on either end
}  // namespace

std::vector<std::int16_t> Master(const Track& t, double fadeIn, double fadeOut)
{
    std::vector<double> s = t.Data();
    // DC blocker: the filtered noise of rumbles and thuds must not leave the speaker offset.
    double x1 = 0.0, y1 = 0.0;
    for (double& v : s) {
        const double y = v - x1 + 0.995 * y1;
        x1 = v;
        y1 = y;
        v = y;
    }
    const int n = static_cast<int>(s.size());
    const int in = std::max(1, ToSample(fadeIn));
    const int out = std::max(1, ToSample(fadeOut));
    for (int i = 0; i < n; ++i) {
        double g = 1.0;
        if (i < in)
            g *= 0.5 - 0.5 * Cosine(kPi * i / in);
        const int fromEnd = n - 1 - i;
        if (fromEnd < out)
            g *= 0.5 - 0.5 * Cosine(kPi * fromEnd / out);
        s[static_cast<std::size_t>(i)] *= g;
    }
    // The ear hears little of the lowest notes: level by a copy without them, so that rumbles
    // and low tones sound as loud as bells rather than measure as loud.
    std::vector<double> heard(s.size());
    Biquad lowCut = Biquad::HighPass(150.0, 0.7);
    for (std::size_t i = 0; i < s.size(); ++i)
        heard[i] = lowCut.Process(s[i]);
    const double loud = Loudness(heard);
    double peak = 0.0;
    for (double v : s)
        peak = std::max(peak, std::fabs(v));
    const double gain = loud > 0.0 ? std::min(kTargetLoudness / loud, kPeakLimit / peak) : 0.0;
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(n + 2 * kPadSamples), 0);
    for (int i = 0; i < n; ++i) {
        const double v = s[static_cast<std::size_t>(i)] * gain * 32767.0;
        const double r = std::floor(v + 0.5);
        pcm[static_cast<std::size_t>(i + kPadSamples)] = static_cast<std::int16_t>(std::clamp(r, -32767.0, 32767.0));
    }
    return pcm;
}

namespace {
void Put16(std::string& b, std::uint32_t v)
{
    b.push_back(static_cast<char>(v & 0xFF));
    b.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& b, std::uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
}  // namespace

bool WriteWav(const std::string& path, const std::vector<std::int16_t>& samples)
{
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string b;
    b += "RIFF";
    Put32(b, 36 + dataBytes);
    b += "WAVEfmt ";
    Put32(b, 16);
    Put16(b, 1);  // PCM
    Put16(b, 1);  // mono
    Put32(b, kSampleRate);
    Put32(b, kSampleRate * 2);
    Put16(b, 2);
    Put16(b, 16);
    b += "data";
    Put32(b, dataBytes);
    for (std::int16_t s : samples)
        Put16(b, static_cast<std::uint16_t>(s));
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(b.data(), static_cast<std::streamsize>(b.size()));
    f.close();
    return static_cast<bool>(f);
}

}  // namespace synth
