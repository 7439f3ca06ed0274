#pragma once

#include "core/Aspects.h"
#include "core/ChartState.h"
#include "ui/common/SingleDialog.h"

#include <QImage>

#include <array>
#include <bitset>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace velmora::ui {

class ColorSwatch;

// The appearance dialog. Its controls are the program's store of the chart appearance settings:
// chart windows read them through instance(), which creates the dialog on first use. OK copies
// the settings into the shared chart state and hides; cancel and Esc only hide. A close by the
// window frame destroys it, and the next read starts again from the initial settings.
class FrmThemeProprietees final : public SingleDialog<FrmThemeProprietees> {
    Q_OBJECT

public:
    static constexpr int kSwatchCount = 12;
    // Which swatches a chart window copies: bit i stands for LabColor(i).
    using SwatchSet = std::bitset<kSwatchCount>;
    // Vertical distance between swatch centres in pixels. Swatch i's centre lies
    // (i + 0.5) * kSwatchPitch below the top of the sample picture, where its lead line ends.
    static constexpr int kSwatchPitch = 49;

    // Shows the dialog modally over the caller's window and returns when it is hidden or
    // closed: true when by OK. Read the settings through instance() afterwards: a close by the
    // frame replaces the dialog.
    static bool showModal(QWidget* caller);

    // What a new chart window takes: the five orbs, the colours of the given swatches, the
    // shown points (all 24), the glyph style, and every point back into the aspect search.
    void copyInto(ChartState& state, const SwatchSet& swatches) const;
    // What OK writes into the shared state: the orbs, the colours but the sign symbols', the
    // shown points, the glyph style, the houses switch, the house system and the wheel's start.
    void confirmInto(ChartState& state) const;

    // The orb boxes as whole degrees: the leading number of each text, halves to even; an
    // empty or non-numeric text gives 0.
    AspectOrbs orbs() const;
    // LabColor(index) as 0x00BBGGRR.
    ColorValue colorValue(int index) const;

    // Read at every drawing: whether the chords of an aspect kind are drawn (the Aspect boxes).
    bool aspectShown(AspectKind kind) const;
    // Read when the dialog returns: whether the background option is on, and its picture at
    // its natural size.
    bool backgroundActive() const;
    QImage backgroundPicture() const { return m_picture; }
    // Read at each data-entry confirmation: the show-houses box.
    bool showHouses() const;
    // Read with the shown aspects: whether crowded point glyphs move apart (ChkSpread).
    bool spreadGlyphs() const;
    // Read before each chart is computed: the system its cusps are asked in (CmbMaisons).
    HouseSystem houseSystem() const;
    // Takes a background picture read from `path`, as a choice in the file dialog does.
    void showPicture(const QString& path, const QImage& picture);

    QTabWidget* SSTab1 = nullptr;
    std::array<ColorSwatch*, kSwatchCount> LabColor{};
    QLabel* PicSample = nullptr; // the colours tab's sample picture
    QCheckBox* ChkSpread = nullptr; // crowded point glyphs move apart, on the colours tab
    QComboBox* CmbMaisons = nullptr; // the house system, in HouseSystem's order
    std::array<QCheckBox*, 2 * kPointsPerChart> Planete{};
    QCheckBox* ShowMaison = nullptr;
    std::array<QCheckBox*, kPointsPerChart> AspectPlanet{};
    std::array<QCheckBox*, 2> AspectMaisons{}; // [0] is AspectMaisons(1), [1] is AspectMaisons(2)
    std::array<QLineEdit*, kAspectKindCount> TxtAspect{};
    std::array<QCheckBox*, kAspectKindCount> Aspect{};
    std::array<QRadioButton*, 2> OptZodiacGrph{};
    std::array<QRadioButton*, 2> OptZodiacPos{};
    QCheckBox* ChkActifPic = nullptr;
    QLineEdit* TxtURL = nullptr;
    QPushButton* CmdParcourir = nullptr;
    QLabel* ImgeView = nullptr; // the preview of the background picture
    QPushButton* CmdOK = nullptr;
    QPushButton* CmdAnnuler = nullptr;

private:
    friend class SingleDialog<FrmThemeProprietees>;
    FrmThemeProprietees();

    QWidget* buildColoursTab();
    QWidget* buildPlanetsTab();
    QWidget* buildAspectsTab();
    QWidget* buildUpdatesTab();
    void connectReactions();

    // What OK and a new chart window both copy: orbs, the given swatches, shown points, style.
    void copyCommonSettings(ChartState& state, const SwatchSet& swatches) const;
    void confirm();
    void chooseColor(ColorSwatch* swatch);
    // The sample picture in the swatches' present colours.
    void drawSample();
    void browse();
    void setPicture(const QImage& picture);

    // The hidden picture store PicView: the current background picture at its natural size.
    QImage m_picture;
    bool m_confirmed = false; // OK ended the current modal show
};

} // namespace velmora::ui
