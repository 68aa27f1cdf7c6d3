/// @file The eleven sound effects: which event each accompanies, and how it is made.
#include "effects.h"

#include <algorithm>
#include <cmath>

#include "synth.h"

namespace synth {
namespace {

// A bell: inharmonic partials, each with its own decay (the high ones die first), a little
// warble from detuned twins, and a soft knock of the clapper.
struct Partial {
    double Ratio;
    double Amp;
    double Decay;
};

void AddBell(Track& t, Noise& n, double start, double freq, double amp, const std::vector<Partial>& partials,
             double decayScale = 1.0)
{
    for (const Partial& p : partials) {
        const double f = freq * p.Ratio;
        if (f > kSampleRate * 0.45)
            continue;
        AddPartial(t, start, f, amp * p.Amp, p.Decay * decayScale, 0.003, f * 0.0012);
    }
    AddNoiseBurst(t, n, start, std::min(freq * 3.0, 5000.0), 2.0, amp * 0.6, 0.001, 0.008);
}

// A church bell tuned around its strike note: hum an octave below, minor-third tierce, quint,
// nominal an octave above, and the bright upper partials that fade quickly.
const std::vector<Partial> ChurchBell = {
    {0.5, 0.55, 1.6},  {1.0, 0.70, 1.1},  {1.2, 0.45, 0.8},  {1.5, 0.22, 0.6},   {2.0, 0.60, 0.55},
    {2.5, 0.18, 0.35}, {2.67, 0.16, 0.3}, {3.0, 0.14, 0.25}, {4.07, 0.08, 0.15}, {5.2, 0.05, 0.1},
};

// A small hand bell: clear fundamental, few partials.
const std::vector<Partial> HandBell = {
    {1.0, 1.0, 0.42}, {2.01, 0.30, 0.25}, {2.76, 0.32, 0.16}, {4.1, 0.10, 0.09}, {5.4, 0.06, 0.06},
};

// A brass voice: harmonics whose brightness opens with the breath, a slight vibrato.
void AddBrassNote(Track& t, double start, double length, double freq, double amp)
{
    const int first = ToSample(start);
    const int count = std::min(t.Length() - first, ToSample(length + 0.09));
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        const double time = static_cast<double>(i) / kSampleRate;
        const double attack = std::min(1.0, time / 0.03);
        const double release = time > length ? std::max(0.0, 1.0 - (time - length) / 0.09) : 1.0;
        const double env = attack * release * (0.85 + 0.15 * Exp(-time / 0.08));
        const double brightness = 0.35 + 0.3 * attack * Exp(-time / 0.25) + 0.15;
        const double vibrato = 1.0 + (time > 0.15 ? 0.004 * Sine(2.0 * kPi * 5.2 * time) : 0.0);
        phase += 2.0 * kPi * freq * vibrato / kSampleRate;
        double v = 0.0;
        double a = 1.0;
        for (int h = 1; h <= 10 && freq * h < kSampleRate * 0.45; ++h) {
            v += a / h * Sine(phase * h);
            a *= brightness;
        }
        t.Add(first + i, amp * env * v);
    }
}

// A plucked, glockenspiel-like voice for the cheerful chord.
void AddPluck(Track& t, double start, double freq, double amp, double decay)
{
    AddPartial(t, start, freq, amp, decay, 0.004);
    AddPartial(t, start, freq * 2.0, amp * 0.25, decay * 0.5, 0.004);
    AddPartial(t, start, freq * 3.0, amp * 0.08, decay * 0.3, 0.004);
}

// A soft, sustained voice (a few odd harmonics) that carries the held chord.
void AddPad(Track& t, double start, double length, double freq, double amp)
{
    const int first = ToSample(start);
    const int count = std::min(t.Length() - first, ToSample(length));
    for (int i = 0; i < count; ++i) {
        const double time = static_cast<double>(i) / kSampleRate;
        const double env = std::min(1.0, time / 0.08) * Exp(-time / 0.9);
        const double p = 2.0 * kPi * freq * time;
        t.Add(first + i, amp * env * (Sine(p) + 0.2 * Sine(3.0 * p) + 0.05 * Sine(5.0 * p)));
    }
}

// A bird's chirp: a quick sweep of a whistle.
void AddChirp(Track& t, double start, double length, double from, double to, double amp)
{
    const int first = ToSample(start);
    const int count = std::min(t.Length() - first, ToSample(length));
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        const double x = static_cast<double>(i) / count;
        const double f = from + (to - from) * x;
        phase += 2.0 * kPi * f / kSampleRate;
        const double s = Sine(kPi * x);
        t.Add(first + i, amp * s * s * Sine(phase));
    }
}

