// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "ui/ChartGeometry.h"

#include <algorithm>

namespace korvell {

ChartGeometry::ChartGeometry(const QRect& plot, double xMin, double xMax, double yMin, double yMax)
    : m_plot(plot)
    , m_xMin(xMin)
    , m_xMax(xMax)
    , m_yMin(yMin)
    , m_yMax(yMax) {}

QRect ChartGeometry::layoutPlot(QSize chartSize, const QMargins& margins, const Insets& insets) {
    const int left = margins.left() + insets.left;
    const int top = margins.top() + insets.top;
    const int right = std::max(left + 1, chartSize.width() - 1 - margins.right());
    const int bottom = std::max(top + 1, chartSize.height() - 1 - margins.bottom() - insets.bottom);
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// Spans in pixels between the minimum's and the maximum's column (row).
double ChartGeometry::xScale() const {
    return (m_plot.right() - m_plot.left()) / (m_xMax - m_xMin);
}
double ChartGeometry::yScale() const {
    return (m_plot.bottom() - m_plot.top()) / (m_yMax - m_yMin);
}

double ChartGeometry::xToPixel(double x) const {
    return m_plot.left() + (x - m_xMin) * xScale();
}
double ChartGeometry::yToPixel(double y) const {
    return m_plot.bottom() - (y - m_yMin) * yScale();
}
double ChartGeometry::pixelToX(double px) const {
    return m_xMin + (px - m_plot.left()) / xScale();
}
double ChartGeometry::pixelToY(double py) const {
    return m_yMin + (m_plot.bottom() - py) / yScale();
}
double ChartGeometry::radiusToPixels(double radius) const {
    return radius * yScale();
}

bool ChartGeometry::hitsCircle(QPointF centre, double radiusPixels, QPointF pos) {
    const double dx = pos.x() - centre.x();
    const double dy = pos.y() - centre.y();
    return dx * dx + dy * dy <= radiusPixels * radiusPixels;
}

} // namespace korvell
