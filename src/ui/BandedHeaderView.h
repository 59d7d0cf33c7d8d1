// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QHeaderView>
#include <QString>

#include <vector>

namespace korvell {

/**
 * Horizontal header that paints rows of bands above the column captions. Bands form a tree
 * (a band names its parent); each column belongs to one band, and a band spans the visible
 * columns beneath it, so the view's column order must keep a band's columns together.
 * A band is shown only when it, its ancestors and at least one of its columns are visible.
 */
class BandedHeaderView : public QHeaderView {
    Q_OBJECT
public:
    struct Band {
        QString caption;
        int parent = -1;
        bool visible = true;
    };

    explicit BandedHeaderView(QWidget* parent = nullptr);

    void setBands(std::vector<Band> bands);
    int bandCount() const { return static_cast<int>(m_bands.size()); }
    QString bandCaption(int band) const;
    void setBandCaption(int band, const QString& caption);
    bool isBandShown(int band) const;
    /// Area of a band in viewport coordinates; empty when the band is not shown.
    QRect bandRect(int band) const;

    void setColumnBand(int logicalIndex, int band);
    int columnBand(int logicalIndex) const;
    /// Height of a column caption in text lines (1 unless set).
    void setColumnLines(int logicalIndex, int lines);

    /// Height of the band row at `level` (0: top-level bands) in text lines (1 unless set).
    void setBandLevelLines(int level, int lines);
    int bandLevelLines(int level) const;
    /// Caption under a viewport point: a band's or a column's; empty elsewhere.
    QString textAt(const QPoint& pos) const;

    /// Number of band rows (the depth of the band tree).
    int bandLevels() const;
    int bandAreaHeight() const;

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;
    bool viewportEvent(QEvent* event) override;

private:
    int depth(int band) const;
    bool hasChildBands(int band) const;
    bool isInside(int band, int ancestor) const;
    int bandRowTop(int level) const;
    int bandRowHeight(int level) const;
    int captionHeight() const;
    void paintCell(QPainter* painter, const QRect& cell, const QString& text, bool band) const;

    std::vector<Band> m_bands;
    std::vector<int> m_columnBands;
    std::vector<int> m_columnLines;
    std::vector<int> m_levelLines;
};

} // namespace korvell
