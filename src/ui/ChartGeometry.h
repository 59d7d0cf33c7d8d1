// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QMargins>
#include <QPointF>
#include <QRect>
#include <QSize>

namespace korvell {

/**
 * Value <-> pixel mapping of a chart's plot area. The plot rectangle is inclusive: the axis
 * minimum lies on its left (bottom) pixel column (row) and the maximum on its right (top) one,
 * which is where the outer grid lines are drawn. Nothing is clamped: values beyond the axis
 * range map outside the rectangle and back.
 */
class ChartGeometry {
public:
    ChartGeometry() = default;
    ChartGeometry(const QRect& plot, double xMin, double xMax, double yMin, double yMax);

    /// Space the chart reserves around the plot, besides its margins.
    struct Insets {
        int top = 0;    ///< title
        int left = 0;   ///< axis title, labels and ticks of the left axis
        int bottom = 0; ///< axis title, labels and ticks of the bottom axis
    };
    /// The plot rectangle of a chart of the given size; never smaller than one pixel each way.
    static QRect layoutPlot(QSize chartSize, const QMargins& margins, const Insets& insets);

    const QRect& plotRect() const { return m_plot; }
    double xMin() const { return m_xMin; }
    double xMax() const { return m_xMax; }
    double yMin() const { return m_yMin; }
    double yMax() const { return m_yMax; }

    double xToPixel(double x) const;
    double yToPixel(double y) const;
    QPointF valueToPixel(double x, double y) const { return {xToPixel(x), yToPixel(y)}; }
    double pixelToX(double px) const;
    double pixelToY(double py) const;
    QPointF pixelToValue(QPointF pixel) const { return {pixelToX(pixel.x()), pixelToY(pixel.y())}; }
    /// A bubble radius in vertical-axis units as pixels; bubbles are circles, so both directions use it.
    double radiusToPixels(double radius) const;

    /// Whether pos lies on the circle (border included).
    static bool hitsCircle(QPointF centre, double radiusPixels, QPointF pos);

private:
    double xScale() const;
    double yScale() const;

    QRect m_plot{0, 0, 1, 1};
    double m_xMin = 0.0;
    double m_xMax = 10.0;
    double m_yMin = 0.0;
    double m_yMax = 10.0;
};

} // namespace korvell
