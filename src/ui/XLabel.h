// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>

class QPainter;

namespace korvell {

enum class TextAlignment : std::uint8_t { LeftJustify, RightJustify, Center };
enum class TextLayout : std::uint8_t { Top, Center, Bottom };

/**
 * A text label whose disabled look is one plain drawing of the caption in FontColorDisabled()
 * (instead of the greyed, embossed look), and which lets every mouse event through to the
 * widget beneath while it is disabled. Its layout works on Windows DrawText flags, so that
 * measuring and drawing keep the offsets of the original control.
 */
class TCustomXLabel : public QWidget {
    Q_OBJECT
public:
    // Windows DrawText flags, mapped onto Qt text flags by DrawCaption().
    static constexpr unsigned DT_LEFT = 0x0;
    static constexpr unsigned DT_CENTER = 0x1;
    static constexpr unsigned DT_RIGHT = 0x2;
    static constexpr unsigned DT_WORDBREAK = 0x10;
    static constexpr unsigned DT_EXPANDTABS = 0x40;
    static constexpr unsigned DT_CALCRECT = 0x400;
    static constexpr unsigned DT_NOPREFIX = 0x800;

    explicit TCustomXLabel(QWidget* parent = nullptr);
    ~TCustomXLabel() override;

    /// The text to draw: the caption unchanged.
    virtual QString GetCaptionText() const;
    /**
     * Draws the caption in rect with the given DrawText flags, or with DT_CALCRECT only measures
     * it: rect keeps its top-left corner and takes the text's size. A disabled label moves rect
     * one pixel right and down first and leaves it moved.
     */
    virtual void DrawCaption(QPainter& canvas, QRect& rect, unsigned flags);
    /// With AutoSize() on, resizes the label to its caption; a right-justified label keeps its right edge.
    virtual void FitBoundsToCaption();

    using QWidget::setLayout;

signals:
    void OnMouseEnter(korvell::TCustomXLabel* sender);
    void OnMouseLeave(korvell::TCustomXLabel* sender);

protected:
    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    /// Background of an opaque label; the palette's window colour until set.
    QColor color() const;
    void setColor(const QColor& color);

    QWidget* FocusControl() const { return m_focusControl; }
    /// Not owned; the label forgets it when it is destroyed.
    void setFocusControl(QWidget* control);
    TextAlignment Alignment() const { return m_alignment; }
    void setAlignment(TextAlignment alignment);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);
    TextLayout Layout() const { return m_layout; }
    void setLayout(TextLayout layout);
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wordWrap);
    bool ShowAccelChar() const { return m_showAccelChar; }
    void setShowAccelChar(bool show);
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent);
    QColor FontColorDisabled() const { return m_fontColorDisabled; }
    /// Stored only: the label shows the new colour at its next repaint.
    void setFontColorDisabled(const QColor& color) { m_fontColorDisabled = color; }

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void updateShortcut();
    bool focusThroughAccelerator(const QKeySequence& key);

    QPointer<QWidget> m_focusControl;
    TextAlignment m_alignment = TextAlignment::LeftJustify;
    bool m_autoSize = true;
    TextLayout m_layout = TextLayout::Top;
    bool m_wordWrap = false;
    bool m_showAccelChar = true;
    QColor m_fontColorDisabled{Qt::black};
    bool m_transparent = false;
    QString m_caption;
    QColor m_color;
    int m_shortcutId = 0;
};

/// The quadrant caption control: TCustomXLabel with its properties public.
class TXLabel : public TCustomXLabel {
    Q_OBJECT
public:
    using TCustomXLabel::TCustomXLabel;

    using TCustomXLabel::caption;
    using TCustomXLabel::color;
    using TCustomXLabel::setCaption;
    using TCustomXLabel::setColor;

    using TCustomXLabel::Alignment;
    using TCustomXLabel::AutoSize;
    using TCustomXLabel::FocusControl;
    using TCustomXLabel::FontColorDisabled;
    using TCustomXLabel::Layout;
    using TCustomXLabel::setAlignment;
    using TCustomXLabel::setAutoSize;
    using TCustomXLabel::setFocusControl;
    using TCustomXLabel::setFontColorDisabled;
    using TCustomXLabel::setLayout;
    using TCustomXLabel::setShowAccelChar;
    using TCustomXLabel::setTransparent;
    using TCustomXLabel::setWordWrap;
    using TCustomXLabel::ShowAccelChar;
    using TCustomXLabel::Transparent;
    using TCustomXLabel::WordWrap;
};

} // namespace korvell
