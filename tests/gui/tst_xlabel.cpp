// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "ui/XLabel.h"

#include <QLineEdit>
#include <QShortcutEvent>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QtMath>

#include <memory>

using namespace korvell;

Q_DECLARE_METATYPE(korvell::TextLayout)
Q_DECLARE_METATYPE(korvell::TextAlignment)

namespace {

QFont labelFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}

// Bounding box of the pixels that differ from the background colour.
QRect inkBox(const QImage& image, QRgb background) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

QImage renderLabel(TXLabel& label, QRgb background = qRgb(255, 255, 255)) {
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(background);
    label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestXLabel : public QObject {
    Q_OBJECT
private slots:
    void initialState();
    void measuring_data();
    void measuring();
    void rightJustifiedKeepsRightEdge();
    void wordWrapRefits();
    void disabledDrawsOnceInOwnColour();
    void layouts_data();
    void layouts();
    void transparency();
    void fontColorDisabledWaitsForRepaint();
    void accelerator_data();
    void accelerator();
    void acceleratorThroughKeyboard();
    void destroyedFocusControl();
    void disabledLetsMouseThrough();
    void mouseEnterAndLeave();
};

void TestXLabel::initialState() {
    TXLabel label;
    QCOMPARE(label.size(), QSize(65, 17));
    QVERIFY(label.AutoSize());
    QCOMPARE(label.Alignment(), TextAlignment::LeftJustify);
    QCOMPARE(label.Layout(), TextLayout::Top);
    QVERIFY(!label.WordWrap());
    QVERIFY(label.ShowAccelChar());
    QVERIFY(!label.Transparent());
    QCOMPARE(label.FocusControl(), nullptr);
    QCOMPARE(label.FontColorDisabled(), QColor(Qt::black));
    QVERIFY(label.caption().isEmpty());
}

void TestXLabel::measuring_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("showAccelChar");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("shown"); // the text whose size the label must take

    QTest::newRow("empty measures one blank") << QString() << true << true << QStringLiteral(" ");
    QTest::newRow("ampersand alone is a prefixed blank") << QStringLiteral("&") << true << true << QStringLiteral(" ");
    QTest::newRow("ampersand without prefixes") << QStringLiteral("&") << false << true << QStringLiteral("&");
    QTest::newRow("accelerator not measured") << QStringLiteral("Ri&ver") << true << true << QStringLiteral("River");
    QTest::newRow("accelerator off") << QStringLiteral("Ri&ver") << false << true << QStringLiteral("Ri&ver");
    QTest::newRow("double ampersand") << QStringLiteral("A&&B") << true << true << QStringLiteral("A&B");
    QTest::newRow("disabled empty") << QString() << true << false << QStringLiteral(" ");
    QTest::newRow("disabled text") << QStringLiteral("Lagoon") << true << false << QStringLiteral("Lagoon");
}

void TestXLabel::measuring() {
    QFETCH(QString, caption);
    QFETCH(bool, showAccelChar);
    QFETCH(bool, enabled);
    QFETCH(QString, shown);

    QWidget parent;
    auto* label = new TXLabel(&parent);
    label->setFont(labelFont());
    label->setEnabled(enabled);
    label->setShowAccelChar(showAccelChar);
    label->setCaption(QStringLiteral("placeholder"));
    label->setCaption(caption);

    const QFontMetricsF metrics(labelFont());
    const int grow = enabled ? 0 : 1; // the disabled pass measures one pixel right and down
    QCOMPARE(label->width(), qCeil(metrics.horizontalAdvance(shown)) + grow);
    QCOMPARE(label->height(), qCeil(metrics.height()) + grow);
}

void TestXLabel::rightJustifiedKeepsRightEdge() {
    QWidget parent;
    auto* label = new TXLabel(&parent);
    label->setFont(labelFont());
    label->setAlignment(TextAlignment::RightJustify);
    label->move(100, 10);
    const int right = label->x() + label->width();
    label->setCaption(QStringLiteral("Turning-around "));
    QCOMPARE(label->x() + label->width(), right);
    label->setCaption(QStringLiteral("Up"));
    QCOMPARE(label->x() + label->width(), right);
    QCOMPARE(label->y(), 10);
}

