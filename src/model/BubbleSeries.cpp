// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "model/BubbleSeries.h"

#include "model/CoordTable.h"

#include <array>

namespace korvell {

namespace {

// Distinct, medium-saturation colours that read well on every chart background and beside each other.
constexpr std::array<std::uint32_t, 16> kPalette = {
    0x1F6FB2, 0xE8743B, 0x2CA25F, 0xD7263D, 0x7B4FA0, 0xF2C12E, 0x17A2B8, 0xB5651D,
    0xE377C2, 0x6B8E23, 0x3D5A80, 0xFF6F59, 0x43AA8B, 0x8D99AE, 0xC23B80, 0x98C1D9,
};

} // namespace

BubbleSeries::BubbleSeries(const QString& name, CoordTable* table, int xField, int yField, QObject* parent)
    : QObject(parent)
    , m_table(table)
    , m_xField(xField)
    , m_yField(yField) {
    setObjectName(name);
    connect(m_table, &CoordTable::changed, this, &BubbleSeries::reload);
}

void BubbleSeries::setX(int i, double value) {
    ensureLoaded();
    m_x[static_cast<std::size_t>(i)] = value;
    emit pointsChanged();
}

void BubbleSeries::setY(int i, double value) {
    ensureLoaded();
    m_y[static_cast<std::size_t>(i)] = value;
    emit pointsChanged();
}

void BubbleSeries::reload() {
    // One announcement per pending reload: an import posts thousands of records in a row.
    if (m_stale)
        return;
    m_stale = true;
    emit pointsChanged();
}

void BubbleSeries::load() const {
    const int n = m_table->recordCount();
    const auto size = static_cast<std::size_t>(n);
    m_x.resize(size);
    m_y.resize(size);
    m_r.resize(size);
    for (int row = 0; row < n; ++row) {
        const auto at = static_cast<std::size_t>(row);
        m_x[at] = m_table->number(row, m_xField);
        m_y[at] = m_table->number(row, m_yField);
        m_r[at] = m_table->number(row, F_bubbleradius);
    }
    m_stale = false;
}

std::uint32_t BubbleSeries::paletteColor(int index) {
    const auto size = static_cast<int>(kPalette.size());
    return kPalette[static_cast<std::size_t>(((index % size) + size) % size)];
}

std::int32_t BubbleSeries::toWindowsColor(std::uint32_t rgb) {
    const std::uint32_t red = (rgb >> 16) & 0xFF;
    const std::uint32_t green = (rgb >> 8) & 0xFF;
    const std::uint32_t blue = rgb & 0xFF;
    return static_cast<std::int32_t>((blue << 16) | (green << 8) | red);
}

} // namespace korvell
