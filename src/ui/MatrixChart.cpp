// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "ui/MatrixChart.h"

#include "model/CoordTable.h"
#include "ui/DragPointTool.h"
#include "ui/Fonts.h"
#include "ui/XLabel.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <cmath>

namespace korvell {

namespace {

constexpr QMargins chartMargins(5, 5, 20, 5);
constexpr int borderRadius = 30;
constexpr double axisMaximum = 10.0;
constexpr int majorTickLength = 4;
constexpr int labelGap = 2;
constexpr QSize quadrantLabelSize(95, 15);
constexpr int quadrantLabelLeft = 42;
constexpr int quadrantLabelRight = 21; // from the chart's right edge to the label's
constexpr int quadrantLabelTop = 30;
constexpr int quadrantLabelBottom = 40; // from the chart's bottom edge to the label's
// Sprites are worth their memory only for bubbles of usual sizes in a bounded number of looks.
constexpr double largestSpriteRadius = 64.0;
constexpr qsizetype maxSprites = 512;

QFont titleFont() {
    return tahoma(13, true);
}
QFont axisLabelFont() {
    return tahoma(11, false);
}
QFont axisTitleFont() {
    return tahoma(11, true);
}

QColor rgbColor(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb | 0xFF000000u));
}

bool isRightCorner(Corner corner) {
    return corner == Corner::TopRight || corner == Corner::BottomRight;
}

QPen dottedPen(const QColor& color) {
    QPen pen(color, 0);
    pen.setDashPattern({1.0, 1.0});
    return pen;
}

// Long captions (translations, mostly) first shrink a little, then end in an ellipsis, rather than
// being cut off at both ends.
void drawFittedText(QPainter& painter, const QRect& rect, int flags, const QString& text, QFont font) {
    constexpr int smallestPixelSize = 9;
    while (font.pixelSize() > smallestPixelSize && QFontMetrics(font).horizontalAdvance(text) > rect.width()) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    painter.setFont(font);
    painter.drawText(rect, flags, QFontMetrics(font).elidedText(text, Qt::ElideRight, rect.width()));
}

} // namespace

MatrixChart::MatrixChart(const MatrixDef& def, QWidget* parent)
    : QWidget(parent)
    , m_def(def)
    , m_title(QString::fromUtf8(def.title))
    , m_leftAxisTitle(QString::fromUtf8(def.yAxisTitle))
    , m_bottomAxisTitle(QString::fromUtf8(def.xAxisTitle)) {
    setObjectName(QString::fromUtf8(def.chartName));
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    createLabels();
    relayout();
}

MatrixChart::~MatrixChart() = default;

void MatrixChart::setSeries(BubbleSeries* series, const CoordTable* table) {
    if (m_series)
        disconnect(m_series, nullptr, this, nullptr);
    m_series = series;
    m_table = table;
    if (series)
        connect(series, &BubbleSeries::pointsChanged, this, qOverload<>(&QWidget::update));
    update();
}

void MatrixChart::setTitle(const QString& text) {
    if (text == m_title)
        return;
    m_title = text;
    relayout();
}

void MatrixChart::setLeftAxisTitle(const QString& text) {
    if (text == m_leftAxisTitle)
        return;
    m_leftAxisTitle = text;
    relayout();
}

void MatrixChart::setBottomAxisTitle(const QString& text) {
    if (text == m_bottomAxisTitle)
        return;
    m_bottomAxisTitle = text;
    relayout();
}

void MatrixChart::setBorderVisible(bool visible) {
    if (visible == m_borderVisible)
        return;
    m_borderVisible = visible;
    invalidateBackground();
}

void MatrixChart::setLeftMinorGridVisible(bool visible) {
    if (visible == m_leftMinorGrid)
        return;
    m_leftMinorGrid = visible;
    invalidateBackground();
}

void MatrixChart::setBottomMinorGridVisible(bool visible) {
    if (visible == m_bottomMinorGrid)
        return;
    m_bottomMinorGrid = visible;
    invalidateBackground();
}