void TestXLabel::wordWrapRefits() {
    QWidget parent;
    auto* label = new TXLabel(&parent);
    label->setFont(labelFont());
    label->setAutoSize(false);
    label->setCaption(QStringLiteral("one two three four"));
    label->resize(40, 10);
    QCOMPARE(label->size(), QSize(40, 10)); // AutoSize off: untouched

    label->setAutoSize(true); // re-fits on one line
    const QFontMetrics metrics(labelFont());
    QCOMPARE(label->height(), metrics.height());
    label->resize(40, label->height());
    label->setWordWrap(true); // re-fits, wrapping at the current width
    QVERIFY(label->height() >= 2 * metrics.height());
    QVERIFY(label->width() <= 40);
}

void TestXLabel::disabledDrawsOnceInOwnColour() {
    TXLabel label;
    label.setFont(labelFont());
    label.setAutoSize(false);
    label.setTransparent(true);
    label.resize(80, 20);
    label.setCaption(QStringLiteral("Ocean"));
    const QImage enabled = renderLabel(label);

    label.setEnabled(false);
    label.setFontColorDisabled(QColor(0xFF, 0, 0));
    const QImage disabled = renderLabel(label);

    const QRect on = inkBox(enabled, qRgb(255, 255, 255));
    const QRect off = inkBox(disabled, qRgb(255, 255, 255));
    QVERIFY(!on.isEmpty());
    QCOMPARE(off, on.translated(1, 1));
    // One pass only: every inked pixel is a shade of the disabled colour over white, no emboss.
    for (int y = off.top(); y <= off.bottom(); ++y)
        for (int x = off.left(); x <= off.right(); ++x) {
            const QColor c = disabled.pixelColor(x, y);
            QCOMPARE(c.red(), 255);
            QCOMPARE(c.green(), c.blue());
        }
}

void TestXLabel::layouts_data() {
    QTest::addColumn<TextLayout>("layout");
    QTest::addColumn<TextAlignment>("alignment");
    QTest::addColumn<int>("height");

    for (const int height : {30, 31}) {
        const QByteArray h = QByteArray::number(height);
        QTest::newRow("bottom left " + h) << TextLayout::Bottom << TextAlignment::LeftJustify << height;
        QTest::newRow("bottom right " + h) << TextLayout::Bottom << TextAlignment::RightJustify << height;
        QTest::newRow("centre " + h) << TextLayout::Center << TextAlignment::Center << height;
    }
}

void TestXLabel::layouts() {
    QFETCH(TextLayout, layout);
    QFETCH(TextAlignment, alignment);
    QFETCH(int, height);

    TXLabel label;
    label.setFont(labelFont());
    label.setAutoSize(false);
    label.setTransparent(true);
    label.setLayout(layout);
    label.setAlignment(alignment);
    label.resize(90, height);
    label.setCaption(QStringLiteral("Lagoon"));
    const QRect top = [&] {
        label.setLayout(TextLayout::Top);
        const QRect box = inkBox(renderLabel(label), qRgb(255, 255, 255));
        label.setLayout(layout);
        return box;
    }();
    const QRect on = inkBox(renderLabel(label), qRgb(255, 255, 255));
    label.setEnabled(false);
    const QRect off = inkBox(renderLabel(label), qRgb(255, 255, 255));

    const int lineHeight = QFontMetrics(labelFont()).height();
    const int spare = height - lineHeight;
    if (layout == TextLayout::Bottom) {
        QCOMPARE(on.top() - top.top(), spare);
        QCOMPARE(off.bottom(), on.bottom()); // same bottom edge enabled or disabled
    } else {
        QCOMPARE(on.top() - top.top(), spare / 2);
        // Halved from a measurement one pixel lower: level with the enabled text, or one pixel lower.
        QCOMPARE(off.top() - on.top(), spare % 2 ? 1 : 0);
    }
    QCOMPARE(off.left(), on.left() + 1);
}

void TestXLabel::transparency() {
    TXLabel label;
    label.setAutoSize(false);
    label.resize(40, 16);
    label.setColor(QColor(0, 0, 255));
    QCOMPARE(renderLabel(label, qRgb(0, 255, 0)).pixel(3, 3), qRgb(0, 0, 255));
    label.setTransparent(true);
    QCOMPARE(renderLabel(label, qRgb(0, 255, 0)).pixel(3, 3), qRgb(0, 255, 0));
}

