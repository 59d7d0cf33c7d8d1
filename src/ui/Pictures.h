// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace korvell {

/// The map window's pictures, drawn in code so that no image file has to ship with the program.
class Pictures {
public:
    /// The header banner at the given size: a soft blue gradient with a light bubble motif on the right.
    static QPixmap banner(QSize size);
    /// 16 x 16 picture of the Print to Jpeg button: a small framed landscape.
    static QIcon printToJpeg();
    /// 16 x 16 picture of the reconnect button: two plug halves.
    static QIcon reconnect();
};

} // namespace korvell