TXLabel* MatrixChart::quadrantLabel(const QString& name) const {
    for (TXLabel* label : m_labels)
        if (label->objectName() == name)
            return label;
    return nullptr;
}

void MatrixChart::addTool(DragPointTool* tool) {
    if (!m_tools.contains(tool))
        m_tools.append(tool);
    tool->setParentChart(this);
}

QList<DragPointTool*> MatrixChart::tools() const {
    QList<DragPointTool*> result;
    for (const QPointer<DragPointTool>& tool : m_tools)
        if (tool && tool->parentChart() == this)
            result.append(tool);
    return result;
}

int MatrixChart::bubbleAt(const BubbleSeries* series, QPointF pos) const {
    ensureLayout();
    const QRect& plot = m_geometry.plotRect();
    // Bubbles are clipped to the plot: what lies outside it cannot be seen, so cannot be caught.
    if (!series || pos.x() < plot.left() || pos.x() > plot.right() || pos.y() < plot.top() || pos.y() > plot.bottom())
        return -1;
    const double scale = m_geometry.radiusToPixels(1.0);
    for (int i = series->count() - 1; i >= 0; --i) {
        const double x = series->x(i);
        const double y = series->y(i);
        const double r = series->radius(i);
        if (std::isnan(x) || std::isnan(y) || !(r > 0.0))
            continue;
        if (ChartGeometry::hitsCircle(m_geometry.valueToPixel(x, y), r * scale, pos))
            return i;
    }
    return -1;
}

void MatrixChart::createLabels() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    for (int i = 0; i < m_def.labelCount; ++i) {
        const QuadrantLabelDef& def = m_def.labels[static_cast<std::size_t>(i)];
        auto* label = new TXLabel(this);
        label->setObjectName(QString::fromUtf8(def.name));
        label->setAutoSize(false);
        label->setEnabled(false);
        label->setFontColorDisabled(Qt::black);
        label->setTransparent(true);
        label->setFont(font);
        label->setAlignment(isRightCorner(def.corner) ? TextAlignment::RightJustify : TextAlignment::LeftJustify);
        label->resize(quadrantLabelSize);
        label->setCaption(QString::fromUtf8(def.designCaption));
        m_labels.append(label);
    }
}

void MatrixChart::relayout() {
    m_layoutSize = QSize();
    ensureLayout();
    update();
}

void MatrixChart::ensureLayout() const {
    if (m_layoutSize == size())
        return;
    m_layoutSize = size();
    const QFontMetrics labels(axisLabelFont());
    const QFontMetrics axisTitles(axisTitleFont());
    ChartGeometry::Insets insets;
    // Without a title the top label "10" still needs half a line above the plot.
    insets.top = m_title.isEmpty() ? labels.height() / 2 + 1 : QFontMetrics(titleFont()).height() + 4;
    insets.left = (m_leftAxisTitle.isEmpty() ? 0 : axisTitles.height() + labelGap) +
                  labels.horizontalAdvance(QStringLiteral("10")) + labelGap + majorTickLength;
    insets.bottom = (m_bottomAxisTitle.isEmpty() ? 0 : axisTitles.height() + 1) + labels.height() + 1 + majorTickLength;
    const QRect plot = ChartGeometry::layoutPlot(size(), chartMargins, insets);
    if (plot.height() != m_geometry.plotRect().height())
        m_sprites.clear();
    m_geometry = ChartGeometry(plot, m_def.bottomAxis.minimum, axisMaximum, m_def.leftAxis.minimum, axisMaximum);
    m_backgroundValid = false;

    // QWidget has no anchors: the captions keep their distance to their corner's edges here.
    for (int i = 0; i < m_labels.size(); ++i) {
        TXLabel* label = m_labels.at(i);
        const Corner corner = m_def.labels[static_cast<std::size_t>(i)].corner;
        const int x = isRightCorner(corner) ? width() - quadrantLabelRight - label->width() : quadrantLabelLeft;
        const bool top = corner == Corner::TopLeft || corner == Corner::TopRight;
        const int y = top ? quadrantLabelTop : height() - quadrantLabelBottom - label->height();
        label->move(x, y);
    }
}

