#include "picture/PictureCommand.h"

#include "cli/CliArguments.h"
#include "core/Appearance.h"
#include "core/Numbers.h"
#include "core/PositionTexts.h"
#include "wheel/CoreText.h"
#include "wheel/PictureWriter.h"
#include "wheel/WheelPainter.h"

#include <QSaveFile>
#include <QPainter>

#include <algorithm>
#include <cctype>
#include <optional>

namespace velmora::picture {

namespace {

constexpr int kDefaultSize = 800;
constexpr int kLargestSize = 8000; // pixels; a raster picture of this side takes 256 MB

struct PictureOptions {
    std::string out;
    int size = kDefaultSize;
    bool pictures = true; // the appearance dialog's initial sign style
    bool aries = false;
    bool noHouses = false;
    bool noSpread = false;
    std::string name;
    bool nameGiven = false;
    std::string layout; // where the layout drawn goes as JSON, if anywhere
};

struct SplitArguments {
    PictureOptions picture;
    std::vector<std::string> chart; // handed to the chart argument reader
    std::string error;
};

bool allDigits(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// Takes the picture's own options out; whatever is left are the chart's arguments.
SplitArguments splitArguments(const std::vector<std::string>& args)
{
    SplitArguments split;
    PictureOptions& options = split.picture;
    bool symbols = false;
    bool pictures = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue =
            arg == "--out" || arg == "--size" || arg == "--name" || arg == "--layout";
        if (takesValue && i + 1 >= args.size()) {
            split.error = arg + " needs a value";
            return split;
        }
        if (arg == "--out") {
            options.out = args[++i];
        } else if (arg == "--size") {
            const std::string& text = args[++i];
            if (!allDigits(text) || text.size() > 5 || std::stoi(text) < 1 ||
                std::stoi(text) > kLargestSize) {
                split.error = "bad --size (expected pixels from 1 to " +
                              std::to_string(kLargestSize) + ")";
                return split;
            }
            options.size = std::stoi(text);
        } else if (arg == "--name") {
            options.name = args[++i];
            options.nameGiven = true;
        } else if (arg == "--layout") {
            options.layout = args[++i];
        } else if (arg == "--no-spread") {
            options.noSpread = true;
        } else if (arg == "--symbols") {
            symbols = true;
        } else if (arg == "--pictures") {
            pictures = true;
        } else if (arg == "--aries") {
            options.aries = true;
        } else if (arg == "--no-houses") {
            options.noHouses = true;
        } else {
            split.chart.push_back(arg);
        }
    }
    if (symbols && pictures)
        split.error = "--symbols and --pictures exclude each other";
    else if (options.out.empty())
        split.error = "--out is required";
    options.pictures = !symbols;
    return split;
}

} // namespace

std::string pictureUsage()
{
    return "usage: velmora-picture --out FILE.png|FILE.bmp|FILE.svg|FILE.pdf [--size N] "
           "[--symbols|--pictures] [--aries] [--no-houses] [--no-spread] [--name TEXT] "
           "[--layout FILE.json] CHART, where CHART is "
           "what velmora-cli chart takes: --date Y-M-D --time H:M --lat .. --lon .. "
           "[--kind natal|horary|solar|transits|comparison|progressions] ..., or --saved NAME "
           "[--db PATH]";
}

cli::CommandResult runPicture(const std::vector<std::string>& args, ChartState& state,
                              EphemerisApi& ephemeris, const QDateTime& now)
{
    auto refuse = [](const std::string& why) {
        return cli::CommandResult{cli::kExitUsage, {}, why + "; " + pictureUsage()};
    };
    const SplitArguments split = splitArguments(args);
    if (!split.error.empty())
        return refuse(split.error);
    const PictureOptions& options = split.picture;
    const auto format = ui::pictureFormatOf(QString::fromStdString(options.out));
    if (!format)
        return refuse("--out must end in .png, .bmp, .svg or .pdf");
    const cli::ParsedChartArguments parsed = cli::parseChartArguments(split.chart);
    if (!parsed.options)
        return refuse(parsed.error);
    const cli::ChartOptions& chart = *parsed.options;
    if (QString::fromStdString(options.name).size() > kLongestName)
        return refuse("--name may have at most " + std::to_string(kLongestName) + " characters");
    if (chart.json || chart.aspects || chart.analysis)
        return refuse("--json, --aspects and --analysis are velmora-cli's");

    copySwatchColors(state, initialSwatchColors());
    const cli::ComputedCharts computed = cli::computeCharts(chart, state, ephemeris);
    if (computed.failure.exitCode == cli::kExitUsage && !chart.saved)
        return refuse(computed.failure.error);
    if (computed.failure.exitCode != cli::kExitOk)
        return computed.failure;
    state.ZodiacAsPictures = toFlag(options.pictures);
    state.OrientOnAscendant = toFlag(!options.aries);
    state.ShowHouses = toFlag(!options.noHouses);

    // A saved chart brings its kind, rows and name.
    const cli::ChartOptions& drawn = computed.options;
    const ui::ChartKindDescription& kind = ui::chartKindDescription(drawn.kind);
    const std::string& name = chart.saved && !options.nameGiven ? drawn.name : options.name;
    const std::string caption =
        kind.captionFromClock
            ? horaryCaption(now.date().day(), now.date().month(), now.date().year(),
                            now.time().hour(), now.time().minute())
            : chartCaption(drawn.kind, chartTitle(name, drawn.first));
    const QString title = ui::fromCore(caption);
    const int size = options.size;
    const WheelModel model = wheelModelOf(state, drawn.kind);
    applyWheelModel(state, model);
    ui::WheelAppearance appearance;
    appearance.spread = !options.noSpread;
    const ui::WheelPainter wheel(state, model, kind, appearance, size);
    const QString error = ui::writePicture(QString::fromStdString(options.out), *format, size,
                                           title, [&](QPainter& painter) {
                                               wheel.draw(painter, QSizeF(size, size), title);
                                           });
    if (!error.isEmpty())
        return {kExitUnwritable, {}, "cannot write " + options.out + ": " + error.toStdString()};
    if (!options.layout.empty()) {
        QSaveFile file(QString::fromStdString(options.layout));
        const QByteArray json = ui::layoutJson(wheel.layout());
        if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit())
            return {kExitUnwritable, {},
                    "cannot write " + options.layout + ": " + file.errorString().toStdString()};
    }
    return {};
}

} // namespace velmora::picture
