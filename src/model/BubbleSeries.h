// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <vector>

namespace korvell {

class CoordTable;

/**
 * Working copy of one matrix: one point (X, Y, radius) per record of the coordinate table,
 * in table order, bound to two fields and `bubbleradius`. The series reloads from the table
 * when asked and whenever the table reports a change while its notifications are enabled;
 * reloads are deferred until the points are next read.
 */
class BubbleSeries : public QObject {
    Q_OBJECT
public:
    BubbleSeries(const QString& name, CoordTable* table, int xField, int yField, QObject* parent = nullptr);

    QString name() const { return objectName(); }
    int xField() const { return m_xField; }
    int yField() const { return m_yField; }

    /// Number of points (records of the table at the last reload).
    int count() const;
    /// X and Y of point i; NaN for an empty field.
    double x(int i) const;
    double y(int i) const;
    double radius(int i) const;
    /// Sets X or Y of point i as given (no clamping, no rounding) and announces the change.
    void setX(int i, double value);
    void setY(int i, double value);
    /// Colour of point i as 0xRRGGBB: the palette colour of its index, the same on every matrix.
    std::uint32_t color(int i) const { return paletteColor(i); }

    /// Discards the points and reads the whole table (deferred until the next read).
    void reload();

    static std::uint32_t paletteColor(int index);
    /// The Windows colour value 0x00BBGGRR of an 0xRRGGBB colour, as stored in `bcolor`.
    static std::int32_t toWindowsColor(std::uint32_t rgb);

signals:
    /// Points changed (moved, or a reload is pending): views repaint.
    void pointsChanged();

private:
    void ensureLoaded() const;

    CoordTable* m_table;
    int m_xField;
    int m_yField;
    mutable bool m_stale = true;
    mutable std::vector<double> m_x;
    mutable std::vector<double> m_y;
    mutable std::vector<double> m_r;
};

} // namespace korvell
