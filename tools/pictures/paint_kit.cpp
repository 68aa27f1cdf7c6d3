/// @file paint_kit.cpp Seeded noise, font loading and PNG saving for the picture generator.
#include "paint_kit.h"

#include <QFontDatabase>
#include <QImageWriter>
#include <QProcess>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

double Lattice(int32_t ix, int32_t iy, uint32_t seed)
{
    uint32_t h = static_cast<uint32_t>(ix) * 374761393U + static_cast<uint32_t>(iy) * 668265263U + seed * 2246822519U;
    h = (h ^ (h >> 13)) * 1274126177U;
    h ^= h >> 16;
    return (h & 0xFFFF) / 32767.5 - 1.0;
}

double Smooth(double t) { return t * t * (3 - 2 * t); }

// The font file fontconfig holds for a family and style; a missing one ends the run with a
// line that names the family and the Debian package to install.
QString FontFile(const char* pattern, const char* package)
{
    QProcess list;
    list.start(QStringLiteral("fc-list"),
               {QStringLiteral("-f"), QStringLiteral("%{file}\\n"), QString::fromUtf8(pattern)});
    QStringList files;
    if (list.waitForFinished(30000) && list.exitStatus() == QProcess::NormalExit && list.exitCode() == 0)
        files = QString::fromUtf8(list.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (files.isEmpty()) {
        std::fprintf(stderr, "tavrek-pictures: no font \"%s\" found through fontconfig (install %s)\n", pattern,
                     package);
        std::exit(2);
    }
    // The same file on every run, whatever order fontconfig lists them in.
    files.sort();
    return files.first();
}

QString AddFont(const char* pattern, const char* package)
{
    const QString path = FontFile(pattern, package);
    const int id = QFontDatabase::addApplicationFont(path);
    const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        std::fprintf(stderr, "tavrek-pictures: cannot load the font file %s for \"%s\" (install %s)\n",
                     qPrintable(path), pattern, package);
        std::exit(2);
    }
    return families.first();
}

}  // namespace

double ValueNoise(double x, double y, uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const auto ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
    const double tx = Smooth(x - fx), ty = Smooth(y - fy);
    const double a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
    const double c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double FractalNoise(double x, double y, double scale, int octaves, uint32_t seed)
{
    double sum = 0, amp = 1, norm = 0, f = 1.0 / scale;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * ValueNoise(x * f, y * f, seed + static_cast<uint32_t>(o) * 101U);
        norm += amp;
        amp *= 0.5;
        f *= 2.03;
    }
    return sum / norm;
}

Faces LoadFaces()
{
    Faces f;
    // By family and style: the files lie where each system's font packages put them.
    f.Garamond = AddFont("EB Garamond 12:style=Regular", "fonts-ebgaramond");
    f.GaramondItalic = AddFont("EB Garamond 12:style=Italic", "fonts-ebgaramond");
    f.GaramondBold = AddFont("EB Garamond 12:style=Bold", "fonts-ebgaramond");
    f.SerifBold = AddFont("Liberation Serif:style=Bold", "fonts-liberation");
    f.Sans = AddFont("Liberation Sans:style=Bold", "fonts-liberation");
    return f;
}

QFont FaceAt(const QString& family, double pixelSize, bool bold)
{
    QFont font(family);
    font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setKerning(true);
    return font;
}

void SavePng(const QImage& image, const QString& path)
{
    QImageWriter writer(path, "png");
    writer.setCompression(100);  // the handler maps 0..100 onto zlib levels 0..9
    if (!writer.write(image)) {
        std::fprintf(stderr, "tavrek-pictures: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        std::exit(1);
    }
}
