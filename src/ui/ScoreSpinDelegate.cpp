// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "ScoreSpinDelegate.h"

#include "ScoreSpinBox.h"

namespace korvell {

ScoreSpinDelegate::ScoreSpinDelegate(Limits limits, QObject* parent)
    : CellDelegate(0, parent)
    , m_limits(limits) {}

QWidget* ScoreSpinDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
    auto* spin = new ScoreSpinBox(parent);
    spin->setFrame(false);
    // Columns are narrow; arrow keys, Page Up/Down and the wheel still step.
    spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
    spin->setAlignment(Qt::AlignCenter);
    spin->setDecimals(m_limits.decimals);
    spin->setRange(m_limits.minimum, m_limits.maximum);
    spin->setSingleStep(m_limits.step);
    watchEditor(spin, index);
    return spin;
}

void ScoreSpinDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    static_cast<ScoreSpinBox*>(editor)->load(index.data(Qt::EditRole));
}

void ScoreSpinDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    auto* spin = static_cast<ScoreSpinBox*>(editor);
    // An editor opened and left alone writes nothing, so a value it cannot show exactly stays as it was.
    if (!spin->isChanged())
        return;
    if (spin->cleanText().trimmed().isEmpty()) {
        model->setData(index, QVariant(), Qt::EditRole);
        return;
    }
    spin->interpretText();
    model->setData(index, spin->value(), Qt::EditRole);
}

} // namespace korvell