void MatrixChart::invalidateBackground() {
    m_backgroundValid = false;
    update();
}

QColor MatrixChart::titleColor() const {
    return m_def.titleFont.systemWindow ? palette().color(QPalette::Base) : rgbColor(m_def.titleFont.rgb);
}

void MatrixChart::paintEvent(QPaintEvent*) {
    ensureLayout();
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = size() * dpr;
    if (!m_backgroundValid || m_background.size() != pixels || m_background.devicePixelRatio() != dpr) {
        m_background = QPixmap(pixels);
        m_background.setDevicePixelRatio(dpr);
        m_background.fill(Qt::transparent);
        QPainter painter(&m_background);
        paintBackground(painter);
        paintAxes(painter);
        m_backgroundValid = true;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
    if (m_def.lineChart)
        paintLineSeries(painter);
    else
        paintBubbles(painter);
}

void MatrixChart::paintBackground(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, height());
    const QColor end = rgbColor(m_def.gradient.rgb);
    gradient.setColorAt(0.0, end);
    gradient.setColorAt(0.5, Qt::white);
    gradient.setColorAt(1.0, end);
    if (m_borderVisible) {
        QPainterPath border;
        border.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), borderRadius, borderRadius);
        painter.fillPath(border, gradient);
        painter.strokePath(border, QPen(Qt::black, 1));
    } else {
        painter.fillRect(rect(), gradient);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);

    const QRect& plot = m_geometry.plotRect();
    if (!m_title.isEmpty()) {
        painter.setPen(titleColor());
        const QRect titleRect(QPoint(chartMargins.left(), chartMargins.top()), QPoint(plot.right(), plot.top() - 4));
        drawFittedText(painter, titleRect, Qt::AlignRight | Qt::AlignVCenter, m_title, titleFont());
    }
    painter.fillRect(plot, Qt::white);
}

// Grids, ticks, labels and axis titles. Pens stored with the colour value -1 are drawn black,
// as a Windows pen of that value resolves; so they look like the common black pens.
void MatrixChart::paintAxes(QPainter& painter) const {
    const QRect& plot = m_geometry.plotRect();
    const QPen minorGrid = dottedPen(QColor(0xC0, 0xC0, 0xC0));
    for (int unit = 1; unit < 10; ++unit) {
        if (unit == 5)
            continue;
        if (m_bottomMinorGrid) {
            const int x = qRound(m_geometry.xToPixel(unit));
            painter.setPen(minorGrid);
            painter.drawLine(x, plot.top(), x, plot.bottom());
        }
        if (m_leftMinorGrid) {
            const int y = qRound(m_geometry.yToPixel(unit));
            painter.setPen(minorGrid);
            painter.drawLine(plot.left(), y, plot.right(), y);
        }
    }

    const QFontMetrics labelMetrics(axisLabelFont());
    painter.setFont(axisLabelFont());
    const QPen solid(Qt::black, 0);
    const QPen leftMinorTicks = m_def.leftAxis.minorTicksDotted ? dottedPen(Qt::black) : solid;
    const QPen bottomMinorTicks = m_def.bottomAxis.minorTicksDotted ? dottedPen(Qt::black) : solid;
    for (int unit = 0; unit <= 10; ++unit) {
        const int x = qRound(m_geometry.xToPixel(unit));
        const int y = qRound(m_geometry.yToPixel(unit));
        if (unit % 5 == 0) {
            painter.setPen(solid);
            painter.drawLine(x, plot.top(), x, plot.bottom());
            painter.drawLine(plot.left(), y, plot.right(), y);
            painter.drawLine(x, plot.bottom() + 1, x, plot.bottom() + majorTickLength);
            painter.drawLine(plot.left() - majorTickLength, y, plot.left() - 1, y);
            const QString text = QString::number(unit);
            const int textWidth = labelMetrics.horizontalAdvance(text);
            painter.drawText(
                QRect(x - textWidth, plot.bottom() + majorTickLength + 1, 2 * textWidth, labelMetrics.height()),
                Qt::AlignHCenter | Qt::AlignTop, text);
            const int labelRight = plot.left() - majorTickLength - labelGap;
            painter.drawText(
                QRect(labelRight - textWidth, y - labelMetrics.height() / 2, textWidth, labelMetrics.height()),
                Qt::AlignRight | Qt::AlignVCenter, text);
        } else {
            if (m_def.bottomAxis.minorTickLength > 0) {
                painter.setPen(bottomMinorTicks);
                painter.drawLine(x, plot.bottom() + 1, x, plot.bottom() + m_def.bottomAxis.minorTickLength);
            }
            if (m_def.leftAxis.minorTickLength > 0) {
                painter.setPen(leftMinorTicks);
                painter.drawLine(plot.left() - m_def.leftAxis.minorTickLength, y, plot.left() - 1, y);
            }
        }
    }

    const QFontMetrics titleMetrics(axisTitleFont());
    painter.setPen(Qt::black);
    if (!m_bottomAxisTitle.isEmpty()) {
        const QRect titleRect(plot.left(), plot.bottom() + majorTickLength + 1 + labelMetrics.height() + 1,
                              plot.width(), titleMetrics.height());
        drawFittedText(painter, titleRect, Qt::AlignHCenter | Qt::AlignTop, m_bottomAxisTitle, axisTitleFont());
    }
    if (!m_leftAxisTitle.isEmpty()) {
        painter.save();
        painter.translate(chartMargins.left(), plot.bottom());
        painter.rotate(-90);
        drawFittedText(painter, QRect(0, 0, plot.height(), titleMetrics.height()), Qt::AlignHCenter | Qt::AlignTop,
                       m_leftAxisTitle, axisTitleFont());
        painter.restore();
    }
}

