// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "CellDelegate.h"

#include "ScoreSpinBox.h"

#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QLineEdit>

#include <cmath>

namespace korvell {

CellDelegate::CellDelegate(int maxLength, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_maxLength(maxLength) {}

QString CellDelegate::formatNumber(double value, const QLocale& locale) {
    if (std::abs(std::round(value * 10.0) / 10.0 - value) < 1e-9)
        return locale.toString(value, 'f', 1);
    return locale.toString(value, 'g', QLocale::FloatingPointShortest);
}

QString CellDelegate::displayText(const QVariant& value, const QLocale& locale) const {
    if (value.typeId() == QMetaType::Double)
        return formatNumber(value.toDouble(), locale);
    return QStyledItemDelegate::displayText(value, locale);
}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor); line && m_maxLength > 0)
        line->setMaxLength(m_maxLength);
    watchEditor(editor, index);
    return editor;
}

void CellDelegate::watchEditor(QWidget* editor, const QModelIndex& index) const {
    const QPersistentModelIndex target(index);
    const auto modified = [this, target] {
        if (target.isValid())
            emit editorModified(target);
    };
    if (auto* spin = qobject_cast<ScoreSpinBox*>(editor))
        connect(spin, &ScoreSpinBox::edited, this, modified, Qt::SingleShotConnection);
    else if (auto* line = qobject_cast<QLineEdit*>(editor))
        connect(line, &QLineEdit::textEdited, this, modified, Qt::SingleShotConnection);
}

bool CellDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & ~Qt::KeypadModifier)) {
            // The spin box clamps what was typed before the value is read.
            if (auto* spin = qobject_cast<QAbstractSpinBox*>(editor))
                spin->interpretText();
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::EditNextItem);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace korvell
