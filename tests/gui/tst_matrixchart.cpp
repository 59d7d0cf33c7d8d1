// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "model/BubbleSeries.h"
#include "model/CoordTable.h"
#include "model/MatrixCatalogue.h"
#include "ui/DragPointTool.h"
#include "ui/MatrixChart.h"
#include "ui/XLabel.h"

#include <QContextMenuEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <memory>

using namespace korvell;

Q_DECLARE_METATYPE(korvell::DragStyle)

namespace {

constexpr QRgb background = qRgb(255, 0, 255);

// One chart of the catalogue over a small table, sized as on the map tab.
struct ChartFixture {
    explicit ChartFixture(MatrixIndex index = MxPotentialMarket)
        : def(matrixCatalogue().at(index)) {
        table.open();
        if (!def.lineChart)
            series = new BubbleSeries(QString::fromUtf8(def.seriesName), &table, def.xField, def.yField, &table);
        chart = std::make_unique<MatrixChart>(def);
        chart->setSeries(series, &table);
        chart->resize(420, 330);
    }

    void add(const QString& product, double x, double y, double radius = 0.4) {
        table.append();
        table.setValue(F_product, product);
        table.setValue(F_bubbleradius, radius);
        table.setValue(def.xField, x);
        table.setValue(def.yField, y);
        table.post();
    }

    DragPointTool* addTool(DragStyle style) {
        auto* tool = new DragPointTool(chart.get());
        chart->addTool(tool);
        tool->setStyle(style);
        tool->setSeries(series);
        tool->setActive(true);
        return tool;
    }

    QPoint at(double x, double y) const { return chart->plotGeometry().valueToPixel(x, y).toPoint(); }

    QImage render() const {
        QImage image(chart->size(), QImage::Format_ARGB32);
        image.fill(background);
        chart->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }

    const MatrixDef& def;
    CoordTable table;
    BubbleSeries* series = nullptr;
    std::unique_ptr<MatrixChart> chart;
};

QRgb rgbOf(std::uint32_t rgb) {
    return static_cast<QRgb>(rgb | 0xFF000000u);
}

// Antialiased edges blend a little of what lies beneath.
bool closeColour(QRgb a, std::uint32_t rgb) {
    const QRgb b = rgbOf(rgb);
    return qAbs(qRed(a) - qRed(b)) < 24 && qAbs(qGreen(a) - qGreen(b)) < 24 && qAbs(qBlue(a) - qBlue(b)) < 24;
}

bool near(double a, double b) {
    return qAbs(a - b) < 0.02;
} // within one pixel's worth of value

} // namespace

class TestMatrixChart : public QObject {
    Q_OBJECT
private slots:
    void construction();
    void captionsKeepTheirCorners();
    void renderedPixels();
    void switchesRedraw();
    void lineChart();
    void drag_data();
    void drag();
    void topmostBubbleWins();
    void ownerSeesMoveBeforeTool();
    void pressOffBubbleMovesNothing();
    void escapeCancelsDrag();
    void disabledCaptionLetsDragThrough();
    void handCursorOverDraggableBubbles();
    void toolTipNamesProduct();
    void ownerSignals();
};

