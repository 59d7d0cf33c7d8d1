// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace korvell::fuzz {

/// Stops the run with a message when an invariant does not hold; libFuzzer then keeps the input.
inline void check(bool holds, const char* invariant, const QString& detail = QString()) {
    if (!holds) {
        std::fprintf(stderr, "Invariant broken: %s\n%s\n", invariant, detail.toUtf8().constData());
        std::abort();
    }
}

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

} // namespace korvell::fuzz
