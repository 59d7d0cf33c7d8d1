// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "model/BubbleSeries.h"
#include "model/MatrixCatalogue.h"
#include "ui/ChartGeometry.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

namespace korvell {

class CoordTable;
class DragPointTool;
class TXLabel;

/**
 * One matrix of the map window: fixed 0..10 axes split at 5, the bubbles of one series
 * (or, for `DBChart3`, its stored line series) and the four quadrant captions as children.
 *
 * Mouse order: a move is announced through mouseMoved() before the tools move a point, and a
 * release through mouseReleased() before the tools see it; the map window relies on that order.
 */
class MatrixChart : public QWidget {
    Q_OBJECT
public:
    explicit MatrixChart(const MatrixDef& def, QWidget* parent = nullptr);
    ~MatrixChart() override;

    const MatrixDef& definition() const { return m_def; }

    /// Bubble mode: draws the points of series. table, when given, names the products in tooltips
    /// (point i is row i). Neither is owned.
    void setSeries(BubbleSeries* series, const CoordTable* table = nullptr);
    BubbleSeries* series() const { return m_series; }

    QString title() const { return m_title; }
    void setTitle(const QString& text);
    QString leftAxisTitle() const { return m_leftAxisTitle; }
    void setLeftAxisTitle(const QString& text);
    QString bottomAxisTitle() const { return m_bottomAxisTitle; }
    void setBottomAxisTitle(const QString& text);

    /// The rounded border; switched off for the picture export.
    bool borderVisible() const { return m_borderVisible; }
    void setBorderVisible(bool visible);
    bool leftMinorGridVisible() const { return m_leftMinorGrid; }
    void setLeftMinorGridVisible(bool visible);
    bool bottomMinorGridVisible() const { return m_bottomMinorGrid; }
    void setBottomMinorGridVisible(bool visible);

    /// The quadrant captions in catalogue order (top-left, top-right, bottom-left, bottom-right). They
    /// follow the chart's size when it is shown or resized while shown, or when plotGeometry() is asked.
    const QList<TXLabel*>& labels() const { return m_labels; }
    /// The caption whose objectName() is name; nullptr when there is none.
    TXLabel* quadrantLabel(const QString& name) const;

    /// Makes this chart the tool's parent chart. The tool stays owned by its creator.
    void addTool(DragPointTool* tool);
    QList<DragPointTool*> tools() const;

    /// Value <-> pixel mapping of the current size (also before the chart is first shown).
    const ChartGeometry& plotGeometry() const {
        ensureLayout();
        return m_geometry;
    }
    /// Index of the topmost bubble of series under pos (widget pixels); -1 when none.
    int bubbleAt(const BubbleSeries* series, QPointF pos) const;

signals:
    void mouseMoved(korvell::MatrixChart* chart, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void mouseReleased(korvell::MatrixChart* chart, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void doubleClicked(korvell::MatrixChart* chart);
    void contextMenuRequested(korvell::MatrixChart* chart, QPoint globalPos);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void createLabels();
    void ensureLayout() const;
    void relayout();
    void invalidateBackground();
    void paintBackground(QPainter& painter) const;
    void paintAxes(QPainter& painter) const;
    void paintBubbles(QPainter& painter);
    void paintLineSeries(QPainter& painter) const;
    const QImage& bubbleSprite(std::uint32_t rgb, double radiusPixels, qreal dpr);
    void updateCursor(QPointF pos);
    QString toolTipAt(QPointF pos) const;
    QColor titleColor() const;

    MatrixDef m_def;
    QPointer<BubbleSeries> m_series;
    QPointer<const CoordTable> m_table;
    QList<QPointer<DragPointTool>> m_tools;
    QList<TXLabel*> m_labels;

    QString m_title;
    QString m_leftAxisTitle;
    QString m_bottomAxisTitle;
    bool m_borderVisible = true;
    bool m_leftMinorGrid = true;
    bool m_bottomMinorGrid = true;

    // A hidden widget gets no resize events until it is shown, so the layout follows the size lazily.
    mutable QSize m_layoutSize;
    mutable ChartGeometry m_geometry;
    QPixmap m_background;
    mutable bool m_backgroundValid = false;
    mutable QHash<quint64, QImage> m_sprites;
    qreal m_spriteDpr = 0;
};

} // namespace korvell