void TestMatrixChart::construction() {
    ChartFixture f;
    QCOMPARE(f.chart->objectName(), QStringLiteral("Chart1"));
    QCOMPARE(f.chart->title(), QStringLiteral("POTENTIAL MARKET"));
    QCOMPARE(f.chart->bottomAxisTitle(), QStringLiteral("Number of Competitors"));
    QCOMPARE(f.chart->leftAxisTitle(), QStringLiteral("Market Dimension"));
    QVERIFY(f.chart->borderVisible());
    QVERIFY(f.chart->leftMinorGridVisible());
    QVERIFY(f.chart->bottomMinorGridVisible());
    QVERIFY(f.chart->hasMouseTracking());

    const QStringList names{"Label15", "Label16", "Label17", "Label18"};
    const QStringList captions{"Ocean", "Sea", "River", "Lagoon"};
    QCOMPARE(f.chart->labels().size(), 4);
    for (int i = 0; i < 4; ++i) {
        TXLabel* label = f.chart->quadrantLabel(names[i]);
        QVERIFY(label);
        QCOMPARE(label, f.chart->labels().at(i));
        QCOMPARE(label->parentWidget(), f.chart.get());
        QCOMPARE(label->caption(), captions[i]);
        QVERIFY(!label->isEnabled());
        QVERIFY(label->Transparent());
        QVERIFY(!label->AutoSize());
        QCOMPARE(label->FontColorDisabled(), QColor(Qt::black));
        QCOMPARE(label->font().pixelSize(), 11);
        QCOMPARE(label->Alignment(), i % 2 ? TextAlignment::RightJustify : TextAlignment::LeftJustify);
    }
    QCOMPARE(f.chart->quadrantLabel(QStringLiteral("Label1")), nullptr);

    ChartFixture business(MxBmOrganisation);
    QVERIFY(business.chart->labels().isEmpty());
}

void TestMatrixChart::captionsKeepTheirCorners() {
    ChartFixture f;
    f.chart->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.chart.get()));
    for (const QSize size : {QSize(420, 330), QSize(640, 480), QSize(300, 250)}) {
        f.chart->resize(size);
        const QRect topLeft = f.chart->quadrantLabel(QStringLiteral("Label15"))->geometry();
        const QRect topRight = f.chart->quadrantLabel(QStringLiteral("Label16"))->geometry();
        const QRect bottomLeft = f.chart->quadrantLabel(QStringLiteral("Label17"))->geometry();
        const QRect bottomRight = f.chart->quadrantLabel(QStringLiteral("Label18"))->geometry();
        QCOMPARE(topLeft.topLeft(), QPoint(42, 30));
        QCOMPARE(size.width() - (topRight.x() + topRight.width()), 21);
        QCOMPARE(topRight.y(), 30);
        QCOMPARE(bottomLeft.x(), 42);
        QCOMPARE(size.height() - (bottomLeft.y() + bottomLeft.height()), 40);
        QCOMPARE(size.width() - (bottomRight.x() + bottomRight.width()), 21);
        QCOMPARE(size.height() - (bottomRight.y() + bottomRight.height()), 40);
        // The captions sit inside their quadrant of the plot.
        const QRect plot = f.chart->plotGeometry().plotRect();
        QVERIFY(plot.contains(topLeft.topLeft()));
        QVERIFY(plot.contains(bottomRight.bottomRight()));
    }
}

void TestMatrixChart::renderedPixels() {
    ChartFixture f;
    f.add(QStringLiteral("Alpha"), 2.0, 8.0);
    f.add(QStringLiteral("Edge"), 10.1, 5.5); // partly beyond the axis end
    const QImage image = f.render();
    auto pixel = [&](double x, double y) { return image.pixel(f.at(x, y)); };
    const QRgb black = qRgb(0, 0, 0);

    QCOMPARE(pixel(5.0, 2.5), black); // vertical grid line at 5
    QCOMPARE(pixel(2.5, 5.0), black); // horizontal grid line at 5
    QCOMPARE(pixel(5.0, 5.0), black); // the quadrant cross
    QCOMPARE(pixel(0.0, 3.0), black);
    QCOMPARE(pixel(10.0, 3.0), black);
    QCOMPARE(pixel(3.0, 10.0), black);
    QCOMPARE(pixel(7.3, 2.3), qRgb(255, 255, 255)); // white back wall

    QCOMPARE(pixel(2.0, 8.0), rgbOf(f.series->color(0)));
    // Clipped to the plot, and the axes do not grow.
    const QPoint edge = f.at(10.0, 5.5);
    QCOMPARE(image.pixel(edge + QPoint(-3, 0)), rgbOf(f.series->color(1)));
    QVERIFY(image.pixel(edge + QPoint(3, 0)) != rgbOf(f.series->color(1)));
    QCOMPARE(f.chart->plotGeometry().xMax(), 10.0);

    // Dotted silver minor grid at every whole unit.
    int silver = 0;
    const int x1 = f.at(1.0, 0.0).x();
    for (int y = f.at(0, 7.0).y(); y < f.at(0, 6.0).y(); ++y)
        silver += image.pixel(x1, y) == qRgb(0xC0, 0xC0, 0xC0);
    QVERIFY(silver > 5);

    // The rounded border leaves the corner to the parent; the gradient starts in the chart's colour.
    QCOMPARE(image.pixel(1, 1), background);
    const QColor top = image.pixelColor(f.chart->width() / 2, 1);
    QVERIFY(qAbs(top.red() - 0xC0) < 4 && qAbs(top.green() - 0xC0) < 4 && qAbs(top.blue() - 0xC0) < 4);

    // The top-left caption is drawn in black inside its box.
    const QRect caption = f.chart->quadrantLabel(QStringLiteral("Label15"))->geometry();
    int ink = 0;
    for (int y = caption.top(); y <= caption.bottom(); ++y)
        for (int x = caption.left(); x <= caption.right(); ++x)
            ink += qGray(image.pixel(x, y)) < 80;
    QVERIFY(ink > 10);
}

