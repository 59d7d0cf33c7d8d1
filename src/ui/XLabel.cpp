// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "ui/XLabel.h"

#include <QEnterEvent>
#include <QImage>
#include <QKeySequence>
#include <QPainter>
#include <QShortcutEvent>

namespace korvell {

namespace {

int qtTextFlags(unsigned flags) {
    int qtFlags = Qt::AlignTop;
    switch (flags & (TCustomXLabel::DT_CENTER | TCustomXLabel::DT_RIGHT)) {
    case TCustomXLabel::DT_CENTER:
        qtFlags |= Qt::AlignHCenter;
        break;
    case TCustomXLabel::DT_RIGHT:
        qtFlags |= Qt::AlignRight;
        break;
    default:
        qtFlags |= Qt::AlignLeft;
        break;
    }
    if (flags & TCustomXLabel::DT_WORDBREAK)
        qtFlags |= Qt::TextWordWrap;
    if (flags & TCustomXLabel::DT_EXPANDTABS)
        qtFlags |= Qt::TextExpandTabs;
    if (!(flags & TCustomXLabel::DT_NOPREFIX))
        qtFlags |= Qt::TextShowMnemonic;
    return qtFlags;
}

} // namespace

TCustomXLabel::TCustomXLabel(QWidget* parent)
    : QWidget(parent) {
    resize(65, 17);
}

TCustomXLabel::~TCustomXLabel() = default;

QString TCustomXLabel::GetCaptionText() const {
    return m_caption;
}

void TCustomXLabel::DrawCaption(QPainter& canvas, QRect& rect, unsigned flags) {
    QString text = GetCaptionText();
    const bool measuring = flags & DT_CALCRECT;
    // An empty label still measures one line.
    if (measuring && (text.isEmpty() || (m_showAccelChar && text == QLatin1String("&"))))
        text += QLatin1Char(' ');
    if (!m_showAccelChar)
        flags |= DT_NOPREFIX;
    canvas.setLayoutDirection(layoutDirection());
    canvas.setFont(font());
    if (isEnabled()) {
        canvas.setPen(palette().color(QPalette::WindowText));
    } else {
        // One plain pass in the label's own colour; the caller sees the moved rectangle.
        rect.translate(1, 1);
        canvas.setPen(m_fontColorDisabled);
    }
    const int qtFlags = qtTextFlags(flags);
    if (measuring) {
        // DrawText's DT_CALCRECT keeps the top-left corner whatever the alignment.
        const int measureFlags = (qtFlags & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft;
        rect.setSize(canvas.boundingRect(rect, measureFlags, text).size());
    } else {
        canvas.drawText(rect, qtFlags, text);
    }
}

void TCustomXLabel::FitBoundsToCaption() {
    if (!m_autoSize)
        return;
    QRect rect(QPoint(0, 0), size());
    {
        QImage screen(1, 1, QImage::Format_ARGB32_Premultiplied);
        QPainter canvas(&screen);
        DrawCaption(canvas, rect, DT_EXPANDTABS | DT_CALCRECT | (m_wordWrap ? DT_WORDBREAK : 0));
    }
    TextAlignment alignment = m_alignment;
    if (layoutDirection() == Qt::RightToLeft && alignment != TextAlignment::Center)
        alignment = alignment == TextAlignment::LeftJustify ? TextAlignment::RightJustify : TextAlignment::LeftJustify;
    // Windows rectangles are right- and bottom-exclusive: the edges are the new width and height.
    const int right = rect.x() + rect.width();
    const int bottom = rect.y() + rect.height();
    int x = this->x();
    if (alignment == TextAlignment::RightJustify)
        x += width() - right;
    setGeometry(x, y(), right, bottom);
}

void TCustomXLabel::setCaption(const QString& caption) {
    if (caption == m_caption)
        return;
    m_caption = caption;
    updateShortcut();
    update();
    FitBoundsToCaption();
}

QColor TCustomXLabel::color() const {
    return m_color.isValid() ? m_color : palette().color(QPalette::Window);
}

void TCustomXLabel::setColor(const QColor& color) {
    m_color = color;
    update();
}

void TCustomXLabel::setFocusControl(QWidget* control) {
    m_focusControl = control;
}

void TCustomXLabel::setAlignment(TextAlignment alignment) {
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    update();
}

void TCustomXLabel::setAutoSize(bool autoSize) {
    if (autoSize == m_autoSize)
        return;
    m_autoSize = autoSize;
    FitBoundsToCaption();
}

void TCustomXLabel::setLayout(TextLayout layout) {
    if (layout == m_layout)
        return;
    m_layout = layout;
    update();
}

void TCustomXLabel::setWordWrap(bool wordWrap) {
    if (wordWrap == m_wordWrap)
        return;
    m_wordWrap = wordWrap;
    FitBoundsToCaption();
    update();
}

void TCustomXLabel::setShowAccelChar(bool show) {
    if (show == m_showAccelChar)
        return;
    m_showAccelChar = show;
    updateShortcut();
    update();
}

void TCustomXLabel::setTransparent(bool transparent) {
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    update();
}

void TCustomXLabel::updateShortcut() {
    if (m_shortcutId != 0) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    if (!m_showAccelChar)
        return;
    const QKeySequence key = QKeySequence::mnemonic(GetCaptionText());
    if (!key.isEmpty())
        m_shortcutId = grabShortcut(key);
}

bool TCustomXLabel::focusThroughAccelerator(const QKeySequence& key) {
    QWidget* control = m_focusControl;
    if (!control || !isEnabled() || !m_showAccelChar || key != QKeySequence::mnemonic(GetCaptionText()))
        return false;
    if (!control->isEnabled() || !control->isVisible() || control->focusPolicy() == Qt::NoFocus)
        return false;
    control->setFocus(Qt::ShortcutFocusReason);
    return true;
}

bool TCustomXLabel::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut) {
        const bool handled = focusThroughAccelerator(static_cast<QShortcutEvent*>(event)->key());
        event->setAccepted(handled);
        return handled;
    }
    return QWidget::event(event);
}

void TCustomXLabel::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    if (!m_transparent)
        canvas.fillRect(rect(), color());
    canvas.setBrush(Qt::NoBrush);

    QRect rect = this->rect();
    unsigned flags = DT_EXPANDTABS | (m_wordWrap ? DT_WORDBREAK : 0);
    switch (m_alignment) {
    case TextAlignment::LeftJustify:
        flags |= DT_LEFT;
        break;
    case TextAlignment::RightJustify:
        flags |= DT_RIGHT;
        break;
    case TextAlignment::Center:
        flags |= DT_CENTER;
        break;
    }
    if (m_layout != TextLayout::Top) {
        QRect measured = rect;
        DrawCaption(canvas, measured, flags | DT_CALCRECT);
        const int measuredBottom = measured.y() + measured.height();
        // Integer division truncates toward zero, as the original layout did.
        const int offset = m_layout == TextLayout::Bottom ? height() - measuredBottom : (height() - measuredBottom) / 2;
        rect.translate(0, offset);
    }
    DrawCaption(canvas, rect, flags);
}

void TCustomXLabel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
        FitBoundsToCaption();
        break;
    case QEvent::EnabledChange:
        // A disabled label lets the mouse through to the widget beneath.
        setAttribute(Qt::WA_TransparentForMouseEvents, !isEnabled());
        break;
    default:
        break;
    }
}

void TCustomXLabel::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    emit OnMouseEnter(this);
}

void TCustomXLabel::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit OnMouseLeave(this);
}

} // namespace korvell
