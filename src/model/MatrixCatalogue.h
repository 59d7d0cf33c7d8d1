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

/// Per-axis look that some charts store differently from the common settings.
struct AxisLook {
    int minorTickLength = 3;  ///< pixels
    bool penColorNone = false; ///< grid and tick pens carry the colour value -1 (drawn in the default colour)
    bool minorTicksDotted = false;
    double minimum = 0.0;
};

/// One chart of the map window: a matrix, or the nine-dimension line chart.
struct MatrixDef {
    const char* chartName;   ///< component name, e.g. "Chart1"
    const char* seriesName;  ///< e.g. "SMercadoPotencial"
    const char* seriesTitle; ///< stored series title, e.g. "Mercado Potencial"
    const char* tabName;     ///< e.g. "P_MAP"
    int xField;              ///< CoordField index, -1 for the line chart
    int yField;
    DragStyle drag;
    bool derived; ///< computed (wholly or, for the strategy matrix, its Y)
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

/// The fourteen matrices in the order of the matrix table, then `DBChart3`.
const std::vector<MatrixDef>& matrixCatalogue();
/// The entry of a chart by its exact component name; nullptr when there is none.
const MatrixDef* findMatrix(QStringView chartName);

} // namespace korvell
