// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QStyledItemDelegate>

namespace korvell {

/**
 * Delegate of the data grids: numbers shown with at least one decimal, and Enter in an editor
 * committing it and moving on to the next cell as Tab does.
 */
class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    /// maxLength limits a text editor (0: no limit).
    explicit CellDelegate(int maxLength = 0, QObject* parent = nullptr);

    /// Shortest text that shows the value, but never fewer than one decimal (5 reads "5.0").
    static QString formatNumber(double value, const QLocale& locale);

    QString displayText(const QVariant& value, const QLocale& locale) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

signals:
    /// The user changed the content of an editor for the first time.
    void editorModified(const QModelIndex& index) const;

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;
    /// Reports the first change the user makes in `editor` through editorModified().
    void watchEditor(QWidget* editor, const QModelIndex& index) const;

private:
    int m_maxLength;
};

} // namespace korvell
