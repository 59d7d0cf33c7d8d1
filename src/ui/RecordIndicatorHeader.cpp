// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "RecordIndicatorHeader.h"

#include <QItemSelectionModel>
#include <QPainter>
#include <QPainterPath>

namespace korvell {

namespace {

constexpr int kIndicatorWidth = 14;

} // namespace

RecordIndicatorHeader::RecordIndicatorHeader(QWidget* parent)
    : QHeaderView(Qt::Vertical, parent) {
    setSectionsClickable(false);
    setHighlightSections(false);
}

void RecordIndicatorHeader::setMarker(Marker marker) {
    if (m_marker == marker)
        return;
    m_marker = marker;
    viewport()->update();
}

int RecordIndicatorHeader::markedRow() const {
    return selectionModel() ? selectionModel()->currentIndex().row() : -1;
}

QSize RecordIndicatorHeader::sizeHint() const {
    return {kIndicatorWidth, QHeaderView::sizeHint().height()};
}

void RecordIndicatorHeader::currentChanged(const QModelIndex& current, const QModelIndex& old) {
    QHeaderView::currentChanged(current, old);
    viewport()->update();
}

void RecordIndicatorHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid())
        return;
    painter->save();
    const QColor base = palette().color(QPalette::Button);
    painter->fillRect(rect, base);
    painter->setPen(palette().color(QPalette::Mid));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    if (logicalIndex == markedRow()) {
        painter->setRenderHint(QPainter::Antialiasing);
        const QPointF c = QRectF(rect).center();
        const QColor ink = palette().color(QPalette::ButtonText);
        switch (m_marker) {
        case Marker::Browse: {
            QPainterPath arrow;
            arrow.moveTo(c.x() - 2.5, c.y() - 4.5);
            arrow.lineTo(c.x() + 3.0, c.y());
            arrow.lineTo(c.x() - 2.5, c.y() + 4.5);
            arrow.closeSubpath();
            painter->fillPath(arrow, ink);
            break;
        }
        case Marker::Edit:
            painter->setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::RoundCap));
            painter->drawLine(QPointF(c.x() - 3.5, c.y() + 3.5), QPointF(c.x() + 3.0, c.y() - 3.0));
            painter->setPen(QPen(ink, 1.0));
            painter->drawLine(QPointF(c.x() - 4.5, c.y() + 4.5), QPointF(c.x() - 3.0, c.y() + 4.5));
            break;
        case Marker::Insert:
            painter->setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap));
            for (int i = 0; i < 3; ++i) {
                painter->save();
                painter->translate(c);
                painter->rotate(60.0 * i);
                painter->drawLine(QPointF(0, -4), QPointF(0, 4));
                painter->restore();
            }
            break;
        }
    }
    painter->restore();
}

} // namespace korvell
