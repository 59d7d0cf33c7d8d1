// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "ScoreSpinBox.h"

#include <QLineEdit>

#include <algorithm>

namespace korvell {

ScoreSpinBox::ScoreSpinBox(QWidget* parent)
    : QDoubleSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    connect(lineEdit(), &QLineEdit::textEdited, this, &ScoreSpinBox::edited);
}

void ScoreSpinBox::stepBy(int steps) {
    const double before = value();
    QDoubleSpinBox::stepBy(steps);
    if (value() != before)
        emit edited();
}

void ScoreSpinBox::load(const QVariant& value) {
    if (value.isValid() && !value.isNull())
        setValue(value.toDouble());
    else
        clear();
    m_loadedText = text();
}

bool ScoreSpinBox::parse(const QString& input, double* value) const {
    QString text = input.trimmed();
    if (!prefix().isEmpty() && text.startsWith(prefix()))
        text.remove(0, prefix().size());
    if (!suffix().isEmpty() && text.endsWith(suffix()))
        text.chop(suffix().size());
    bool ok = false;
    *value = locale().toDouble(text.trimmed(), &ok);
    return ok;
}

QValidator::State ScoreSpinBox::validate(QString& input, int& pos) const {
    const QValidator::State state = QDoubleSpinBox::validate(input, pos);
    double value = 0;
    if (state == QValidator::Invalid && parse(input, &value))
        return QValidator::Intermediate;
    return state;
}

void ScoreSpinBox::fixup(QString& input) const {
    double value = 0;
    if (parse(input, &value)) {
        input = textFromValue(std::clamp(value, minimum(), maximum()));
        return;
    }
    QDoubleSpinBox::fixup(input);
}

} // namespace korvell
