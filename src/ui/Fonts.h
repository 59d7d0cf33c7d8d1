// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

namespace korvell {

/// The windows' font, asked for by name; the system's substitute serves where Tahoma is missing.
inline QFont tahoma(int pixelSize, bool bold = false) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace korvell
