// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QStyledItemDelegate>

namespace korvell {

/// Read-only colour column: a swatch of a Windows colour value (0x00BBGGRR), nothing for an empty value.
class ColorSwatchDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    /// Colour of a Windows colour value; invalid for an empty value.
    static QColor colorOf(const QVariant& value);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace korvell