void TestMatrixChart::switchesRedraw() {
    ChartFixture f;
    const QImage before = f.render();
    f.chart->setBottomMinorGridVisible(false);
    f.chart->setLeftMinorGridVisible(false);
    f.chart->setBorderVisible(false);
    const QImage after = f.render();

    const int x1 = f.at(1.0, 0.0).x();
    for (int y = f.at(0, 7.0).y(); y < f.at(0, 6.0).y(); ++y)
        QCOMPARE(after.pixel(x1, y), qRgb(255, 255, 255));
    const int y3 = f.at(0.0, 3.0).y();
    for (int x = f.at(6.0, 0).x(); x < f.at(7.0, 0).x(); ++x)
        QCOMPARE(after.pixel(x, y3), qRgb(255, 255, 255));
    QVERIFY(before.pixel(1, 1) == background);
    QVERIFY(after.pixel(1, 1) != background); // square corners for the picture export

    f.chart->setTitle(QString());
    QVERIFY(f.chart->plotGeometry().plotRect().top() < QFontMetrics(QFont()).height() + 5);
}

void TestMatrixChart::lineChart() {
    ChartFixture f(MxNineDimensions);
    QCOMPARE(f.chart->objectName(), QStringLiteral("DBChart3"));
    QVERIFY(f.chart->labels().isEmpty());
    const QImage image = f.render();
    const LineSeriesDef& line = nineDimensionSeries();
    QCOMPARE(image.pixel(f.at(3.0, 3.0)), rgbOf(line.seriesColor));                    // a rectangular pointer
    QVERIFY(closeColour(image.pixel(f.at(6.5, 7.5)), line.lineColor));                 // the line between two points
    QVERIFY(!closeColour(image.pixel(f.at(6.5, 7.5) + QPoint(0, 4)), line.lineColor)); // three pixels wide
}

void TestMatrixChart::drag_data() {
    QTest::addColumn<DragStyle>("style");
    QTest::addColumn<QPointF>("target");
    QTest::addColumn<QPointF>("expected");

    QTest::newRow("both") << DragStyle::Both << QPointF(7.5, 3.0) << QPointF(7.5, 3.0);
    QTest::newRow("both past the axis ends, unclamped")
        << DragStyle::Both << QPointF(10.6, 10.4) << QPointF(10.6, 10.4);
    QTest::newRow("both below zero") << DragStyle::Both << QPointF(-0.5, -0.4) << QPointF(-0.5, -0.4);
    QTest::newRow("x only") << DragStyle::XOnly << QPointF(7.5, 3.0) << QPointF(7.5, 8.0);
    QTest::newRow("x only past the end") << DragStyle::XOnly << QPointF(10.5, 1.0) << QPointF(10.5, 8.0);
}

