#pragma once

namespace velmora::ui {

// Window layouts measure lengths in twips, 15 to a pixel at 96 dpi.
inline constexpr int kTwipsPerPixel = 15;

// A length in twips as whole pixels, halves up.
constexpr int px(double twips)
{
    return static_cast<int>(twips / kTwipsPerPixel + 0.5);
}

} // namespace velmora::ui