const QImage& MatrixChart::bubbleSprite(std::uint32_t rgb, double radiusPixels, qreal dpr) {
    if (dpr != m_spriteDpr || m_sprites.size() >= maxSprites) {
        m_sprites.clear();
        m_spriteDpr = dpr;
    }
    // Radii are kept to a quarter pixel, which no eye tells from the exact size.
    const quint32 quarters = static_cast<quint32>(std::lround(radiusPixels * 4.0));
    const quint64 key = (quint64(rgb) << 32) | quarters;
    auto it = m_sprites.find(key);
    if (it != m_sprites.end())
        return *it;

    const double radius = quarters / 4.0;
    const int side = static_cast<int>(std::ceil((2.0 * radius + 2.0) * dpr));
    QImage sprite(side, side, QImage::Format_ARGB32_Premultiplied);
    sprite.fill(Qt::transparent);
    sprite.setDevicePixelRatio(dpr);
    QPainter painter(&sprite);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor fill = rgbColor(rgb);
    painter.setPen(QPen(fill.darker(150), 1));
    painter.setBrush(fill);
    const double centre = side / dpr / 2.0;
    painter.drawEllipse(QPointF(centre, centre), radius - 0.5, radius - 0.5);
    painter.end();
    return *m_sprites.insert(key, sprite);
}

void MatrixChart::paintBubbles(QPainter& painter) {
    const BubbleSeries* series = m_series;
    if (!series)
        return;
    const QRect& plot = m_geometry.plotRect();
    painter.setClipRect(plot);
    const double scale = m_geometry.radiusToPixels(1.0);
    const qreal dpr = painter.device()->devicePixelRatioF();
    const int count = series->count();
    for (int i = 0; i < count; ++i) {
        const double x = series->x(i);
        const double y = series->y(i);
        const double radius = series->radius(i) * scale;
        if (std::isnan(x) || std::isnan(y) || !(radius > 0.0))
            continue;
        const QPointF centre = m_geometry.valueToPixel(x, y);
        if (centre.x() + radius < plot.left() || centre.x() - radius > plot.right() ||
            centre.y() + radius < plot.top() || centre.y() - radius > plot.bottom())
            continue;
        if (radius > largestSpriteRadius) {
            const QColor fill = rgbColor(series->color(i));
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(fill.darker(150), 1));
            painter.setBrush(fill);
            painter.drawEllipse(centre, radius - 0.5, radius - 0.5);
            painter.setRenderHint(QPainter::Antialiasing, false);
            continue;
        }
        const QImage& sprite = bubbleSprite(series->color(i), radius, dpr);
        const double half = sprite.width() / dpr / 2.0;
        painter.drawImage(QPointF(centre.x() - half, centre.y() - half), sprite);
    }
}