void TestMatrixChart::drag() {
    QFETCH(DragStyle, style);
    QFETCH(QPointF, target);
    QFETCH(QPointF, expected);

    ChartFixture f;
    f.add(QStringLiteral("Other"), 6.0, 6.0);
    f.add(QStringLiteral("Alpha"), 2.0, 8.0);
    DragPointTool* tool = f.addTool(style);

    QTest::mousePress(f.chart.get(), Qt::LeftButton, {}, f.at(2.0, 8.0));
    QVERIFY(tool->isDragging());
    QCOMPARE(tool->draggedIndex(), 1);
    QTest::mouseMove(f.chart.get(), f.at(4.0, 4.0));
    QTest::mouseMove(f.chart.get(), f.at(target.x(), target.y()));
    QTest::mouseRelease(f.chart.get(), Qt::LeftButton, {}, f.at(target.x(), target.y()));
    QVERIFY(!tool->isDragging());

    QVERIFY2(near(f.series->x(1), expected.x()), qPrintable(QString::number(f.series->x(1))));
    QVERIFY2(near(f.series->y(1), expected.y()), qPrintable(QString::number(f.series->y(1))));
    QCOMPARE(f.series->x(0), 6.0);
    QCOMPARE(f.series->y(0), 6.0);

    // After the release, moves no longer drag.
    QTest::mouseMove(f.chart.get(), f.at(1.0, 1.0));
    QVERIFY(near(f.series->x(1), expected.x()));
}

void TestMatrixChart::topmostBubbleWins() {
    ChartFixture f;
    f.add(QStringLiteral("Under"), 5.0, 5.0, 1.0);
    f.add(QStringLiteral("Over"), 5.2, 5.2, 0.4);
    f.add(QStringLiteral("Far"), 9.0, 9.0, 0.4);
    DragPointTool* tool = f.addTool(DragStyle::Both);

    QCOMPARE(f.chart->bubbleAt(f.series, f.at(5.2, 5.2)), 1); // both bubbles cover it: the later one
    QCOMPARE(f.chart->bubbleAt(f.series, f.at(4.5, 4.6)), 0); // only the large one
    QCOMPARE(f.chart->bubbleAt(f.series, f.at(2.0, 2.0)), -1);

    QTest::mousePress(f.chart.get(), Qt::LeftButton, {}, f.at(5.2, 5.2));
    QCOMPARE(tool->draggedIndex(), 1);
    QTest::mouseMove(f.chart.get(), f.at(1.0, 1.0));
    QTest::mouseRelease(f.chart.get(), Qt::LeftButton, {}, f.at(1.0, 1.0));
    QVERIFY(near(f.series->x(1), 1.0));
    QCOMPARE(f.series->x(0), 5.0);
}

void TestMatrixChart::ownerSeesMoveBeforeTool() {
    ChartFixture f;
    f.add(QStringLiteral("Alpha"), 2.0, 8.0);
    DragPointTool* tool = f.addTool(DragStyle::Both);

    QList<double> seenX;
    QList<Qt::MouseButtons> seenButtons;
    connect(f.chart.get(), &MatrixChart::mouseMoved, this,
            [&](MatrixChart* chart, Qt::MouseButtons buttons, Qt::KeyboardModifiers) {
                QCOMPARE(chart, f.chart.get());
                seenX.append(f.series->x(0));
                seenButtons.append(buttons);
            });
    bool draggingAtRelease = false;
    connect(f.chart.get(), &MatrixChart::mouseReleased, this,
            [&](MatrixChart*, Qt::MouseButton button, Qt::KeyboardModifiers) {
                QCOMPARE(button, Qt::LeftButton);
                draggingAtRelease = tool->isDragging();
            });

    QTest::mousePress(f.chart.get(), Qt::LeftButton, {}, f.at(2.0, 8.0));
    QTest::mouseMove(f.chart.get(), f.at(4.0, 7.0));
    QTest::mouseMove(f.chart.get(), f.at(6.0, 6.0));
    QTest::mouseRelease(f.chart.get(), Qt::LeftButton, {}, f.at(6.0, 6.0));

    QCOMPARE(seenX.size(), 2);
    QCOMPARE(seenX.at(0), 2.0);      // the point as the press found it
    QVERIFY(near(seenX.at(1), 4.0)); // as the previous move left it
    QVERIFY(near(f.series->x(0), 6.0));
    QCOMPARE(seenButtons.at(0), Qt::MouseButtons(Qt::LeftButton));
    QVERIFY(draggingAtRelease);
    QVERIFY(!tool->isDragging());
}

