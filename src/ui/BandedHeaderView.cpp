// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "BandedHeaderView.h"

#include "common/Error.h"

#include <QHelpEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <utility>

namespace korvell {

namespace {

constexpr int kTextPadding = 3;

// Word-wrapped text of at most maxLines lines; what does not fit ends in an ellipsis.
QString fitText(const QString& text, const QFontMetrics& metrics, int width, int maxLines) {
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList lines;
    QString line;
    int next = 0;
    for (; next < words.size(); ++next) {
        const QString candidate = line.isEmpty() ? words[next] : line + QLatin1Char(' ') + words[next];
        if (line.isEmpty() || metrics.horizontalAdvance(candidate) <= width) {
            line = candidate;
            continue;
        }
        if (lines.size() + 1 == maxLines)
            break;
        lines << metrics.elidedText(line, Qt::ElideRight, width);
        line = words[next];
    }
    if (next < words.size())
        line += QLatin1Char(' ') + words.mid(next).join(QLatin1Char(' '));
    lines << metrics.elidedText(line, Qt::ElideRight, width);
    return lines.join(QLatin1Char('\n'));
}

template <typename T> T at(const std::vector<T>& values, int index, T fallback) {
    return index >= 0 && index < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(index)] : fallback;
}

template <typename T> void put(std::vector<T>& values, int index, T value, T fallback) {
    if (index < 0)
        return;
    if (index >= static_cast<int>(values.size()))
        values.resize(static_cast<std::size_t>(index) + 1, fallback);
    values[static_cast<std::size_t>(index)] = std::move(value);
}

} // namespace

BandedHeaderView::BandedHeaderView(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent) {
    setDefaultAlignment(Qt::AlignCenter);
    setHighlightSections(false);
}

void BandedHeaderView::setBands(std::vector<Band> bands) {
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const int parentBand = bands[i].parent;
        // Parents come first, so the tree has no cycles.
        if (parentBand >= static_cast<int>(i))
            throw Error(QStringLiteral("Band %1 names band %2 as its parent").arg(i).arg(parentBand));
    }
    m_bands = std::move(bands);
    updateGeometry();
    viewport()->update();
}

QString BandedHeaderView::bandCaption(int band) const {
    return band >= 0 && band < bandCount() ? m_bands[static_cast<std::size_t>(band)].caption : QString();
}

void BandedHeaderView::setBandCaption(int band, const QString& caption) {
    if (band < 0 || band >= bandCount())
        return;
    m_bands[static_cast<std::size_t>(band)].caption = caption;
    viewport()->update();
}

void BandedHeaderView::setColumnBand(int logicalIndex, int band) {
    put(m_columnBands, logicalIndex, band, -1);
    viewport()->update();
}

int BandedHeaderView::columnBand(int logicalIndex) const {
    return at(m_columnBands, logicalIndex, -1);
}

void BandedHeaderView::setColumnLines(int logicalIndex, int lines) {
    put(m_columnLines, logicalIndex, std::max(1, lines), 1);
    updateGeometry();
    viewport()->update();
}

int BandedHeaderView::depth(int band) const {
    int levels = 0;
    for (int b = m_bands[static_cast<std::size_t>(band)].parent; b >= 0;
         b = m_bands[static_cast<std::size_t>(b)].parent)
        ++levels;
    return levels;
}

bool BandedHeaderView::hasChildBands(int band) const {
    return std::any_of(m_bands.begin(), m_bands.end(), [band](const Band& b) { return b.parent == band; });
}

bool BandedHeaderView::isInside(int band, int ancestor) const {
    for (int b = band; b >= 0; b = m_bands[static_cast<std::size_t>(b)].parent) {
        if (b == ancestor)
            return true;
    }
    return false;
}

int BandedHeaderView::bandLevels() const {
    int levels = 0;
    for (int b = 0; b < bandCount(); ++b)
        levels = std::max(levels, depth(b) + 1);
    return levels;
}

void BandedHeaderView::setBandLevelLines(int level, int lines) {
    put(m_levelLines, level, std::max(1, lines), 1);
    updateGeometry();
    viewport()->update();
}

int BandedHeaderView::bandLevelLines(int level) const {
    return at(m_levelLines, level, 1);
}

int BandedHeaderView::bandRowTop(int level) const {
    int top = 0;
    for (int l = 0; l < level; ++l)
        top += bandRowHeight(l);
    return top;
}

int BandedHeaderView::bandRowHeight(int level) const {
    return bandLevelLines(level) * fontMetrics().lineSpacing() + 2 * kTextPadding;
}

int BandedHeaderView::bandAreaHeight() const {
    return bandRowTop(bandLevels());
}

