#include "analysis/CircuitColours.h"

#include <algorithm>
#include <array>

namespace kalmor {

namespace {

constexpr quint32 rgb(quint32 r, quint32 g, quint32 b)
{
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

constexpr std::array<quint32, 12> Chosen{
    rgb(0, 160, 0),    rgb(230, 120, 0), rgb(0, 200, 220), rgb(140, 0, 200),
    rgb(250, 220, 0),  rgb(160, 80, 0),  rgb(0, 120, 120), rgb(240, 110, 170),
    rgb(120, 200, 0),  rgb(90, 60, 200), rgb(210, 40, 40), rgb(0, 70, 140),
};

}  // namespace

quint32 circuitColour(int n)
{
    if (n < int(Chosen.size()))
        return Chosen[std::size_t(std::max(n, 0))];
    // Each of the three parts walks through all its values as the number
    // grows, so the made colours differ for the first 8 million numbers,
    // far more than the circuits that can meet one circuit.
    const quint32 j = quint32(n) - quint32(Chosen.size());
    const quint32 r = 255 - 2 * (j % 128);
    const quint32 g = (60 + 97 * ((j / 128) % 256)) % 256;
    const quint32 b = (200 + 151 * ((j / 32768) % 256)) % 256;
    return rgb(r, g, b);
}

int lowestFreeColour(std::vector<int> &taken, int preferred)
{
    std::sort(taken.begin(), taken.end());
    if (preferred >= 0 && !std::binary_search(taken.cbegin(), taken.cend(), preferred))
        return preferred;
    int colour = 0;
    for (const int t : taken) {
        if (t == colour)
            ++colour;
        else if (t > colour)
            break;
    }
    return colour;
}

}  // namespace kalmor
