#pragma once

#include "core/ChartState.h"

namespace velmora::ui {

// The chart window's menu panel at its right edge, in twips: as wide as this, the full height.
inline constexpr int kMenuPanelTwips = 1755;

// What sets one chart kind apart from the others where its window and its wheel are concerned.
// The rotation rule, the aspect pairs and the point list of the analysis are the core's
// (wheelRotationFor, searchForKind, analyseChart), which take `kind`; everything else that
// differs is a field here, so that drawing and window code never asks which kind it shows.
struct ChartKindDescription {
    ChartKind kind;
    int lastPoint;             // highest point slot drawn: 11, or 23 with the second chart's ring
    bool houseMarks;           // the first chart's house marks, when ShowHouses asks for them
    bool glyphsInColorGlyphs2; // point glyph text in ColorGlyphs2 over ColorPoints1 markers
    bool captionFromClock;     // caption "هيئة لتاريخ " + the clock at creation, not kind + title
    const char* windowName;    // the window's name, FrmNatale and the like
    int widthTwips;            // the window's inner size, twips
    int heightTwips;
    unsigned swatches;         // bit i: the window copies LabColor(i) at creation
};

const ChartKindDescription& chartKindDescription(ChartKind kind);

} // namespace velmora::ui
