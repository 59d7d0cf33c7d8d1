// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "ColorSwatchDelegate.h"

#include <QApplication>
#include <QPainter>

namespace korvell {

QColor ColorSwatchDelegate::colorOf(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    bool ok = false;
    const auto bgr = static_cast<quint32>(value.toLongLong(&ok));
    if (!ok)
        return {};
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

void ColorSwatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QColor color = colorOf(index.data(Qt::DisplayRole));
    if (!color.isValid())
        return;
    const int inset = 4;
    const QRect swatch = option.rect.adjusted(inset, inset, -inset - 1, -inset - 1);
    if (!swatch.isValid())
        return;
    painter->save();
    painter->setPen(option.palette.color(QPalette::Dark));
    painter->setBrush(color);
    painter->drawRect(swatch);
    painter->restore();
}

QWidget* ColorSwatchDelegate::createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const {
    return nullptr;
}

} // namespace korvell