void TestMatrixChart::pressOffBubbleMovesNothing() {
    ChartFixture f;
    f.add(QStringLiteral("Alpha"), 2.0, 8.0);
    DragPointTool* tool = f.addTool(DragStyle::Both);
    QSignalSpy moves(f.chart.get(), &MatrixChart::mouseMoved);

    QTest::mousePress(f.chart.get(), Qt::LeftButton, {}, f.at(7.0, 2.0));
    QVERIFY(!tool->isDragging());
    QTest::mouseMove(f.chart.get(), f.at(2.0, 8.0));
    QTest::mouseRelease(f.chart.get(), Qt::LeftButton, {}, f.at(2.0, 8.0));
    QCOMPARE(f.series->x(0), 2.0);
    QCOMPARE(f.series->y(0), 8.0);
    QCOMPARE(moves.count(), 1); // the owner still hears the move

    // An inactive tool and the right button pick nothing.
    tool->setActive(false);
    QTest::mousePress(f.chart.get(), Qt::LeftButton, {}, f.at(2.0, 8.0));
    QVERIFY(!tool->isDragging());
    QTest::mouseRelease(f.chart.get(), Qt::LeftButton, {}, f.at(2.0, 8.0));
    tool->setActive(true);
    QTest::mousePress(f.chart.get(), Qt::RightButton, {}, f.at(2.0, 8.0));
    QVERIFY(!tool->isDragging());
}

void TestMatrixChart::escapeCancelsDrag() {
    ChartFixture f;
    f.add(QStringLiteral("Alpha"), 2.0, 8.0);
    DragPointTool* tool = f.addTool(DragStyle::Both);

    QTest::mousePress(f.chart.get(), Qt::LeftButton, {}, f.at(2.0, 8.0));
    QTest::mouseMove(f.chart.get(), f.at(6.0, 3.0));
    QVERIFY(near(f.series->x(0), 6.0));
    QTest::keyClick(f.chart.get(), Qt::Key_Escape);
    QVERIFY(!tool->isDragging());
    QCOMPARE(f.series->x(0), 2.0);
    QCOMPARE(f.series->y(0), 8.0);
    QTest::mouseMove(f.chart.get(), f.at(7.0, 7.0));
    QTest::mouseRelease(f.chart.get(), Qt::LeftButton, {}, f.at(7.0, 7.0));
    QCOMPARE(f.series->x(0), 2.0);
}

void TestMatrixChart::disabledCaptionLetsDragThrough() {
    ChartFixture f;
    TXLabel* caption = f.chart->quadrantLabel(QStringLiteral("Label15"));
    const QPoint underCaption = caption->geometry().center();
    const QPointF value = f.chart->plotGeometry().pixelToValue(underCaption);
    f.add(QStringLiteral("Hidden"), value.x(), value.y());
    DragPointTool* tool = f.addTool(DragStyle::Both);
    f.chart->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.chart.get()));
    QWindow* window = f.chart->windowHandle();

    QCOMPARE(f.chart->childAt(underCaption), nullptr);
    // Hovering over the caption reaches the chart too: it shows the hand over the bubble beneath.
    QTest::mouseMove(window, underCaption);
    QCOMPARE(f.chart->cursor().shape(), Qt::PointingHandCursor);
    const QPoint target = f.at(6.0, 4.0);
    QTest::mousePress(window, Qt::LeftButton, {}, underCaption);
    QVERIFY(tool->isDragging());
    QTest::mouseMove(window, target);
    QTest::mouseRelease(window, Qt::LeftButton, {}, target);
    QVERIFY(near(f.series->x(0), 6.0));
    QVERIFY(near(f.series->y(0), 4.0));
}

