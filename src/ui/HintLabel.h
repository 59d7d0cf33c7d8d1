// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

namespace korvell {

/// A one-line label that ends its text with an ellipsis when the text does not fit, and then
/// shows the whole text as its tooltip; text() stays the whole text.
class HintLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString shownText() const;
};

} // namespace korvell
