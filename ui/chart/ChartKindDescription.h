#pragma once

#include "core/ChartState.h"

namespace velmora::ui {

// What sets one chart kind apart from the others where its window and its wheel are concerned.
// The rotation rule, the aspect pairs and the point list of the analysis are the core's
// (wheelRotationFor, searchForKind, analyseChart), which take `kind`; everything else that
// differs is a field here, so that drawing code never asks which kind it draws.
struct ChartKindDescription {
    ChartKind kind;
    int lastPoint;             // highest point slot drawn: 11, or 23 with the second chart's ring
    bool houseMarks;           // the first chart's house marks, when ShowHouses asks for them
    bool glyphsInColorGlyphs2; // point glyph text in ColorGlyphs2 over ColorPoints1 markers
    bool captionFromClock;     // caption "هيئة لتاريخ " + the clock at creation, not kind + title
};

const ChartKindDescription& chartKindDescription(ChartKind kind);

} // namespace velmora::ui
