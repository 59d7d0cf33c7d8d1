// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace korvell {

/// The Windows-1252 ("ANSI") code page of the settings and language files.
///
/// Qt 6.4 offers no such codec, so this small table does the work. The five bytes that the
/// code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the
/// same value, as Windows does, so every byte sequence survives a decode/encode round trip.
class Windows1252 {
public:
    /// Every byte becomes exactly one character; decoding never fails.
    static QString decode(QByteArrayView bytes);
    /// Characters outside the code page become "?", one per code point.
    static QByteArray encode(QStringView text);
    /// Whether encode() keeps every character of text.
    static bool canEncode(QStringView text);
};

} // namespace korvell