void TestXLabel::fontColorDisabledWaitsForRepaint() {
    QWidget window;
    auto* label = new TXLabel(&window);
    label->setCaption(QStringLiteral("Sea"));
    label->setEnabled(false);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    PaintCounter counter;
    label->installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.paints = 0;

    label->setFontColorDisabled(QColor(Qt::red));
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 0);
    QCOMPARE(label->FontColorDisabled(), QColor(Qt::red));

    label->setTransparent(true); // any other change repaints, now in the new colour
    QTRY_VERIFY(counter.paints > 0);
}

void TestXLabel::accelerator_data() {
    QTest::addColumn<bool>("withTarget");
    QTest::addColumn<bool>("labelEnabled");
    QTest::addColumn<bool>("showAccelChar");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("focused");

    QTest::newRow("moves focus") << true << true << true << QStringLiteral("Alt+R") << true;
    QTest::newRow("no target") << false << true << true << QStringLiteral("Alt+R") << false;
    QTest::newRow("disabled label") << true << false << true << QStringLiteral("Alt+R") << false;
    QTest::newRow("prefixes off") << true << true << false << QStringLiteral("Alt+R") << false;
    QTest::newRow("other character") << true << true << true << QStringLiteral("Alt+X") << false;
}

void TestXLabel::accelerator() {
    QFETCH(bool, withTarget);
    QFETCH(bool, labelEnabled);
    QFETCH(bool, showAccelChar);
    QFETCH(QString, key);
    QFETCH(bool, focused);

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    auto* target = new QLineEdit(&window);
    auto* label = new TXLabel(&window);
    layout->addWidget(other);
    layout->addWidget(label);
    layout->addWidget(target);
    label->setCaption(QStringLiteral("&Radius"));
    label->setShowAccelChar(showAccelChar);
    label->setEnabled(labelEnabled);
    if (withTarget)
        label->setFocusControl(target);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    other->setFocus();

    QShortcutEvent event(QKeySequence(key), 0);
    QCoreApplication::sendEvent(label, &event);
    QCOMPARE(event.isAccepted(), focused);
    QCOMPARE(window.focusWidget() == target, focused);
}

void TestXLabel::acceleratorThroughKeyboard() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    auto* target = new QLineEdit(&window);
    auto* label = new TXLabel(&window);
    layout->addWidget(other);
    layout->addWidget(label);
    layout->addWidget(target);
    label->setCaption(QStringLiteral("&Radius"));
    label->setFocusControl(target);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();

    QTest::keyClick(&window, Qt::Key_R, Qt::AltModifier);
    QCOMPARE(window.focusWidget(), target);
}

void TestXLabel::destroyedFocusControl() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    auto* label = new TXLabel(&window);
    layout->addWidget(other);
    layout->addWidget(label);
    auto target = std::make_unique<QLineEdit>(&window);
    label->setCaption(QStringLiteral("&Radius"));
    label->setFocusControl(target.get());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    other->setFocus();

    target.reset();
    QCOMPARE(label->FocusControl(), nullptr);
    QShortcutEvent event(QKeySequence(QStringLiteral("Alt+R")), 0);
    QCoreApplication::sendEvent(label, &event);
    QVERIFY(!event.isAccepted());
    QCOMPARE(window.focusWidget(), other);
}

void TestXLabel::disabledLetsMouseThrough() {
    QWidget parent;
    parent.resize(200, 100);
    auto* label = new TXLabel(&parent);
    label->setAutoSize(false);
    label->setGeometry(10, 10, 90, 15);
    QCOMPARE(parent.childAt(20, 15), label);
    label->setEnabled(false);
    QVERIFY(label->testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(parent.childAt(20, 15), nullptr);
    label->setEnabled(true);
    QCOMPARE(parent.childAt(20, 15), label);
}

void TestXLabel::mouseEnterAndLeave() {
    TXLabel label;
    QSignalSpy entered(&label, &TCustomXLabel::OnMouseEnter);
    QSignalSpy left(&label, &TCustomXLabel::OnMouseLeave);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(&label, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&label, &leave);
    QCOMPARE(entered.count(), 1);
    QCOMPARE(left.count(), 1);
    QCOMPARE(entered.at(0).at(0).value<TCustomXLabel*>(), &label);
    QCOMPARE(left.at(0).at(0).value<TCustomXLabel*>(), &label);
}

QTEST_MAIN(TestXLabel)
#include "tst_xlabel.moc"