void MatrixChart::paintLineSeries(QPainter& painter) const {
    const LineSeriesDef& line = nineDimensionSeries();
    QPolygonF points;
    for (std::size_t i = 0; i < line.y.size(); ++i)
        points.append(m_geometry.valueToPixel(static_cast<double>(i), line.y[i]));
    painter.setClipRect(m_geometry.plotRect());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(rgbColor(line.lineColor), line.lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(points);
    painter.setRenderHint(QPainter::Antialiasing, false);

    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(rgbColor(line.seriesColor));
    for (const QPointF& point : points)
        painter.drawRect(QRectF(point.x() - 4, point.y() - 4, 8, 8));

    // Value marks: a framed box above each point on a short arrow line.
    painter.setClipping(false);
    painter.setFont(axisLabelFont());
    const QFontMetrics metrics(axisLabelFont());
    for (std::size_t i = 0; i < line.y.size(); ++i) {
        const QPointF& point = points.at(static_cast<qsizetype>(i));
        const QString text = QString::number(line.y[i]);
        const int width = metrics.horizontalAdvance(text) + 6;
        const int height = metrics.height() + 2;
        const QRect box(qRound(point.x()) - width / 2, qRound(point.y()) - 12 - height, width, height);
        painter.setPen(Qt::black);
        painter.drawLine(QPointF(point.x(), point.y() - 5), QPointF(point.x(), box.bottom()));
        painter.setBrush(QColor(0xFF, 0xFF, 0xE1));
        painter.drawRect(box);
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

void MatrixChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

void MatrixChart::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        invalidateBackground();
}

void MatrixChart::mousePressEvent(QMouseEvent* event) {
    for (DragPointTool* tool : tools())
        if (tool->isActive() && tool->mousePress(event->button(), event->position()))
            break;
    updateCursor(event->position());
}

void MatrixChart::mouseMoveEvent(QMouseEvent* event) {
    // The owner sees the move before any tool moves a point.
    emit mouseMoved(this, event->buttons(), event->modifiers());
    for (DragPointTool* tool : tools())
        tool->mouseMove(event->position());
    updateCursor(event->position());
}

void MatrixChart::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseReleased(this, event->button(), event->modifiers());
    for (DragPointTool* tool : tools())
        tool->mouseRelease(event->button());
    updateCursor(event->position());
}

// The second press of a double click opens the values grid; it does not start a drag.
void MatrixChart::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit doubleClicked(this);
}

void MatrixChart::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        bool cancelled = false;
        for (DragPointTool* tool : tools())
            cancelled = tool->cancelDrag() || cancelled;
        if (cancelled)
            return;
    }
    QWidget::keyPressEvent(event);
}

void MatrixChart::contextMenuEvent(QContextMenuEvent* event) {
    emit contextMenuRequested(this, event->globalPos());
    event->accept();
}

void MatrixChart::updateCursor(QPointF pos) {
    bool hand = false;
    for (DragPointTool* tool : tools())
        if (tool->isActive() && (tool->isDragging() || bubbleAt(tool->series(), pos) >= 0))
            hand = true;
    if (hand == testAttribute(Qt::WA_SetCursor))
        return;
    if (hand)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

QString MatrixChart::toolTipAt(QPointF pos) const {
    const int index = bubbleAt(m_series, pos);
    if (index < 0)
        return {};
    const QString values =
        QStringLiteral("X: %1  Y: %2")
            .arg(QString::number(m_series->x(index), 'f', 1), QString::number(m_series->y(index), 'f', 1));
    if (!m_table || index >= m_table->recordCount())
        return values;
    return m_table->value(index, F_product).toString() + QLatin1Char('\n') + values;
}

bool MatrixChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = toolTipAt(help->pos());
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return QWidget::event(event);
}

} // namespace korvell
