// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "CellDelegate.h"

namespace korvell {

/// Number columns edited with a spin box of given limits and step; values typed beyond a limit land on it.
class ScoreSpinDelegate : public CellDelegate {
    Q_OBJECT
public:
    struct Limits {
        double minimum;
        double maximum;
        double step;
        int decimals;
    };

    /// Scores of the matrices: 0 to 10, step 0.1.
    static constexpr Limits scoreLimits() { return {0.0, 10.0, 0.1, 1}; }
    /// Bubble radius: 0 to 3, step 0.1.
    static constexpr Limits radiusLimits() { return {0.0, 3.0, 0.1, 1}; }
    /// No limit of its own (the editor's defaults): step 1.
    static constexpr Limits unlimited() { return {-999999.0, 999999.0, 1.0, 1}; }

    explicit ScoreSpinDelegate(Limits limits, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    Limits m_limits;
};

} // namespace korvell