void TestMatrixChart::handCursorOverDraggableBubbles() {
    // Moves without a button reach a widget only through its window.
    ChartFixture f;
    f.add(QStringLiteral("Alpha"), 2.0, 8.0);
    f.chart->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.chart.get()));
    QWindow* window = f.chart->windowHandle();
    QTest::mouseMove(window, f.at(2.0, 8.0));
    QCOMPARE(f.chart->cursor().shape(), Qt::ArrowCursor); // no tool: a derived matrix

    f.addTool(DragStyle::Both);
    QTest::mouseMove(window, f.at(2.0, 8.1));
    QCOMPARE(f.chart->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(window, f.at(7.0, 2.0));
    QCOMPARE(f.chart->cursor().shape(), Qt::ArrowCursor);
}

void TestMatrixChart::toolTipNamesProduct() {
    ChartFixture f;
    f.add(QStringLiteral("Alpha"), 2.0, 8.04);
    f.chart->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.chart.get()));

    const QPoint pos = f.at(2.0, 8.0);
    QHelpEvent help(QEvent::ToolTip, pos, f.chart->mapToGlobal(pos));
    QCoreApplication::sendEvent(f.chart.get(), &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("Alpha\nX: 2.0  Y: 8.0"));

    const QPoint empty = f.at(7.0, 2.0);
    QHelpEvent none(QEvent::ToolTip, empty, f.chart->mapToGlobal(empty));
    QCoreApplication::sendEvent(f.chart.get(), &none);
    QTRY_VERIFY(!QToolTip::isVisible());
}

void TestMatrixChart::ownerSignals() {
    ChartFixture f;
    f.add(QStringLiteral("Alpha"), 2.0, 8.0);
    f.addTool(DragStyle::Both);
    QSignalSpy doubleClicks(f.chart.get(), &MatrixChart::doubleClicked);
    QSignalSpy releases(f.chart.get(), &MatrixChart::mouseReleased);
    QSignalSpy menus(f.chart.get(), &MatrixChart::contextMenuRequested);

    QTest::mouseDClick(f.chart.get(), Qt::LeftButton, {}, f.at(5.0, 5.0));
    QCOMPARE(doubleClicks.count(), 1);
    QCOMPARE(doubleClicks.at(0).at(0).value<MatrixChart*>(), f.chart.get());

    releases.clear();
    QTest::mouseClick(f.chart.get(), Qt::RightButton, Qt::ShiftModifier, f.at(2.0, 8.0));
    QCOMPARE(releases.count(), 1);
    QCOMPARE(releases.at(0).at(1).value<Qt::MouseButton>(), Qt::RightButton);
    QCOMPARE(releases.at(0).at(2).value<Qt::KeyboardModifiers>(), Qt::KeyboardModifiers(Qt::ShiftModifier));

    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(10, 10), QPoint(110, 210));
    QCoreApplication::sendEvent(f.chart.get(), &menu);
    QCOMPARE(menus.count(), 1);
    QCOMPARE(menus.at(0).at(1).toPoint(), QPoint(110, 210));
    QVERIFY(menu.isAccepted());

    // Tools are listed, and a destroyed tool leaves the list.
    QCOMPARE(f.chart->tools().size(), 1);
    QCOMPARE(f.chart->tools().at(0)->parentChart(), f.chart.get());
    delete f.chart->tools().at(0);
    QVERIFY(f.chart->tools().isEmpty());
}

QTEST_MAIN(TestMatrixChart)
#include "tst_matrixchart.moc"
