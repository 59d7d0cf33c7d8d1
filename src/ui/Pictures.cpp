// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>

namespace korvell {

namespace {

struct Bubble {
    double x; ///< centre as a fraction of the width, measured from the right edge
    double y; ///< centre as a fraction of the height
    double r; ///< radius as a fraction of the height
    QColor colour;
};

// Echoes the bubbles of the matrices; kept pale so that the buttons and the hint stay readable.
const std::array<Bubble, 7> bubbles{{
    {0.02, 0.30, 0.55, QColor(0x4F, 0x5D, 0x93, 40)},
    {0.07, 0.85, 0.40, QColor(0xFA, 0x8B, 0x1D, 45)},
    {0.12, 0.20, 0.28, QColor(0x4E, 0x9E, 0x12, 40)},
    {0.19, 0.70, 0.50, QColor(0xB6, 0xA0, 0xCF, 55)},
    {0.27, 0.35, 0.22, QColor(0xFF, 0x80, 0x80, 45)},
    {0.36, 0.75, 0.33, QColor(0x4F, 0x5D, 0x93, 30)},
    {0.47, 0.25, 0.18, QColor(0xD1, 0x93, 0x10, 35)},
}};

QPixmap drawIcon(void (*draw)(QPainter&)) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

} // namespace

QPixmap Pictures::banner(QSize size) {
    QPixmap pixmap(size.expandedTo(QSize(1, 1)));
    const double w = pixmap.width();
    const double h = pixmap.height();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient base(0, 0, w, 0);
    base.setColorAt(0.0, QColor(0xF4, 0xF8, 0xFD));
    base.setColorAt(0.55, QColor(0xDD, 0xE8, 0xF6));
    base.setColorAt(1.0, QColor(0xC3, 0xD5, 0xEE));
    painter.fillRect(pixmap.rect(), base);

    QLinearGradient sheen(0, 0, 0, h);
    sheen.setColorAt(0.0, QColor(255, 255, 255, 110));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
    painter.fillRect(pixmap.rect(), sheen);

    painter.setPen(Qt::NoPen);
    for (const Bubble& b : bubbles) {
        const QPointF centre(w - b.x * w, b.y * h);
        const double radius = b.r * h;
        QRadialGradient fill(centre - QPointF(radius / 3, radius / 3), radius * 1.3);
        fill.setColorAt(0.0, QColor(255, 255, 255, b.colour.alpha()));
        fill.setColorAt(1.0, b.colour);
        painter.setBrush(fill);
        painter.drawEllipse(centre, radius, radius);
    }

    painter.setPen(QPen(QColor(0x9F, 0xB6, 0xD8), 1));
    painter.drawLine(QPointF(0, h - 0.5), QPointF(w, h - 0.5));
    return pixmap;
}

QIcon Pictures::printToJpeg() {
    return QIcon(drawIcon([](QPainter& p) {
        p.setPen(QPen(QColor(0x4F, 0x5D, 0x93), 1));
        p.setBrush(QColor(0xEA, 0xF2, 0xFC));
        p.drawRoundedRect(QRectF(1.5, 2.5, 13, 11), 1.5, 1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xF5, 0xB8, 0x2E));
        p.drawEllipse(QPointF(10.5, 5.8), 1.7, 1.7);
        QPainterPath hills;
        hills.moveTo(2.5, 12.5);
        hills.lineTo(6.0, 7.5);
        hills.lineTo(8.5, 10.5);
        hills.lineTo(10.5, 9.0);
        hills.lineTo(13.5, 12.5);
        hills.closeSubpath();
        p.setBrush(QColor(0x4E, 0x9E, 0x12));
        p.drawPath(hills);
    }));
}

QIcon Pictures::reconnect() {
    return QIcon(drawIcon([](QPainter& p) {
        p.setPen(QPen(QColor(0x4F, 0x5D, 0x93), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(2, 14), QPointF(5, 11));
        p.drawLine(QPointF(11, 5), QPointF(14, 2));
        p.setBrush(QColor(0xC3, 0xD5, 0xEE));
        p.drawRoundedRect(QRectF(4, 7, 5, 5), 1, 1);
        p.drawRoundedRect(QRectF(7, 4, 5, 5), 1, 1);
    }));
}

} // namespace korvell