// The murmur of many voices: noise in three speech-like bands, each swelling and fading at
// its own slow random pace.
void AddMurmur(Track& t, Noise& n, double start, double end, double amp)
{
    const int first = ToSample(start);
    const int last = std::min(t.Length(), ToSample(end));
    Biquad bands[3] = {Biquad::BandPass(450, 1.6), Biquad::BandPass(1000, 1.8), Biquad::BandPass(2200, 2.2)};
    OnePole swell[3] = {OnePole(3.0), OnePole(4.0), OnePole(5.5)};
    Biquad soften = Biquad::LowPass(2600, 0.7);
    Biquad soften2 = Biquad::LowPass(2600, 0.7);
    double level[3] = {0.0, 0.0, 0.0};
    for (int i = first; i < last; ++i) {
        double v = 0.0;
        for (int b = 0; b < 3; ++b) {
            level[b] = swell[b].Process(n.Uniform());
            v += bands[b].Process(n.Bipolar()) * level[b] * (b == 2 ? 0.5 : 1.0);
        }
        t.Add(i, amp * soften2.Process(soften.Process(v)));
    }
}

// The clip-clop of a hoof on cobbles.
void AddHoof(Track& t, Noise& n, double start, double amp)
{
    AddNoiseBurst(t, n, start, 1100, 3.0, amp, 0.001, 0.012);
    AddPartial(t, start, 620, amp * 0.25, 0.02, 0.001);
    AddPartial(t, start, 240, amp * 0.2, 0.03, 0.001);
}

// One coin landing on others: a short, bright metallic clink.
void AddClink(Track& t, Noise& n, double start, double freq, double amp)
{
    const double ratios[] = {1.0, 1.59, 2.14, 2.72};
    const double amps[] = {0.7, 1.0, 0.55, 0.3};
    const double decays[] = {0.11, 0.08, 0.06, 0.04};
    for (int k = 0; k < 4; ++k) {
        const double f = freq * ratios[k];
        if (f < kSampleRate * 0.45)
            AddPartial(t, start, f, amp * amps[k], decays[k], 0.0008, f * 0.002);
    }
    AddNoiseBurst(t, n, start, 6000, 1.5, amp * 0.5, 0.0005, 0.004);
}

// A wooden barrel's hollow knock.
void AddBarrelKnock(Track& t, Noise& n, double start, double amp)
{
    AddPartial(t, start, 118, amp, 0.07, 0.003);
    AddPartial(t, start, 265, amp * 0.45, 0.05, 0.003);
    AddNoiseBurst(t, n, start, 700, 2.5, amp * 0.8, 0.002, 0.015);
}

// 1: Next Turn, a clear little bell.
Track NextTurnBell()
{
    Track t(1.25);
    Noise n(101);
    AddBell(t, n, 0.0, 784.0, 1.0, HandBell, 1.0);
    return t;
}

// 2: money changes hands, a little cascade of coins settling on a pile.
Track Coins()
{
    Track t(0.9);
    Noise n(202);
    const double times[] = {0.0, 0.055, 0.09, 0.16, 0.205, 0.27, 0.33, 0.42, 0.5, 0.62};
    double amp = 1.0;
    for (double time : times) {
        AddClink(t, n, time, n.Range(2300.0, 3300.0), amp * n.Range(0.6, 1.0));
        amp *= 0.86;
    }
    return t;
}

