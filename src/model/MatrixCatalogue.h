// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <vector>

namespace korvell {

/// Direction in which the drag tool moves a bubble.
enum class DragStyle { None, Both, XOnly };

/// Corner of a quadrant caption on its chart.
enum class Corner { TopLeft, TopRight, BottomLeft, BottomRight };

/// A colour as 0xRRGGBB, or the system window colour.
struct CatalogueColor {
    std::uint32_t rgb = 0xFFFFFF;
    bool systemWindow = false;
};

/// One quadrant caption: label component name, corner, design caption, catalogue key.
struct QuadrantLabelDef {
    const char* name;
    Corner corner;
    const char* designCaption;
    const char* textKey;
};

/// Pens of an axis, as flags.
enum AxisPen : unsigned { NoPen = 0, GridPen = 1, TicksPen = 2, MinorTicksPen = 4, InnerTicksPen = 8 };

/// Per-axis look that some charts store differently from the common settings.
struct AxisLook {
    int minorTickLength = 3; ///< pixels
    /// AxisPen flags of the pens that carry the colour value -1 (drawn in the pen's default colour).
    unsigned uncolouredPens = NoPen;
    bool minorTicksDotted = false;
    double minimum = 0.0;
};

/// Index of a chart in matrixCatalogue(): the fourteen matrices in the order of the matrix table, then `DBChart3`.
enum MatrixIndex : int {
    MxPotentialMarket,             ///< `Chart1`, `SMercadoPotencial`
    MxValue,                       ///< `ChartValor`, `SValor`
    MxPotentialProfit,             ///< `Chart3`, `SLucroPotencial`
    MxProductMargin,               ///< `Chart4`, `SProduto`
    MxStrategy,                    ///< `Chart5`, `SStrategy`
    MxEffort,                      ///< `Chart6`, `SEsforco`
    MxSatisfaction,                ///< `ChartMSD`, `SMSD`
    MxInnovation,                  ///< `ChartIM`, `SIM`
    MxNeededCapability,            ///< `ChartNC`, `SNC`
    MxEva,                         ///< `ChartEVA`, `SEVA`
    MxEvaProfit,                   ///< `ChartEVAPP`, `SEVA_PP`
    MxCostOfCapital,               ///< `ChartCC`, `SCC`
    MxBmOrganisation,              ///< `Chart_BM_Org`, `S_BM_ORGA`
    MxBmMarket,                    ///< `Chart_BM_Market`, `S_BM_MARKET`
    MxNineDimensions,              ///< `DBChart3`, `Series1`
    MatrixCount = MxNineDimensions ///< number of bubble matrices
};

/// One chart of the map window: a matrix, or the nine-dimension line chart.
struct MatrixDef {
    const char* chartName;   ///< component name, e.g. "Chart1"
    const char* seriesName;  ///< e.g. "SMercadoPotencial"
    const char* seriesTitle; ///< stored series title (UTF-8), e.g. "Mercado Potencial"
    const char* tabName;     ///< e.g. "P_MAP"
    int xField;              ///< CoordField index, -1 for the line chart
    int yField;
    DragStyle drag;
    bool derived;   ///< computed (wholly or, for the strategy matrix, its Y)
    bool lineChart; ///< `DBChart3`
    const char* title;
    const char* xAxisTitle;
    const char* yAxisTitle;
    int labelCount; ///< 4, or 0 for the business-model matrices and `DBChart3`
    std::array<QuadrantLabelDef, 4> labels;
    CatalogueColor panel;
    CatalogueColor gradient;
    CatalogueColor titleFont;
    AxisLook bottomAxis;
    AxisLook leftAxis;
    const char* titleKey; ///< catalogue keys; nullptr where the chart keeps its design captions
    const char* leftAxisKey;
    const char* bottomAxisKey;
};

/// The line series of `DBChart3`: ten fixed points at X 0 to 9.
struct LineSeriesDef {
    std::array<double, 10> y;
    int lineWidth;
    std::uint32_t lineColor; ///< 0xRRGGBB
    std::uint32_t seriesColor;
};

/// The fourteen matrices in the order of the matrix table, then `DBChart3` (indexed by MatrixIndex).
const std::vector<MatrixDef>& matrixCatalogue();
/// The stored points and look of the `DBChart3` line series.
const LineSeriesDef& nineDimensionSeries();
/// The entry of a chart by its exact component name; nullptr when there is none.
const MatrixDef* findMatrix(QStringView chartName);

} // namespace korvell
