// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDoubleSpinBox>
#include <QVariant>

namespace korvell {

/**
 * Spin box that lets a number beyond its limits be typed and brings it to the nearest limit when
 * the text is taken (typing 12 where 10 is the maximum gives 10), instead of refusing the keystroke.
 */
class ScoreSpinBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit ScoreSpinBox(QWidget* parent = nullptr);

    /// Shows a value (an empty one leaves the box empty) and remembers it as the unchanged state.
    void load(const QVariant& value);
    /// Whether the text differs from what load() showed.
    bool isChanged() const { return text() != m_loadedText; }

    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    void stepBy(int steps) override;

signals:
    /// The user changed the value: typed, stepped or cleared it.
    void edited();

private:
    bool parse(const QString& input, double* value) const;

    QString m_loadedText;
};

} // namespace korvell
