// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QSize>

namespace korvell {

/// The login window's background picture, drawn rather than shipped: a title band and a small
/// four-quadrant matrix over a light field that keeps the window's black captions readable.
class LoginBackground {
public:
    static QImage paint(const QSize& size);
};

} // namespace korvell
