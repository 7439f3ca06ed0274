#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The house system of a chart's cusps. Where the chosen one is undefined (Placidus and Koch
// within the polar circles) the library gives Porphyry cusps instead.
enum class HouseSystem {
    Placidus,
    Koch,
    Porphyry,
    Regiomontanus,
    Campanus,
    Alcabitius,
    Equal, // from the ascendant
    WholeSign,
};
inline constexpr int kHouseSystemCount = 8;

// A point slot: 0..11 the first chart's points, 12..23 the second chart's in the same order.
inline constexpr int kPointsPerChart = 12;
inline constexpr int kSecondChartBase = 12;
inline constexpr int kSlotCount = 24;
inline constexpr int kBlackMoonSlot = 11;

struct PlanetPos {
    float Longitude = 0.0f; // degrees, ecliptic of date
    float Speed = 0.0f;     // degrees per day, negative when retrograde
    float Spare1 = 0.0f;
    float Spare2 = 0.0f;
};

// The sign classes and house of one first-chart point; flags are -1 (true) or 0 (false).
struct PointAttributes {
    std::int16_t Fire = 0;
    std::int16_t Earth = 0;
    std::int16_t Air = 0;
    std::int16_t Water = 0;
    std::int16_t Cardinal = 0;
    std::int16_t Fixed = 0;
    std::int16_t Mutable = 0;
    std::int16_t Unused7 = 0;
    std::int16_t Unused8 = 0;
    std::int16_t Masculine = 0;
    std::int16_t Northern = 0;
    std::int16_t Unused11 = 0;
    std::int16_t Unused12 = 0;
    std::int16_t House = 0;
    std::int16_t Sign = 0;
};

// Colours are stored as 0x00BBGGRR.
using ColorValue = std::int32_t;

// The one process-wide chart state. Core functions take it by reference; only the windows
// reach the shared instance through chartState().
struct ChartState {
    std::array<PlanetPos, 25> Planets{};          // slot 24 is never written
    std::array<float, 24> HouseCusps{};           // cusp of house h at h-1 (+12 for chart 2)
    std::array<PointAttributes, 25> PlanetAttr{}; // filled for slots 0..11
    std::array<HouseSystem, 2> HouseSystemUsed{}; // of the first and the second chart's cusps
    HouseSystem HouseSystemChosen = HouseSystem::Placidus; // the setting the cusps are asked in
    // Of the first and the second chart: the angles themselves, which are not cusp 1 and 10 in
    // every system (whole signs).
    std::array<float, 2> Ascendant{};
    std::array<float, 2> Midheaven{};

    std::int16_t ChartDay = 0;
    std::int16_t ChartMonth = 0;
    std::int16_t ChartYear = 0;
    std::int16_t ChartHour = 0;
    std::int16_t ChartMinute = 0;

    float PlaceLongitude = 0.0f; // degrees, east positive
    float PlaceLatitude = 0.0f;  // degrees, north positive
    std::string PlaceLongitudeText;
    std::string PlaceLatitudeText;

    std::string ChartKindName;
    std::int16_t TwoCharts = 0; // 1 or 0, not a flag

    std::int16_t OrientOnAscendant = 0;
    std::int16_t WheelRotation = 0; // degrees added to every longitude on the wheel
    std::int16_t ShowHouses = 0;
    std::int16_t LastPointIndex = 0;
    // Every point starts shown, as the appearance dialog's check boxes do, so the first
    // classification covers all points.
    std::array<std::int16_t, kSlotCount> PlanetShown = allTrue();
    std::array<std::int16_t, kSlotCount> PlanetInAspects{};

    // Grows with the aspects found: a chart with wide orbs can have more than any fixed count.
    std::vector<std::string> AspectLines;
    std::int16_t AspectLineCount = 0;

    std::int16_t ZodiacAsPictures = 0;
    std::int16_t OrbConjunction = 0;
    std::int16_t OrbOpposition = 0;
    std::int16_t OrbSquare = 0;
    std::int16_t OrbTrine = 0;
    std::int16_t OrbSextile = 0;

    ColorValue ColorBackground = 0;
    ColorValue ColorZodiac = 0;
    ColorValue ColorSigns = 0;
    ColorValue ColorHouses = 0;
    ColorValue ColorPoints1 = 0;
    ColorValue ColorPoints2 = 0;
    ColorValue ColorGlyphs2 = 0;
    ColorValue ColorConjunction = 0;
    ColorValue ColorOpposition = 0;
    ColorValue ColorSquare = 0;
    ColorValue ColorTrine = 0;
    ColorValue ColorSextile = 0;

private:
    static std::array<std::int16_t, kSlotCount> allTrue()
    {
        std::array<std::int16_t, kSlotCount> flags{};
        flags.fill(-1);
        return flags;
    }
};

// The six chart kinds, by the option index of the chart-type dialog.
enum class ChartKind { Horary, Natal, Transits, Comparison, Solar, Progressions };
inline constexpr int kChartKindCount = 6;

struct ChartKindInfo {
    ChartKind kind;
    const char* name;        // the ChartKindName caption
    std::int16_t twoCharts;  // 1 when a second date and chart are needed
};

const ChartKindInfo& chartKindInfo(ChartKind kind);

// The kind whose ChartKindName is exactly `name`; nothing for any other text.
std::optional<ChartKind> chartKindOfName(const std::string& name);

// The shared instance the windows read and write.
ChartState& chartState();

} // namespace velmora
