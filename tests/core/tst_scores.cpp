// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "model/Scores.h"

#include <QTest>

#include <bit>
#include <cstdint>
#include <limits>

using namespace korvell;

namespace {

QByteArray exact(double value) {
    return QByteArray::number(value, 'g', 17);
}

} // namespace

class TestScores : public QObject {
    Q_OBJECT
private slots:
    void roundsToOneDecimal_data();
    void roundsToOneDecimal();
    void clampsIntoScale_data();
    void clampsIntoScale();
};

void TestScores::roundsToOneDecimal_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    // Expected values are exact doubles: some are one unit in the last place off the nearest tenth.
    QTest::newRow("3.9 is 39 tenths, stored one ulp high") << 3.9 << 3.9000000000000004;
    QTest::newRow("2.25 down") << 2.25 << 2.2;
    QTest::newRow("0.35 down") << 0.35 << 0.30000000000000004;
    QTest::newRow("7.05 down") << 7.05 << 7.0;
    QTest::newRow("8.05 up") << 8.05 << 8.1;
    QTest::newRow("3.14159") << 3.14159 << 3.1;
    QTest::newRow("7.96 to a whole") << 7.96 << 8.0;
    QTest::newRow("9.96 to ten") << 9.96 << 10.0;
    QTest::newRow("5.0 unchanged") << 5.0 << 5.0;
    QTest::newRow("zero") << 0.0 << 0.0;
    QTest::newRow("ten") << 10.0 << 10.0;
}

void TestScores::roundsToOneDecimal() {
    QFETCH(double, value);
    QFETCH(double, expected);
    const double actual = roundScore(value);
    QCOMPARE(exact(actual), exact(expected));
    QCOMPARE(std::bit_cast<std::uint64_t>(actual), std::bit_cast<std::uint64_t>(expected));
}

void TestScores::clampsIntoScale_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("above ten") << 11.3 << 10.0;
    QTest::newRow("below zero") << -2.0 << 0.0;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 0.0;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 10.0;
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << 0.0;
    QTest::newRow("inside, unrounded") << 4.56 << 4.56;
    QTest::newRow("edge ten") << 10.0 << 10.0;
}

void TestScores::clampsIntoScale() {
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(exact(clampScore(value)), exact(expected));
}

QTEST_GUILESS_MAIN(TestScores)
#include "tst_scores.moc"
