// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "model/BubbleSeries.h"
#include "model/MatrixCatalogue.h"

#include <QObject>
#include <QPointF>
#include <QPointer>

namespace korvell {

class MatrixChart;

/**
 * Moves a bubble of one series with the left mouse button: the press picks the topmost bubble
 * under the mouse, every following move puts the point at the axis values under the mouse
 * (X only, or X and Y; never clamped), the release ends the drag and Escape puts the bubble back.
 * The chart feeds it its mouse events after announcing them to its owner.
 */
class DragPointTool : public QObject {
    Q_OBJECT
public:
    explicit DragPointTool(QObject* parent = nullptr);

    /// Set by MatrixChart::addTool.
    MatrixChart* parentChart() const;
    void setParentChart(MatrixChart* chart);

    DragStyle style() const { return m_style; }
    void setStyle(DragStyle style) { m_style = style; }
    BubbleSeries* series() const { return m_series; }
    void setSeries(BubbleSeries* series);
    bool isActive() const { return m_active; }
    /// Deactivating ends a drag in progress where it is.
    void setActive(bool active);

    bool isDragging() const { return m_index >= 0; }
    /// The point being dragged; -1 when none.
    int draggedIndex() const { return m_index; }

    /// True when the press picked a bubble.
    bool mousePress(Qt::MouseButton button, QPointF pos);
    void mouseMove(QPointF pos);
    void mouseRelease(Qt::MouseButton button);
    /// Puts the dragged bubble back where the press found it; false when no drag was running.
    bool cancelDrag();

private:
    QPointer<MatrixChart> m_chart;
    QPointer<BubbleSeries> m_series;
    DragStyle m_style = DragStyle::Both;
    bool m_active = false;
    int m_index = -1;
    double m_startX = 0.0;
    double m_startY = 0.0;
};

} // namespace korvell
