#include "editing/ClipboardBytes.h"

#include "document/LargeMemory.h"
#include "document/OrderedWork.h"
#include "document/Windows1250.h"

#include <thread>
#include <vector>

namespace kalmor {

namespace {

// Below this a text is encoded on the calling thread alone.
constexpr qsizetype PieceChars = qsizetype(1) << 20;

void encodePiece(const char16_t *text, qsizetype size, char *out)
{
    constexpr qsizetype Run = 32;
    qsizetype i = 0;
    for (; i + Run <= size; i += Run) {
        char16_t any = 0;
        for (qsizetype k = 0; k < Run; ++k)
            any |= text[i + k];
        if (any < 0x80) {
            for (qsizetype k = 0; k < Run; ++k)
                out[i + k] = char(text[i + k]);
        } else {
            putWindows1250(QStringView(text + i, Run), out + i);
        }
    }
    putWindows1250(QStringView(text + i, size - i), out + i);
}

}  // namespace

QByteArray stationBytesOf(QStringView text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    adviseLargePages(out.constData(), std::size_t(out.size()));
    const qsizetype pieces = std::clamp<qsizetype>(text.size() / PieceChars, 1, workThreads(0));
    const qsizetype each = text.size() / pieces;
    std::vector<std::thread> helpers;
    for (qsizetype p = 1; p < pieces; ++p) {
        const qsizetype from = p * each;
        const qsizetype to = p + 1 == pieces ? text.size() : from + each;
        helpers.emplace_back(encodePiece, text.utf16() + from, to - from, out.data() + from);
    }
    encodePiece(text.utf16(), pieces > 1 ? each : text.size(), out.data());
    for (std::thread &t : helpers)
        t.join();
    return out;
}

}  // namespace kalmor
