/// @file paint_kit.h Shared helpers of the picture generator: seeded noise, fonts, saving.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>

/// A small seeded generator, so every picture comes out the same on every run.
class SeededRandom {
public:
    explicit SeededRandom(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ULL + 1) {}
    uint32_t Next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<uint32_t>(state_ >> 11);
    }
    /// Uniform in [0, 1).
    double Unit() { return (Next() & 0xFFFFFF) / 16777216.0; }
    double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

private:
    uint64_t state_;
};

/// Smooth value noise in [-1, 1] at a point given in map pixels; `seed` picks the pattern.
double ValueNoise(double x, double y, uint32_t seed);
/// Several octaves of value noise, about [-1, 1]; `scale` is the size of the largest features.
double FractalNoise(double x, double y, double scale, int octaves, uint32_t seed);

/// The lettering faces, loaded from the Debian font files so every machine letters alike.
struct Faces {
    QString Garamond;        ///< old-style serif for names
    QString GaramondItalic;  ///< sea names and flourishes
    QString GaramondBold;    ///< cartouche titles
    QString SerifBold;       ///< the title picture's display lettering
    QString Sans;            ///< tiny lettering on the icon
};
/// Loads the faces; stops the program with a message when a font file is missing.
Faces LoadFaces();
QFont FaceAt(const QString& family, double pixelSize, bool bold = false);

/// Saves a PNG; stops the program with a message when it cannot.
void SavePng(const QImage& image, const QString& path);

inline QColor Mix(const QColor& a, const QColor& b, double t)
{
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t),
                            static_cast<float>(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}
