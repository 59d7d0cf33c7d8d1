// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "ui/ChartGeometry.h"

#include <QTest>

using namespace korvell;

class TestChartGeometry : public QObject {
    Q_OBJECT
private slots:
    void valueToPixel_data();
    void valueToPixel();
    void roundTrip();
    void radiusUsesVerticalScale();
    void layoutPlot();
    void hitsCircle_data();
    void hitsCircle();
};

namespace {

// Plot from (40, 25) to (400, 300) inclusive: 36 pixels per unit across, 27.5 down.
ChartGeometry sample() {
    return ChartGeometry(QRect(QPoint(40, 25), QPoint(400, 300)), 0.0, 10.0, 0.0, 10.0);
}

} // namespace

void TestChartGeometry::valueToPixel_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QPointF>("pixel");

    QTest::newRow("origin on the bottom-left pixel") << 0.0 << 0.0 << QPointF(40, 300);
    QTest::newRow("maximum on the top-right pixel") << 10.0 << 10.0 << QPointF(400, 25);
    QTest::newRow("quadrant cross") << 5.0 << 5.0 << QPointF(220, 162.5);
    QTest::newRow("beyond the axis end, unclamped") << 12.0 << -1.0 << QPointF(472, 327.5);
}

void TestChartGeometry::valueToPixel() {
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QPointF, pixel);
    const ChartGeometry geometry = sample();
    QCOMPARE(geometry.valueToPixel(x, y), pixel);
    QCOMPARE(geometry.pixelToValue(pixel), QPointF(x, y));
}

void TestChartGeometry::roundTrip() {
    const ChartGeometry geometry(QRect(QPoint(37, 21), QPoint(398, 289)), -1.832e-15, 10.0, 0.0, 10.0);
    for (double v = -3.0; v <= 13.0; v += 0.7) {
        QVERIFY(qAbs(geometry.pixelToX(geometry.xToPixel(v)) - v) < 1e-9);
        QVERIFY(qAbs(geometry.pixelToY(geometry.yToPixel(v)) - v) < 1e-9);
    }
    // A minimum a hair below zero keeps 0 on the edge pixel.
    QVERIFY(qAbs(geometry.xToPixel(0.0) - 37.0) < 1e-9);
}

void TestChartGeometry::radiusUsesVerticalScale() {
    const ChartGeometry geometry = sample();
    QCOMPARE(geometry.radiusToPixels(0.4), 11.0);
    QCOMPARE(geometry.radiusToPixels(10.0), 275.0);
}

void TestChartGeometry::layoutPlot() {
    const QMargins margins(5, 5, 20, 5);
    ChartGeometry::Insets insets;
    insets.top = 20;
    insets.left = 35;
    insets.bottom = 33;
    QCOMPARE(ChartGeometry::layoutPlot(QSize(400, 300), margins, insets), QRect(QPoint(40, 25), QPoint(379, 261)));
    // Too small for its insets: still one pixel each way, never inverted.
    const QRect tiny = ChartGeometry::layoutPlot(QSize(30, 30), margins, insets);
    QCOMPARE(tiny.topLeft(), QPoint(40, 25));
    QVERIFY(tiny.right() > tiny.left());
    QVERIFY(tiny.bottom() > tiny.top());
}

void TestChartGeometry::hitsCircle_data() {
    QTest::addColumn<QPointF>("pos");
    QTest::addColumn<bool>("hit");

    QTest::newRow("centre") << QPointF(100, 100) << true;
    QTest::newRow("on the border") << QPointF(110, 100) << true;
    QTest::newRow("just outside") << QPointF(110.01, 100) << false;
    QTest::newRow("inside the box, outside the circle") << QPointF(108, 108) << false;
    QTest::newRow("diagonal inside") << QPointF(107, 107) << true;
}

void TestChartGeometry::hitsCircle() {
    QFETCH(QPointF, pos);
    QFETCH(bool, hit);
    QCOMPARE(ChartGeometry::hitsCircle(QPointF(100, 100), 10.0, pos), hit);
}

QTEST_GUILESS_MAIN(TestChartGeometry)
#include "tst_chartgeometry.moc"
