// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "HintLabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace korvell {

QSize HintLabel::minimumSizeHint() const {
    return {0, QLabel::minimumSizeHint().height()};
}

QString HintLabel::shownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

bool HintLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (shownText() != text())
            QToolTip::showText(help->globalPos(), text().trimmed(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void HintLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownText());
}

} // namespace korvell
