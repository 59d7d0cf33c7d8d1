// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "NavigatorBar.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace korvell {

namespace {

constexpr int kIconSize = 16;

struct ButtonInfo {
    const char* name;
    const char* hint;
};

constexpr std::array<ButtonInfo, NavigatorBar::ButtonCount> kButtons{{
    {"navFirst", "First record"},
    {"navPrior", "Previous record"},
    {"navNext", "Next record"},
    {"navLast", "Last record"},
    {"navInsert", "Insert record (Ins)"},
    {"navDelete", "Delete record"},
    {"navEdit", "Edit record"},
    {"navPost", "Post edit"},
    {"navCancel", "Cancel edit (Esc)"},
    {"navRefresh", "Refresh"},
}};

QPainterPath triangle(bool pointsRight, qreal left, qreal width) {
    QPainterPath path;
    const qreal tip = pointsRight ? left + width : left;
    const qreal back = pointsRight ? left : left + width;
    path.moveTo(back, 3.5);
    path.lineTo(tip, 8.0);
    path.lineTo(back, 12.5);
    path.closeSubpath();
    return path;
}

QIcon drawIcon(NavigatorBar::Button which, const QColor& ink) {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen line(ink, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (which) {
    case NavigatorBar::First:
        p.fillRect(QRectF(3.0, 3.5, 2.0, 9.0), ink);
        p.fillPath(triangle(false, 6.0, 7.0), ink);
        break;
    case NavigatorBar::Prior:
        p.fillPath(triangle(false, 4.5, 7.0), ink);
        break;
    case NavigatorBar::Next:
        p.fillPath(triangle(true, 4.5, 7.0), ink);
        break;
    case NavigatorBar::Last:
        p.fillPath(triangle(true, 3.0, 7.0), ink);
        p.fillRect(QRectF(11.0, 3.5, 2.0, 9.0), ink);
        break;
    case NavigatorBar::Insert:
        p.setPen(line);
        p.drawLine(QPointF(8, 3), QPointF(8, 13));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
        break;
    case NavigatorBar::Delete:
        p.setPen(line);
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
        break;
    case NavigatorBar::Edit:
        p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(4.5, 11.5), QPointF(11.5, 4.5));
        p.setPen(QPen(ink, 1.0));
        p.drawLine(QPointF(3, 13), QPointF(5, 13));
        break;
    case NavigatorBar::Post:
        p.setPen(line);
        p.drawPolyline(QPolygonF({QPointF(3.5, 8.5), QPointF(6.5, 11.5), QPointF(12.5, 4.5)}));
        break;
    case NavigatorBar::Cancel:
        p.setPen(line);
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case NavigatorBar::Refresh: {
        p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(QRectF(3.5, 3.5, 9.0, 9.0), 100 * 16, 290 * 16);
        QPainterPath head;
        head.moveTo(7.0, 1.5);
        head.lineTo(10.5, 3.8);
        head.lineTo(7.0, 6.1);
        head.closeSubpath();
        p.fillPath(head, ink);
        break;
    }
    case NavigatorBar::ButtonCount:
        break;
    }
    return QIcon(pixmap);
}

} // namespace

NavigatorBar::NavigatorBar(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("navigator"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);
    const QColor ink = palette().color(QPalette::ButtonText);
    for (int i = 0; i < ButtonCount; ++i) {
        const auto which = static_cast<Button>(i);
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(kButtons[static_cast<std::size_t>(i)].name));
        button->setToolTip(QLatin1String(kButtons[static_cast<std::size_t>(i)].hint));
        button->setIcon(drawIcon(which, ink));
        button->setIconSize(QSize(kIconSize, kIconSize));
        button->setAutoRaise(true);
        // The grid keeps the keyboard focus while its navigator is clicked.
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, which] { emit clicked(which); });
        m_buttons[static_cast<std::size_t>(i)] = button;
        layout->addWidget(button);
        // Groups as the eye reads them: moving, changing the set, editing, reloading.
        if (which == Last || which == Delete || which == Cancel)
            layout->addSpacing(6);
    }
    layout->addStretch(1);
}

void NavigatorBar::setButtonEnabled(Button which, bool enabled) {
    button(which)->setEnabled(enabled);
}

} // namespace korvell
