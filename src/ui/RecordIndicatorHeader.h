// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QHeaderView>

namespace korvell {

/// Vertical header that marks the current row: an arrow while browsing, a pencil while editing.
class RecordIndicatorHeader : public QHeaderView {
    Q_OBJECT
public:
    enum class Marker { Browse, Edit, Insert };

    explicit RecordIndicatorHeader(QWidget* parent = nullptr);

    Marker marker() const { return m_marker; }
    void setMarker(Marker marker);
    /// Row that carries the marker (the view's current row), -1 for none.
    int markedRow() const;

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void currentChanged(const QModelIndex& current, const QModelIndex& old) override;

private:
    Marker m_marker = Marker::Browse;
};

} // namespace korvell
