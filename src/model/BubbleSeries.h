// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <vector>

namespace korvell {

class CoordTable;
class MapModel;

/**
 * Working copy of one matrix: one point (X, Y, radius) per record of the coordinate table,
 * in table order, bound to two fields and `bubbleradius`. The series reloads from the table
 * when asked and whenever the table reports a change (CoordTable::changed, which the table
 * sends only while its notifications are enabled); reloads are deferred until the points are
 * next read, so a burst of table changes costs one reload.
 *
 * An empty field gives a NaN coordinate: such a point is not drawn, and the map model reads it as 0.
 */
class BubbleSeries : public QObject {
    Q_OBJECT
public:
    BubbleSeries(const QString& name, CoordTable* table, int xField, int yField, QObject* parent = nullptr);

    QString name() const { return objectName(); }
    int xField() const { return m_xField; }
    int yField() const { return m_yField; }

    /// Number of points (records of the table at the last reload).
    int count() const {
        ensureLoaded();
        return static_cast<int>(m_x.size());
    }
    /// X and Y of point i; NaN for an empty field. i must lie in [0, count()).
    double x(int i) const {
        ensureLoaded();
        return m_x[static_cast<std::size_t>(i)];
    }
    double y(int i) const {
        ensureLoaded();
        return m_y[static_cast<std::size_t>(i)];
    }
    /// Radius of point i in units of the vertical axis; NaN for an empty `bubbleradius`.
    double radius(int i) const {
        ensureLoaded();
        return m_r[static_cast<std::size_t>(i)];
    }
    /// Sets X or Y of point i as given (no clamping, no rounding) and announces the change.
    void setX(int i, double value);
    void setY(int i, double value);
    /// Colour of point i as 0xRRGGBB: the palette colour of its index, the same on every matrix.
    std::uint32_t color(int i) const { return paletteColor(i); }

    /// Discards the points and reads the whole table (deferred until the next read).
    void reload();

    /// Colour of point `index`: a fixed palette of distinct colours, repeated.
    static std::uint32_t paletteColor(int index);
    /// The Windows colour value 0x00BBGGRR of an 0xRRGGBB colour, as stored in `bcolor`.
    static std::int32_t toWindowsColor(std::uint32_t rgb);

signals:
    /// Points changed (moved, or a reload is pending): views repaint.
    void pointsChanged();

private:
    // The model's passes write whole columns and announce them once per pass.
    friend class MapModel;

    void ensureLoaded() const {
        if (m_stale)
            load();
    }
    void load() const;

    CoordTable* m_table;
    int m_xField;
    int m_yField;
    mutable bool m_stale = true;
    mutable std::vector<double> m_x;
    mutable std::vector<double> m_y;
    mutable std::vector<double> m_r;
};

} // namespace korvell
