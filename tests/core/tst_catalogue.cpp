// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "model/CoordTable.h"
#include "model/MatrixCatalogue.h"

#include <QSet>
#include <QTest>

using namespace korvell;

namespace {

QString fieldName(int field) {
    return QString::fromLatin1(CoordTable::fields()[static_cast<std::size_t>(field)].name);
}

bool isResultField(int field) {
    return fieldName(field).startsWith(QLatin1String("res_"));
}

} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void indexesMatchTheTable_data();
    void indexesMatchTheTable();
    void matricesReadScoreFields();
    void inputMatricesAreTheDraggableOnes();
    void onlyTheTwinMatricesShareFields();
    void quadrantLabelsAreComplete();
    void keysFollowOnePattern();
    void findsChartsByExactName();
};

void TestCatalogue::indexesMatchTheTable_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("chart");
    QTest::addColumn<QString>("series");
    QTest::newRow("potential market") << int(MxPotentialMarket) << "Chart1"
                                      << "SMercadoPotencial";
    QTest::newRow("value") << int(MxValue) << "ChartValor"
                           << "SValor";
    QTest::newRow("potential profit") << int(MxPotentialProfit) << "Chart3"
                                      << "SLucroPotencial";
    QTest::newRow("product margin") << int(MxProductMargin) << "Chart4"
                                    << "SProduto";
    QTest::newRow("strategy") << int(MxStrategy) << "Chart5"
                              << "SStrategy";
    QTest::newRow("effort") << int(MxEffort) << "Chart6"
                            << "SEsforco";
    QTest::newRow("satisfaction") << int(MxSatisfaction) << "ChartMSD"
                                  << "SMSD";
    QTest::newRow("innovation") << int(MxInnovation) << "ChartIM"
                                << "SIM";
    QTest::newRow("needed capability") << int(MxNeededCapability) << "ChartNC"
                                       << "SNC";
    QTest::newRow("EVA") << int(MxEva) << "ChartEVA"
                         << "SEVA";
    QTest::newRow("EVA potential profit") << int(MxEvaProfit) << "ChartEVAPP"
                                          << "SEVA_PP";
    QTest::newRow("cost of capital") << int(MxCostOfCapital) << "ChartCC"
                                     << "SCC";
    QTest::newRow("BM organisation") << int(MxBmOrganisation) << "Chart_BM_Org"
                                     << "S_BM_ORGA";
    QTest::newRow("BM market") << int(MxBmMarket) << "Chart_BM_Market"
                               << "S_BM_MARKET";
    QTest::newRow("nine dimensions") << int(MxNineDimensions) << "DBChart3"
                                     << "Series1";
}

void TestCatalogue::indexesMatchTheTable() {
    QFETCH(int, index);
    QFETCH(QString, chart);
    QFETCH(QString, series);
    QCOMPARE(matrixCatalogue().size(), std::size_t(MatrixCount + 1));
    const MatrixDef& def = matrixCatalogue()[static_cast<std::size_t>(index)];
    QCOMPARE(QString::fromLatin1(def.chartName), chart);
    QCOMPARE(QString::fromLatin1(def.seriesName), series);
    QCOMPARE(def.lineChart, index == MxNineDimensions);
}

void TestCatalogue::matricesReadScoreFields() {
    for (int m = 0; m < MatrixCount; ++m) {
        const MatrixDef& def = matrixCatalogue()[static_cast<std::size_t>(m)];
        for (int field : {def.xField, def.yField}) {
            QVERIFY2(field >= F_pm_x && field < FieldCount && field != F_bcolor, def.chartName);
            QCOMPARE(CoordTable::fields()[static_cast<std::size_t>(field)].type, FieldType::Float);
        }
        // The needed-capability copy fields are written back, never read by a matrix.
        QVERIFY(def.xField != F_nc_x && def.yField != F_nc_y);
        // An axis is computed exactly when its field is a result field.
        QCOMPARE(isResultField(def.yField), def.derived);
        QCOMPARE(isResultField(def.xField), def.derived && def.drag == DragStyle::None);
    }
}

void TestCatalogue::inputMatricesAreTheDraggableOnes() {
    int draggable = 0;
    for (int m = 0; m < MatrixCount; ++m) {
        const MatrixDef& def = matrixCatalogue()[static_cast<std::size_t>(m)];
        if (def.drag != DragStyle::None)
            ++draggable;
        // Only the strategy matrix is both: its X is dragged, its Y computed, so it moves horizontally only.
        QCOMPARE(def.drag == DragStyle::XOnly, m == MxStrategy);
        QCOMPARE(def.drag == DragStyle::Both, !def.derived);
    }
    QCOMPARE(draggable, 9);
    QCOMPARE(matrixCatalogue()[MxNineDimensions].drag, DragStyle::None);
}

