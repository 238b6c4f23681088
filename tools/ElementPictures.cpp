#include "tools/ElementPictures.h"

#include "catalogue/ElementKinds.h"
#include "tools/DeskPictures.h"
#include "tools/TrackShapes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

namespace kalmor {

namespace {

// Pictures carry a fixed resolution so that saving them gives the same
// bytes whatever the screen of the process that drew them.
constexpr int DotsPerMeter = 2835;

constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb Black = qRgb(0, 0, 0);

QImage blankPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(White);
    image.setDotsPerMeterX(DotsPerMeter);
    image.setDotsPerMeterY(DotsPerMeter);
    return image;
}

int clampChannel(double v, int lo, int hi)
{
    return std::clamp(int(std::lround(v)), lo, hi);
}

// Small deterministic generator (xorshift32) for the mottling, so every run
// draws the same stripe.
class Mottle {
public:
    double next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return double(m_state) / 4294967296.0;
    }

private:
    std::uint32_t m_state = 0x4b414c4du;
};

// The straight horizontal track has a mottled warm grey stripe inside its
// black frame.
void paintStripe(QImage &image)
{
    constexpr int Top = 21, Bottom = 25, Left = 5, Right = 41;
    Mottle mottle;
    for (int y = Top; y <= Bottom; ++y) {
        for (int x = Left; x <= Right; ++x) {
            const bool corner = (y == Top || y == Bottom) && (x == Left || x == Right);
            if (corner)
                continue;
            const double shade = (mottle.next() + mottle.next() - 1.0) * 56.0 + 1.2;
            const double tint = (mottle.next() - 0.5) * 6.0;
            image.setPixel(x, y,
                           qRgb(clampChannel(76 + shade + tint, 29, 131), clampChannel(71 + shade, 29, 131),
                                clampChannel(67 + shade - tint, 29, 131)));
        }
    }
}

QImage trackPicture(const QString &name, const TrackMask &mask)
{
    QImage image = blankPicture(TrackPictureSize);
    for (int y = 0; y < PictureSide; ++y) {
        for (int x = 0; x < PictureSide; ++x) {
            if (mask.contains(x, y))
                image.setPixel(x, y, Black);
        }
    }
    if (name == u"KOL_sLSPS")
        paintStripe(image);
    return image;
}

std::optional<int> plateTopRow(const QString &name)
{
    if (name == u"STI_Cely_Dole")
        return 35;
    if (name == u"STI_Cely_Nahore")
        return 0;
    if (name == u"STI_Cely_Uprostred")
        return 18;
    return std::nullopt;
}

void paintScrew(QImage &image, int left, int top)
{
    constexpr QRgb Rim = qRgb(92, 70, 48);
    constexpr QRgb Head = qRgb(24, 20, 17);
    for (int dy = 0; dy < 4; ++dy) {
        for (int dx = 0; dx < 4; ++dx) {
            const bool inner = dx >= 1 && dx <= 2 && dy >= 1 && dy <= 2;
            image.setPixel(left + dx, top + dy, inner ? Head : Rim);
        }
    }
}

QImage platePicture(int top)
{
    constexpr QRgb Cream = qRgb(240, 239, 218);
    constexpr QRgb BottomLine = qRgb(92, 92, 84);
    QImage image = blankPicture(TrackPictureSize);
    for (int y = top; y < top + 11; ++y) {
        for (int x = 0; x < PictureSide; ++x)
            image.setPixel(x, y, Cream);
    }
    for (int x = 1; x < PictureSide; ++x)
        image.setPixel(x, top + 11, BottomLine);
    paintScrew(image, 2, top + 4);
    paintScrew(image, 41, top + 4);
    return image;
}

struct LampTint {
    const char *name;
    int r;
    int g;
    int b;
};

// Lens averages of the unlit lamps.
constexpr std::array<LampTint, 4> LampTints{{
    {"ZAR_CE_ZH", 64, 47, 45},
    {"ZAR_OR_ZH", 67, 57, 46},
    {"ZAR_BI_ZH", 66, 63, 59},
    {"ZAR_ZE_ZH", 34, 37, 28},
}};

// A round lamp seen from the front: a nearly black body with a thin rim
// lit from the top left, and a dark lens tinted in the lamp's colour whose
// shading is scaled so that the lens averages exactly the tint.
QImage lampPicture(const LampTint &tint)
{
    constexpr double CentreX = 7.5, CentreY = 7.0;
    constexpr double BodyRadius = 7.5, RimInner = 6.5, LensRadius = 4.5;
    auto lensShade = [](double d) { return 1.08 - 0.16 * d / LensRadius; };

    QImage image = blankPicture(LampPictureSize);
    double shadeSum = 0;
    int lensPixels = 0;
    for (int y = 0; y < LampPictureSize.height(); ++y) {
        for (int x = 0; x < LampPictureSize.width(); ++x) {
            const double d = std::hypot(x - CentreX, y - CentreY);
            if (d <= LensRadius) {
                shadeSum += lensShade(d);
                ++lensPixels;
            }
        }
    }
    const double lensScale = lensPixels / shadeSum;

    for (int y = 0; y < LampPictureSize.height(); ++y) {
        for (int x = 0; x < LampPictureSize.width(); ++x) {
            const double dx = x - CentreX, dy = y - CentreY;
            const double d = std::hypot(dx, dy);
            if (d > BodyRadius)
                continue;
            if (d <= LensRadius) {
                const double s = lensShade(d) * lensScale;
                image.setPixel(x, y, qRgb(clampChannel(tint.r * s, 0, 254), clampChannel(tint.g * s, 0, 254),
                                          clampChannel(tint.b * s, 0, 254)));
            } else if (d >= RimInner) {
                const double light = -(dx + dy) / (d * std::sqrt(2.0));
                const double v = 80 + 24 * light;
                image.setPixel(x, y, qRgb(clampChannel(v, 0, 254), clampChannel(v - 2, 0, 254),
                                          clampChannel(v - 5, 0, 254)));
            } else {
                image.setPixel(x, y, qRgb(21, 20, 19));
            }
        }
    }
    return image;
}

}  // namespace

QImage drawElementPicture(const QString &name)
{
    for (const LampTint &tint : LampTints) {
        if (name == QLatin1String(tint.name))
            return lampPicture(tint);
    }
    if (const auto top = plateTopRow(name))
        return platePicture(*top);
    if (const auto mask = trackMaskOf(name))
        return trackPicture(name, *mask);
    return drawDeskPicture(name);
}

QStringList elementPictureNames()
{
    QStringList names;
    for (const KindInfo &kind : allKinds())
        names << QString::fromLatin1(kind.name);
    for (const char *corner : CornerPieceNames)
        names << QString::fromLatin1(corner);
    return names;
}

}  // namespace kalmor
