#include "document/Windows1250.h"

#include "document/LargeMemory.h"
#include "document/OrderedWork.h"

#include <array>
#include <thread>
#include <vector>

namespace kalmor {

namespace {

// Unicode of the bytes 0x80 to 0xFF. The five bytes the code page leaves
// undefined map to the C1 control of the same number, as the window
// system does, so every byte survives a round trip.
constexpr std::array<char16_t, 128> High{
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

struct Reverse {
    // Code points below 0x2200 cover every character the code page holds.
    std::array<unsigned char, 0x2200> byteOf{};
    // The byte written for each of them: itself below 0x80, "?" where the
    // code page has none; one look-up a character, without a branch that
    // Czech letters among others would keep guessing wrong.
    std::array<char, 0x2200> written{};
    constexpr Reverse()
    {
        for (int i = 0; i < 128; ++i)
            byteOf[High[std::size_t(i)]] = static_cast<unsigned char>(0x80 + i);
        for (std::size_t u = 0; u < written.size(); ++u)
            written[u] = u < 0x80 ? char(u) : byteOf[u] != 0 ? char(byteOf[u]) : '?';
    }
};

constexpr Reverse ReverseTable;

}  // namespace

QString decodeWindows1250(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    // A clipboard's worth of text is hundreds of megabytes of fresh memory.
    adviseLargePages(out.constData(), std::size_t(out.size()) * sizeof(QChar));
    QChar *d = out.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *d++ = QChar(b < 0x80 ? char16_t(b) : High[b - 0x80]);
    }
    return out;
}

std::optional<char> windows1250Byte(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return char(u);
    if (u < ReverseTable.byteOf.size() && ReverseTable.byteOf[u] != 0)
        return char(ReverseTable.byteOf[u]);
    return std::nullopt;
}

char *putWindows1250(QStringView text, char *out)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        *out++ = u < ReverseTable.written.size() ? ReverseTable.written[u] : '?';
    }
    return out;
}

namespace {

// Below this a text is encoded on the calling thread alone.
constexpr qsizetype PieceChars = qsizetype(1) << 20;

// Runs of ASCII, nearly all of a station's lines, are copied many
// characters at a time.
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

QByteArray encodeWindows1250(QStringView text)
{
    // Written in place, and a long text in pieces on every core: a paste
    // encodes a hundred million characters, one byte each.
    QByteArray out(text.size(), Qt::Uninitialized);
    if (text.size() < 2 * PieceChars) {
        encodePiece(text.utf16(), text.size(), out.data());
        return out;
    }
    adviseLargePages(out.constData(), std::size_t(out.size()));
    const qsizetype pieces = std::min<qsizetype>(text.size() / PieceChars, workThreads(0));
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

bool isWindows1250Text(QStringView text)
{
    for (const QChar c : text) {
        if (!windows1250Byte(c))
            return false;
    }
    return true;
}

}  // namespace kalmor
