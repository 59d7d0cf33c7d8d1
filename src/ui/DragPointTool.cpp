// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "ui/DragPointTool.h"

#include "ui/MatrixChart.h"

namespace korvell {

DragPointTool::DragPointTool(QObject* parent)
    : QObject(parent) {}

MatrixChart* DragPointTool::parentChart() const {
    return m_chart;
}

void DragPointTool::setParentChart(MatrixChart* chart) {
    m_index = -1;
    m_chart = chart;
}

void DragPointTool::setSeries(BubbleSeries* series) {
    m_index = -1;
    m_series = series;
}

void DragPointTool::setActive(bool active) {
    m_active = active;
    if (!active)
        m_index = -1;
}

bool DragPointTool::mousePress(Qt::MouseButton button, QPointF pos) {
    if (!m_active || button != Qt::LeftButton || m_style == DragStyle::None || !m_chart || !m_series)
        return false;
    m_index = m_chart->bubbleAt(m_series, pos);
    if (m_index < 0)
        return false;
    m_startX = m_series->x(m_index);
    m_startY = m_series->y(m_index);
    return true;
}

void DragPointTool::mouseMove(QPointF pos) {
    if (m_index < 0)
        return;
    // A reload may have taken the point away under the drag.
    if (!m_chart || !m_series || m_index >= m_series->count()) {
        m_index = -1;
        return;
    }
    const ChartGeometry& geometry = m_chart->plotGeometry();
    m_series->setX(m_index, geometry.pixelToX(pos.x()));
    if (m_style == DragStyle::Both)
        m_series->setY(m_index, geometry.pixelToY(pos.y()));
}

void DragPointTool::mouseRelease(Qt::MouseButton button) {
    if (button == Qt::LeftButton)
        m_index = -1;
}

bool DragPointTool::cancelDrag() {
    if (m_index < 0)
        return false;
    const int index = m_index;
    m_index = -1;
    if (!m_series || index >= m_series->count())
        return false;
    m_series->setX(index, m_startX);
    if (m_style == DragStyle::Both)
        m_series->setY(index, m_startY);
    return true;
}

} // namespace korvell
