#include "picture/PictureCommand.h"

#include "cli/CliArguments.h"
#include "core/Appearance.h"
#include "core/Numbers.h"
#include "core/PositionTexts.h"
#include "ui/chart/WheelPainter.h"
#include "ui/common/Platform.h"

#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <optional>

namespace velmora::picture {

namespace {

constexpr int kDefaultSize = 800;
constexpr int kLargestSize = 8000; // pixels; a raster picture of this side takes 256 MB

enum class Format { Png, Bmp, Svg, Pdf };

struct PictureOptions {
    std::string out;
    int size = kDefaultSize;
    bool pictures = true; // the appearance dialog's initial sign style
    bool aries = false;
    bool noHouses = false;
    std::string name;
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
        const bool takesValue = arg == "--out" || arg == "--size" || arg == "--name";
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

std::optional<Format> formatOf(const std::string& path)
{
    static const std::map<QString, Format> formats = {
        {QStringLiteral("png"), Format::Png},
        {QStringLiteral("bmp"), Format::Bmp},
        {QStringLiteral("svg"), Format::Svg},
        {QStringLiteral("pdf"), Format::Pdf},
    };
    const auto it = formats.find(QFileInfo(QString::fromStdString(path)).suffix().toLower());
    if (it == formats.end())
        return std::nullopt;
    return it->second;
}

using Drawing = std::function<void(QPainter&)>;

// Draws into a QPainter on the format's device and writes the file through a temporary one,
// so that a failure never leaves a partial file under the requested name. Empty on success,
// else the reason.
std::string writePicture(const std::string& path, Format format, int size,
                         const QString& title, const Drawing& draw)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString().toStdString();

    bool painted = false;
    if (format == Format::Png || format == Format::Bmp) {
        QImage image(size, size, QImage::Format_RGB32);
        if (image.isNull())
            return "not enough memory for a picture of " + std::to_string(size) + " pixels";
        QPainter painter(&image);
        draw(painter);
        painter.end();
        painted = image.save(&file, format == Format::Png ? "PNG" : "BMP");
    } else if (format == Format::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(QSize(size, size));
        svg.setViewBox(QRect(0, 0, size, size));
        svg.setResolution(96);
        svg.setTitle(title);
        QPainter painter;
        painted = painter.begin(&svg);
        if (painted)
            draw(painter);
    } else {
        QPdfWriter pdf(&file);
        pdf.setResolution(96);
        pdf.setCreator(QStringLiteral("Velmora"));
        pdf.setTitle(title);
        // One page of exactly the picture's size: S pixels at 96 per inch, in points.
        const double side = size * 72.0 / 96.0;
        pdf.setPageSize(QPageSize(QSizeF(side, side), QPageSize::Point, QString(),
                                  QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF());
        QPainter painter;
        painted = painter.begin(&pdf);
        if (painted)
            draw(painter);
    }
    if (!painted || !file.commit())
        return file.errorString().toStdString();
    return {};
}

} // namespace

std::string pictureUsage()
{
    return "usage: velmora-picture --out FILE.png|FILE.bmp|FILE.svg|FILE.pdf [--size N] "
           "[--symbols|--pictures] [--aries] [--no-houses] [--name TEXT] CHART, where CHART is "
           "what velmora-cli chart takes: --date Y-M-D --time H:M --lat .. --lon .. "
           "[--kind natal|horary|solar|transits|comparison|progressions] ...";
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
    const auto format = formatOf(options.out);
    if (!format)
        return refuse("--out must end in .png, .bmp, .svg or .pdf");
    const cli::ParsedChartArguments parsed = cli::parseChartArguments(split.chart);
    if (!parsed.options)
        return refuse(parsed.error);
    const cli::ChartOptions& chart = *parsed.options;
    if (chart.json || chart.aspects || chart.analysis)
        return refuse("--json, --aspects and --analysis are velmora-cli's");

    copySwatchColors(state, initialSwatchColors());
    const cli::ComputedCharts computed = cli::computeCharts(chart, state, ephemeris);
    if (computed.failure.exitCode == cli::kExitUsage)
        return refuse(computed.failure.error);
    if (computed.failure.exitCode != cli::kExitOk)
        return computed.failure;
    state.ZodiacAsPictures = toFlag(options.pictures);
    state.OrientOnAscendant = toFlag(!options.aries);
    state.ShowHouses = toFlag(!options.noHouses);

    const ui::ChartKindDescription& kind = ui::chartKindDescription(chart.kind);
    const std::string caption =
        kind.captionFromClock
            ? horaryCaption(now.date().day(), now.date().month(), now.date().year(),
                            now.time().hour(), now.time().minute())
            : chartCaption(chart.kind, chartTitle(options.name, chart.first));
    const QString title = ui::fromCore(caption);
    const int size = options.size;
    ui::WheelPainter wheel(state, kind, ui::WheelAppearance{}, size);
    const std::string error =
        writePicture(options.out, *format, size, title, [&](QPainter& painter) {
            wheel.draw(painter, QSizeF(size, size), title);
        });
    if (!error.empty())
        return {kExitUnwritable, {}, "cannot write " + options.out + ": " + error};
    return {};
}

} // namespace velmora::picture