void TestCatalogue::onlyTheTwinMatricesShareFields() {
    QSet<QPair<int, int>> twins;
    for (int a = 0; a < MatrixCount; ++a) {
        for (int b = a + 1; b < MatrixCount; ++b) {
            const MatrixDef& first = matrixCatalogue()[static_cast<std::size_t>(a)];
            const MatrixDef& second = matrixCatalogue()[static_cast<std::size_t>(b)];
            if (first.xField == second.xField || first.yField == second.yField) {
                QCOMPARE(first.xField, second.xField);
                QCOMPARE(first.yField, second.yField);
                twins.insert({a, b});
            }
        }
    }
    const QSet<QPair<int, int>> expected{{MxPotentialProfit, MxEvaProfit}, {MxEffort, MxNeededCapability}};
    QCOMPARE(twins, expected);
}

void TestCatalogue::quadrantLabelsAreComplete() {
    QSet<QString> names;
    int labels = 0;
    for (int m = 0; m < MatrixCount; ++m) {
        const MatrixDef& def = matrixCatalogue()[static_cast<std::size_t>(m)];
        const bool businessModel = m == MxBmOrganisation || m == MxBmMarket;
        QCOMPARE(def.labelCount, businessModel ? 0 : 4);
        QSet<Corner> corners;
        for (int l = 0; l < def.labelCount; ++l) {
            const QuadrantLabelDef& label = def.labels[static_cast<std::size_t>(l)];
            names.insert(QString::fromLatin1(label.name));
            corners.insert(label.corner);
            QVERIFY(label.textKey != nullptr && label.designCaption != nullptr);
            ++labels;
        }
        QCOMPARE(corners.size(), def.labelCount);
    }
    QCOMPARE(labels, 48);
    QCOMPARE(names.size(), 48);
    QVERIFY(names.contains(QStringLiteral("Xlabel9")));

    // The innovation model's labels are numbered out of corner order.
    const auto& im = matrixCatalogue()[MxInnovation].labels;
    const auto cornerOf = [&](const char* name) {
        for (const QuadrantLabelDef& label : im) {
            if (qstrcmp(label.name, name) == 0)
                return std::pair{label.corner, QByteArray(label.textKey)};
        }
        return std::pair{Corner::TopLeft, QByteArray()};
    };
    QCOMPARE(cornerOf("XLabel3"), std::pair(Corner::BottomLeft, QByteArray("LUpGrading")));
    QCOMPARE(cornerOf("XLabel2"), std::pair(Corner::BottomRight, QByteArray("LTurningaround")));
}

void TestCatalogue::keysFollowOnePattern() {
    for (int m = 0; m <= MxNineDimensions; ++m) {
        const MatrixDef& def = matrixCatalogue()[static_cast<std::size_t>(m)];
        const bool hasTexts = m < MxBmOrganisation;
        QCOMPARE(def.titleKey != nullptr, hasTexts);
        QCOMPARE(def.leftAxisKey != nullptr, hasTexts);
        QCOMPARE(def.bottomAxisKey != nullptr, hasTexts);
        if (!hasTexts)
            continue;
        const QByteArray title(def.titleKey);
        QVERIFY2(title.startsWith("G_") && title.endsWith("_Title"), def.titleKey);
        const QByteArray stem = title.chopped(int(qstrlen("_Title")));
        QCOMPARE(QByteArray(def.leftAxisKey), stem + "_LeftAxis");
        QCOMPARE(QByteArray(def.bottomAxisKey), stem + "_BottomAxis");
    }
    // The two potential-profit charts show the same texts.
    const MatrixDef& map = matrixCatalogue()[MxPotentialProfit];
    const MatrixDef& eva = matrixCatalogue()[MxEvaProfit];
    QCOMPARE(QByteArray(map.titleKey), QByteArray(eva.titleKey));
    for (std::size_t l = 0; l < 4; ++l)
        QCOMPARE(QByteArray(map.labels[l].textKey), QByteArray(eva.labels[l].textKey));
}

void TestCatalogue::findsChartsByExactName() {
    QCOMPARE(findMatrix(u"ChartNC"), &matrixCatalogue()[MxNeededCapability]);
    QCOMPARE(findMatrix(u"DBChart3"), &matrixCatalogue()[MxNineDimensions]);
    QCOMPARE(findMatrix(u"chart1"), nullptr);
    QCOMPARE(findMatrix(u""), nullptr);
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
