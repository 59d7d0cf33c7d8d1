// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "LoginBackground.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace korvell {

namespace {

constexpr int bandHeight = 42;

void paintField(QPainter& p, const QRect& area) {
    QLinearGradient field(area.topLeft(), area.bottomLeft());
    field.setColorAt(0.0, QColor(236, 241, 246));
    field.setColorAt(1.0, QColor(186, 198, 212));
    p.fillRect(area, field);

    // Faint bubbles away from the captions and boxes, so that nothing written over them blurs.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 110, 180, 26));
    p.drawEllipse(QPointF(34, 150), 30, 30);
    p.setBrush(QColor(240, 150, 50, 40));
    p.drawEllipse(QPointF(area.right() - 16, area.bottom() - 36), 46, 46);
    p.setBrush(QColor(60, 160, 90, 22));
    p.drawEllipse(QPointF(area.right() - 20, 88), 18, 18);

    p.setPen(QPen(QColor(150, 166, 184), 1));
    p.drawLine(QPointF(6, area.bottom() - 32.5), QPointF(area.right() - 6, area.bottom() - 32.5));
}

void paintBand(QPainter& p, const QRect& band) {
    QLinearGradient shade(band.topLeft(), band.bottomLeft());
    shade.setColorAt(0.0, QColor(26, 50, 84));
    shade.setColorAt(1.0, QColor(46, 84, 128));
    p.fillRect(band, shade);
    p.fillRect(QRect(band.left(), band.bottom() + 1, band.width(), 2), QColor(96, 164, 214));

    QFont title(QStringLiteral("Tahoma"));
    title.setPixelSize(20);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(band.left() + 14, band.top(), band.width() / 2, band.height()), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Korvell"));

    // A small two-by-two matrix with three products on it.
    const QRectF matrix(band.right() - 42, band.top() + 6, 30, 30);
    p.setPen(QPen(QColor(200, 222, 240), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(matrix);
    p.drawLine(QPointF(matrix.center().x(), matrix.top()), QPointF(matrix.center().x(), matrix.bottom()));
    p.drawLine(QPointF(matrix.left(), matrix.center().y()), QPointF(matrix.right(), matrix.center().y()));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 170, 60));
    p.drawEllipse(QPointF(matrix.left() + 22, matrix.top() + 8), 4.5, 4.5);
    p.setBrush(QColor(110, 200, 120));
    p.drawEllipse(QPointF(matrix.left() + 9, matrix.top() + 20), 3.5, 3.5);
    p.setBrush(QColor(120, 180, 250));
    p.drawEllipse(QPointF(matrix.left() + 22, matrix.top() + 23), 2.5, 2.5);
}

} // namespace

QImage LoginBackground::paint(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintField(p, image.rect());
    paintBand(p, QRect(0, 0, size.width(), bandHeight));
    return image;
}

} // namespace korvell