// 3: a transport, barrels rumbling past on a cart.
Track RollingBarrels()
{
    Track t(1.4);
    Noise n(303);
    // The wheels on the road: low rumble pulsing with every bump.
    OnePole rumble(170);
    OnePole rumble2(170);
    Biquad roll = Biquad::BandPass(340, 1.2);
    OnePole rollSoft(900);
    for (int i = 0; i < t.Length(); ++i) {
        const double time = static_cast<double>(i) / kSampleRate;
        const double bump = 0.7 + 0.3 * Sine(2.0 * kPi * 4.3 * time);
        const double r = rumble2.Process(rumble.Process(n.Bipolar()));
        const double w = rollSoft.Process(roll.Process(n.Bipolar()));
        t.Add(i, 2.0 * r * bump + 0.35 * w * (0.6 + 0.4 * Sine(2.0 * kPi * 7.1 * time + 1.0)));
    }
    // The barrels turning and knocking together.
    for (double time = 0.05; time < 1.3; time += n.Range(0.13, 0.2))
        AddBarrelKnock(t, n, time, n.Range(0.16, 0.26));
    return t;
}

// 4: building, three hammer blows and two strokes of a saw.
Track HammerAndSaw()
{
    Track t(1.5);
    Noise n(404);
    for (double time : {0.0, 0.24, 0.48}) {
        AddPartial(t, time, 170, 0.25, 0.06, 0.003);
        AddPartial(t, time, 640, 0.2, 0.07, 0.002);
        AddPartial(t, time, 2250, 0.06, 0.09, 0.001, 3.0);
        AddNoiseBurst(t, n, time, 1600, 1.5, 0.25, 0.002, 0.025);
    }
    // The saw: rasping teeth (a noise band pulsed at the tooth rate) on a push and a pull.
    Biquad teeth = Biquad::BandPass(2600, 1.6);
    Biquad soften = Biquad::LowPass(4200, 0.7);
    const double strokes[][2] = {{0.72, 0.34}, {1.1, 0.34}};
    for (const auto& s : strokes) {
        const int first = ToSample(s[0]);
        const int count = ToSample(s[1]);
        for (int i = 0; i < count; ++i) {
            const double x = static_cast<double>(i) / count;
            const double time = static_cast<double>(i) / kSampleRate;
            const double stroke = Sine(kPi * x);
            const double rasp = 0.55 + 0.45 * Sine(2.0 * kPi * 95.0 * time);
            t.Add(first + i, 0.8 * stroke * stroke * rasp * soften.Process(teeth.Process(n.Bipolar())));
        }
    }
    return t;
}

// 5: program start, a short fanfare rising to a held C major chord.
Track Fanfare()
{
    Track t(1.4);
    const double g4 = 392.0, c5 = 523.25, e5 = 659.26, g5 = 783.99;
    AddBrassNote(t, 0.00, 0.10, g4, 0.5);
    AddBrassNote(t, 0.14, 0.10, c5, 0.5);
    AddBrassNote(t, 0.28, 0.10, e5, 0.5);
    AddBrassNote(t, 0.42, 0.80, g5, 0.45);
    AddBrassNote(t, 0.42, 0.80, e5, 0.3);
    AddBrassNote(t, 0.42, 0.80, c5, 0.3);
    AddBrassNote(t, 0.42, 0.80, c5 / 2.0, 0.25);
    return t;
}

// 6: good news, a bright rising arpeggio that rests on its chord.
Track GoodNews()
{
    Track t(1.3);
    const double notes[] = {523.25, 659.26, 783.99, 1046.5};
    for (int k = 0; k < 4; ++k) {
        AddPluck(t, 0.075 * k, notes[k], 0.5, 0.55);
        AddPad(t, 0.075 * k, 1.3 - 0.075 * k, notes[k] / 2.0, 0.12);
    }
    AddPluck(t, 0.33, 1318.5, 0.22, 0.5);
    return t;
}

// 7: a great city, a peal of several bells over the bustle of its streets.
Track GreatCity()
{
    Track t(1.9);
    Noise n(707);
    AddMurmur(t, n, 0.0, 1.9, 0.3);
    for (double time = 0.25; time < 1.6; time += n.Range(0.22, 0.4))
        AddHoof(t, n, time, 0.18);
    const double peal[] = {523.25, 440.0, 392.0, 329.63, 261.63};
    for (int k = 0; k < 5; ++k)
        AddBell(t, n, 0.27 * k, peal[k], 0.5, ChurchBell, 0.8);
    return t;
}

