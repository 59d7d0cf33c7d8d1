// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "localisation/Windows1252.h"

#include <array>
#include <cstdint>

namespace korvell {

namespace {

// 0x80..0x9F; the rest of the code page is Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};

// The byte of one UTF-16 unit, or -1 when the code page lacks it.
int byteOf(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return c;
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return 0x80 + static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

QString Windows1252::decode(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        out[i] = (b >= 0x80 && b <= 0x9F) ? QChar(kHighControls[b - 0x80]) : QChar(b);
    }
    return text;
}

QByteArray Windows1252::encode(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const int b = byteOf(c);
        bytes.append(b < 0 ? '?' : static_cast<char>(b));
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        }
    }
    return bytes;
}

bool Windows1252::canEncode(QStringView text) {
    for (const QChar c : text) {
        if (byteOf(c.unicode()) < 0) {
            return false;
        }
    }
    return true;
}

} // namespace korvell