int BandedHeaderView::captionHeight() const {
    int lines = 1;
    for (int column = 0; column < count(); ++column) {
        if (!isSectionHidden(column))
            lines = std::max(lines, at(m_columnLines, column, 1));
    }
    return lines * fontMetrics().lineSpacing() + 2 * kTextPadding;
}

bool BandedHeaderView::isBandShown(int band) const {
    return !bandRect(band).isEmpty();
}

QRect BandedHeaderView::bandRect(int band) const {
    if (band < 0 || band >= bandCount())
        return {};
    for (int b = band; b >= 0; b = m_bands[static_cast<std::size_t>(b)].parent) {
        if (!m_bands[static_cast<std::size_t>(b)].visible)
            return {};
    }
    int left = 0;
    int right = -1;
    bool any = false;
    for (int column = 0; column < count(); ++column) {
        if (isSectionHidden(column) || !isInside(columnBand(column), band))
            continue;
        const int x = sectionViewportPosition(column);
        const int w = sectionSize(column);
        if (w <= 0)
            continue;
        left = any ? std::min(left, x) : x;
        right = any ? std::max(right, x + w - 1) : x + w - 1;
        any = true;
    }
    if (!any)
        return {};
    const int level = depth(band);
    const int top = bandRowTop(level);
    // A band without child bands reaches down to the column captions.
    const int bottom = hasChildBands(band) ? top + bandRowHeight(level) - 1 : bandAreaHeight() - 1;
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QSize BandedHeaderView::sectionSizeFromContents(int logicalIndex) const {
    const QSize base = QHeaderView::sectionSizeFromContents(logicalIndex);
    return {base.width(), bandAreaHeight() + captionHeight()};
}

QSize BandedHeaderView::sizeHint() const {
    return {QHeaderView::sizeHint().width(), bandAreaHeight() + captionHeight()};
}

void BandedHeaderView::paintCell(QPainter* painter, const QRect& cell, const QString& text, bool band) const {
    const QColor base = palette().color(QPalette::Button);
    QLinearGradient shade(cell.topLeft(), cell.bottomLeft());
    // Bands a shade darker than the captions so the two levels read apart.
    shade.setColorAt(0, base.lighter(band ? 104 : 112));
    shade.setColorAt(1, base.darker(band ? 112 : 104));
    painter->fillRect(cell, shade);
    painter->setPen(palette().color(QPalette::Mid));
    painter->drawLine(cell.topRight(), cell.bottomRight());
    painter->drawLine(cell.bottomLeft(), cell.bottomRight());
    painter->setPen(palette().color(QPalette::ButtonText));
    const QRect area = cell.adjusted(kTextPadding, kTextPadding, -kTextPadding, -kTextPadding);
    const QFontMetrics metrics = fontMetrics();
    const int lines = std::max(1, area.height() / metrics.lineSpacing());
    painter->drawText(area, Qt::AlignCenter, fitText(text, metrics, area.width(), lines));
}

QString BandedHeaderView::textAt(const QPoint& pos) const {
    const int column = logicalIndexAt(pos);
    if (column < 0)
        return {};
    if (pos.y() >= bandAreaHeight())
        return model() ? model()->headerData(column, orientation()).toString() : QString();
    for (int b = columnBand(column); b >= 0; b = m_bands[static_cast<std::size_t>(b)].parent) {
        if (bandRect(b).contains(pos))
            return bandCaption(b);
    }
    return {};
}

bool BandedHeaderView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // Narrow columns cut captions short: the tooltip gives the whole text.
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = textAt(help->pos()).trimmed();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QHeaderView::viewportEvent(event);
}

void BandedHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid())
        return;
    painter->save();
    painter->setClipRect(rect);
    const int bandArea = bandAreaHeight();
    for (int b = columnBand(logicalIndex); b >= 0; b = m_bands[static_cast<std::size_t>(b)].parent) {
        const QRect area = bandRect(b);
        // Each section paints the whole band under its clip, so a caption spans its columns.
        if (!area.isEmpty())
            paintCell(painter, QRect(area.left(), area.top(), area.width(), area.height()), bandCaption(b), true);
    }
    if (columnBand(logicalIndex) < 0 && bandArea > 0)
        paintCell(painter, QRect(rect.left(), rect.top(), rect.width(), bandArea), QString(), true);
    const QRect caption(rect.left(), rect.top() + bandArea, rect.width(), rect.height() - bandArea);
    paintCell(painter, caption, model() ? model()->headerData(logicalIndex, orientation()).toString() : QString(),
              false);
    painter->restore();
}

} // namespace korvell