// 8: a quiet village, a cowbell clanking and birds.
Track Village()
{
    Track t(1.3);
    Noise n(808);
    const std::vector<Partial> cowbell = {
        {1.0, 0.8, 0.16}, {1.48, 1.0, 0.13}, {2.13, 0.5, 0.09}, {2.92, 0.3, 0.06}, {3.87, 0.15, 0.04},
    };
    for (auto [time, amp] : {std::pair{0.02, 0.7}, std::pair{0.38, 0.45}, std::pair{0.52, 0.3}}) {
        for (const Partial& p : cowbell)
            AddPartial(t, time, 545.0 * p.Ratio, amp * p.Amp, p.Decay, 0.002);
        AddNoiseBurst(t, n, time, 900, 2.0, amp * 0.5, 0.001, 0.01);
    }
    // A songbird: a trill of rising chirps, then an answer from further away.
    for (int k = 0; k < 4; ++k)
        AddChirp(t, 0.62 + 0.075 * k, 0.055, 3400, 4700, 0.28);
    AddChirp(t, 1.0, 0.09, 4200, 3300, 0.16);
    AddChirp(t, 1.11, 0.09, 4200, 3300, 0.13);
    return t;
}

// 9: a small town, one strike of its church bell.
Track SmallTown()
{
    Track t(1.6);
    Noise n(909);
    AddBell(t, n, 0.0, 392.0, 1.0, ChurchBell, 1.0);
    return t;
}

// 10: a busy market town, voices, hooves on cobbles and a hand bell calling to the stalls.
Track MarketTown()
{
    Track t(1.4);
    Noise n(1010);
    AddMurmur(t, n, 0.0, 1.4, 0.5);
    for (double time : {0.08, 0.2, 0.45, 0.57, 0.82, 0.94})
        AddHoof(t, n, time, 0.22);
    AddBell(t, n, 0.3, 1046.5, 0.16, HandBell, 0.6);
    AddBell(t, n, 0.52, 1046.5, 0.12, HandBell, 0.6);
    AddClink(t, n, 1.05, 2900, 0.12);
    AddClink(t, n, 1.12, 3300, 0.09);
    return t;
}

// 11: bad news, a low tone falling away.
Track BadNews()
{
    Track t(1.5);
    const int count = t.Length();
    double phase = 0.0;
    OnePole soften(1200);
    for (int i = 0; i < count; ++i) {
        const double time = static_cast<double>(i) / kSampleRate;
        // Two short steps down, then a long slide.
        double semis = 0.0;
        if (time >= 0.28)
            semis = -1.0;
        if (time >= 0.56)
            semis = -2.0 - 10.0 * (1.0 - Exp(-(time - 0.56) / 0.45));
        const double vib = time > 0.7 ? 0.12 * std::min(1.0, (time - 0.7) / 0.25) * Sine(2.0 * kPi * 4.5 * time) : 0.0;
        phase += 2.0 * kPi * 196.0 * Semitones(semis + vib) / kSampleRate;
        // Each new note is tongued: the tone dips smoothly between notes instead of breaking off.
        double breath = std::min(1.0, time / 0.03);
        for (double edge : {0.28, 0.56}) {
            const double d = (time - edge) / 0.05;
            if (d > -1.0 && d < 1.0)
                breath *= 1.0 - 0.55 * (0.5 + 0.5 * Sine(kPi * (d + 0.5)));
        }
        double v = 0.0;
        for (int h = 1; h <= 7; ++h)
            v += (h == 1 ? 1.0 : 0.6 / h) * Sine(phase * h);
        t.Add(i, breath * soften.Process(v));
    }
    return t;
}

}  // namespace

std::vector<std::int16_t> MakeEffect(int number)
{
    switch (number) {
    case 1:
        return Master(NextTurnBell(), 0.002, 0.25);
    case 2:
        return Master(Coins(), 0.001, 0.1);
    case 3:
        return Master(RollingBarrels(), 0.3, 0.4);
    case 4:
        return Master(HammerAndSaw(), 0.002, 0.06);
    case 5:
        return Master(Fanfare(), 0.005, 0.1);
    case 6:
        return Master(GoodNews(), 0.004, 0.25);
    case 7:
        return Master(GreatCity(), 0.15, 0.4);
    case 8:
        return Master(Village(), 0.005, 0.12);
    case 9:
        return Master(SmallTown(), 0.003, 0.4);
    case 10:
        return Master(MarketTown(), 0.15, 0.25);
    case 11:
        return Master(BadNews(), 0.01, 0.3);
    default:
        return {};
    }
}

}  // namespace synth
