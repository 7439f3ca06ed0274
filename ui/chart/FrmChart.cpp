#include "ui/chart/FrmChart.h"

#include "core/ChartComputation.h"
#include "core/Lots.h"
#include "core/Hijri.h"
#include "core/PositionTexts.h"
#include "ui/common/BidiText.h"
#include "ui/common/Look.h"
#include "ui/common/Printing.h"
#include "ui/common/Seams.h"
#include "ui/common/Twips.h"
#include "ui/common/WindowRequest.h"
#include "ui/library/FrmLibrary.h"
#include "ui/listings/FrmAnalyse.h"
#include "ui/listings/FrmDivert.h"
#include "ui/listings/FrmEvents.h"
#include "ui/settings/FrmThemeProprietees.h"
#include "wheel/CoreText.h"
#include "wheel/PictureWriter.h"

#include <QDir>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <algorithm>

namespace velmora::ui {

using namespace Qt::StringLiterals;

namespace {

constexpr int kMenuWidth = px(kMenuPanelTwips);

const std::array<QString, FrmChart::kMenuItemCount> kMenuCaptions = {
    u"عرض الإتصالات"_s, u"معلومات خاصة"_s, u"سمات الهيئة"_s, u"حفظ الصورة"_s, u" تحليل الهيئة"_s,
    u"حفظ الهيئة"_s,    u"طباعة الهيئة"_s, u"الأحداث"_s};
constexpr std::array<int, FrmChart::kMenuItemCount> kMenuTops = {720,  1080, 1440, 1920,
                                                                 2520, 3000, 3360, 3720};
constexpr int kMenuLeft = 120;
constexpr int kMenuItemWidth = 1455;
constexpr int kMenuItemHeight = 375;

// The element bars are this wide, standing on Picture1's line kBarBaseLine.
constexpr int kBarWidth = 615;
constexpr std::array<int, 4> kBarLefts = {600, 1440, 2280, 3120}; // fire, earth, air, water

struct SaveFormat {
    QString filter;
    QString suffix;
    PictureFormat format;
};

// The Windows bitmap first, as charts were always saved, then the other pictures a user may want.
const std::array<SaveFormat, 4> kSaveFormats = {{
    {u"Bitmap files (*.BMP *.bmp)"_s, u"bmp"_s, PictureFormat::Bmp},
    {u"PNG files (*.png)"_s, u"png"_s, PictureFormat::Png},
    {u"SVG files (*.svg)"_s, u"svg"_s, PictureFormat::Svg},
    {u"PDF files (*.pdf)"_s, u"pdf"_s, PictureFormat::Pdf},
}};

// Qt takes "[*]" in a window title for the modified mark; doubled, it shows as typed.
QString titleShowingAsTyped(QString caption)
{
    return caption.replace(u"[*]"_s, u"[*][*]"_s);
}

// A plain filled rectangle: the bars and the axis lines of the element chart.
QFrame* filledBox(QWidget* parent, const QString& name, const QColor& colour, const QRect& box)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setStyleSheet(u"background: %1; border: none;"_s.arg(colour.name()));
    frame->setGeometry(box);
    return frame;
}

// A control's rectangle given in twips.
QRect twipsRect(int left, int top, int width, int height)
{
    return {px(left), px(top), px(width), px(height)};
}

// The close box: a yellow box with an x, painted so that no symbol font is needed.
QPixmap closeBoxPicture()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 255, 0), 1.5));
    painter.drawRect(QRectF(1.5, 1.5, 13, 13));
    painter.drawLine(QPointF(5, 5), QPointF(11, 11));
    painter.drawLine(QPointF(11, 5), QPointF(5, 11));
    return picture;
}

std::array<bool, kAspectKindCount> shownChords(const FrmThemeProprietees& look)
{
    std::array<bool, kAspectKindCount> chords{};
    for (int k = 0; k < kAspectKindCount; ++k)
        chords[k] = look.aspectShown(static_cast<AspectKind>(k));
    return chords;
}

} // namespace

FrmChart::FrmChart(ChartKind kind, const QString& caption,
                   const std::optional<ChartRequest>& request, QWidget* parent)
    : QWidget(parent)
    , m_kind(chartKindDescription(kind))
    , m_request(request)
{
    setObjectName(QString::fromLatin1(m_kind.windowName));
    setLayoutDirection(Qt::LeftToRight);
    setAttribute(Qt::WA_OpaquePaintEvent);

    // The settings of this moment, into the shared state as every new window writes them, and
    // with the computed chart into the window's own copy.
    const FrmThemeProprietees& look = *FrmThemeProprietees::instance();
    look.copyInto(chartState(), FrmThemeProprietees::SwatchSet(m_kind.swatches));
    m_state = chartState();
    m_look.chords = shownChords(look);
    m_look.spread = look.spreadGlyphs();

    if (m_kind.captionFromClock) {
        const QDateTime now = clock()();
        m_caption = fromCore(horaryCaption(now.date().day(), now.date().month(),
                                           now.date().year(), now.time().hour(),
                                           now.time().minute()));
    } else {
        m_caption = caption;
    }
    setWindowTitle(titleShowingAsTyped(m_caption));

    buildMenu();
    // A chart made without a request (none yet) has nothing to save.
    LabMenu[SaveChart]->setEnabled(m_request.has_value());
    buildInformationPanel();
    resize(sizeHint());
}

QSize FrmChart::sizeHint() const
{
    return {px(std::max(m_kind.widthTwips, m_kind.heightTwips + kMenuPanelTwips)),
            px(m_kind.heightTwips)};
}

int FrmChart::chartSize() const
{
    return std::max(1, std::min(height(), width() - kMenuWidth));
}

FrmEvents* FrmChart::events() const
{
    return m_events;
}

void FrmChart::setCaption(const QString& caption)
{
    m_caption = caption;
    setWindowTitle(titleShowingAsTyped(caption));
    if (m_shown)
        render();
}

void FrmChart::buildMenu()
{
    Picture2 = new QFrame(this);
    Picture2->setObjectName(u"Picture2"_s);
    Picture2->setLayoutDirection(Qt::RightToLeft);
    Picture2->setStyleSheet(navyStyle(Picture2->objectName()) +
                            u" QLabel { color: rgb(0, 255, 0); }"
                            u" QLabel:disabled { color: rgb(0, 110, 0); }"_s);

    // Created first so that it lies under the items it marks.
    auto* marker = new QFrame(Picture2);
    marker->setObjectName(u"ShpSelect"_s);
    marker->setStyleSheet(u"#ShpSelect { border: 1px solid rgb(255, 128, 0); border-radius: 6px;"
                          " background: transparent; }"_s);
    marker->resize(px(kMenuItemWidth), px(kMenuItemHeight));
    marker->setAttribute(Qt::WA_TransparentForMouseEvents);
    marker->hide();
    ShpSelect = marker;

    QFont font = dialogFont();
    font.setPointSizeF(11.25);
    for (int i = 0; i < kMenuItemCount; ++i) {
        auto* item = new QLabel(kMenuCaptions[i], Picture2);
        item->setObjectName(u"LabMenu(%1)"_s.arg(i));
        item->setFont(font);
        item->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
        item->setGeometry(twipsRect(kMenuLeft, kMenuTops[i], kMenuItemWidth, kMenuItemHeight));
        item->setCursor(Qt::PointingHandCursor);
        // Hovering moves the marker without a button held.
        item->setMouseTracking(true);
        item->installEventFilter(this);
        LabMenu[i] = item;
    }
}

void FrmChart::buildInformationPanel()
{
    PictTable = new QFrame(this);
    PictTable->setObjectName(u"PictTable"_s);
    PictTable->setLayoutDirection(Qt::RightToLeft);
    PictTable->setFont(dialogFont());
    PictTable->setStyleSheet(u"#PictTable { background: %1; border: 1px solid #141a38; }"_s
                                 .arg(QColor(kCream).name()));
    PictTable->setGeometry(twipsRect(360, 840, 4360, 4940));
    const int width = PictTable->width();

    auto* titleBar = new QFrame(PictTable);
    titleBar->setObjectName(u"PicBarTitre"_s);
    titleBar->setStyleSheet(navyStyle(titleBar->objectName()));
    titleBar->setGeometry(1, 1, width - 2, 20);
    titleBar->setCursor(Qt::SizeAllCursor);
    titleBar->installEventFilter(this);
    PicBarTitre = titleBar;

    LabFermer = new QLabel(titleBar);
    LabFermer->setObjectName(u"LabFermer"_s);
    LabFermer->setPixmap(closeBoxPicture());
    LabFermer->setGeometry(titleBar->width() - 19, 2, 16, 16);
    LabFermer->setCursor(Qt::PointingHandCursor);
    LabFermer->installEventFilter(this);

    auto* title = new QLabel(u"معلومات توضيحية"_s, titleBar);
    title->setObjectName(u"Lab(1)"_s);
    title->setStyleSheet(u"color: white; font-weight: bold;"_s);
    title->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    title->setGeometry(4, 0, titleBar->width() - 28, 20);
    // The drag belongs to the bar beneath.
    title->setAttribute(Qt::WA_TransparentForMouseEvents);
    Lab[1] = title;

    TxtShow = new QPlainTextEdit(u"إيضاح"_s, PictTable);
    TxtShow->setObjectName(u"TxtShow"_s);
    TxtShow->setReadOnly(true);
    // Lines wrap at the panel's width: only the vertical bar scrolls.
    TxtShow->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    TxtShow->setGeometry(5, 25, width - 10, 130);

    Picture1 = buildElementBars(PictTable);
    Picture1->setGeometry(5, 158, width - 10, 168);
    PictTable->hide();
}

QWidget* FrmChart::buildElementBars(QWidget* parent)
{
    auto* chart = new QWidget(parent);
    chart->setObjectName(u"Picture1"_s);
    const int width = parent->width() - 10;

    auto* shape = new QFrame(chart);
    shape->setObjectName(u"Shape1"_s);
    shape->setStyleSheet(u"#Shape1 { border: 1px solid #9aa0b4; border-radius: 8px; }"_s);
    shape->setGeometry(0, 0, width, 168);

    auto* caption = new QLabel(u"نسبة الكواكب في البروج الفلكية"_s, chart);
    caption->setObjectName(u"Lab(0)"_s);
    caption->setAlignment(Qt::AlignCenter);
    caption->setGeometry(0, 4, width, 18);
    Lab[0] = caption;

    QFont small = dialogFont(7);
    auto* scale = new QWidget(chart);
    scale->setObjectName(u"Lab(3)"_s);
    scale->setGeometry(twipsRect(0, 600, 345, 1635));
    auto* scaleLines = new QVBoxLayout(scale);
    scaleLines->setContentsMargins(0, 0, 0, 0);
    for (const QString& text : {u"100"_s, u"0"_s}) {
        auto* mark = new QLabel(text, scale);
        mark->setFont(small);
        mark->setAlignment(Qt::AlignCenter);
        scaleLines->addWidget(mark);
        if (text != u"0"_s)
            scaleLines->addStretch();
    }
    Lab[3] = scale;

    // The axis, and the lines at the base, half and full height.
    const QColor axis(0x9a, 0xa0, 0xb4);
    const int axisX = px(540);
    const int full = px(kBarBaseLine - kBarFullHeight);
    const int base = px(kBarBaseLine);
    filledBox(chart, u"Line1"_s, axis, QRect(axisX, full, 1, base - full + 1));
    for (int i = 0; i < 3; ++i) {
        const int y = base - (base - full) * i / 2;
        filledBox(chart, u"Line2(%1)"_s.arg(i), i == 0 ? Qt::black : axis,
                  QRect(axisX, y, px(kBarLefts[3] + kBarWidth + 60) - axisX, 1));
    }

    const std::array<QColor, 4> colours = {QColor(255, 0, 0), QColor(128, 64, 0),
                                           QColor(0, 255, 0), QColor(0, 0, 255)};
    const std::array<QString, 4> names = {u"SFeu"_s, u"STerre"_s, u"SAir"_s, u"SEau"_s};
    std::array<QFrame*, 4> bars{};
    for (int i = 0; i < 4; ++i)
        bars[i] = filledBox(chart, names[i], colours[i],
                            QRect(px(kBarLefts[i]), base, px(kBarWidth), 0));
    SFeu = bars[0];
    STerre = bars[1];
    SAir = bars[2];
    SEau = bars[3];

    auto* elements = new QLabel(u"مائية        هوائية              ترابية           نارية "_s, chart);
    elements->setObjectName(u"Lab(2)"_s);
    elements->setFont(small);
    elements->setGeometry(twipsRect(600, 2280, 3000, 195));
    Lab[2] = elements;
    return chart;
}

void FrmChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_picture.isNull())
        painter.fillRect(rect(), Qt::white);
    else
        painter.drawImage(QPoint(0, 0), m_picture);
}

void FrmChart::resizeEvent(QResizeEvent*)
{
    Picture2->setGeometry(width() - kMenuWidth, 0, kMenuWidth, height());
    if (m_shown)
        render();
}

void FrmChart::showEvent(QShowEvent*)
{
    if (m_shown)
        return;
    m_shown = true;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        connect(frame, &QMdiSubWindow::aboutToActivate, this, &FrmChart::publishToSharedState);
    render();
}

void FrmChart::render()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (pixels.isEmpty())
        return;
    if (m_picture.size() != pixels) {
        m_picture = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        m_picture.setDevicePixelRatio(ratio);
    }
    m_model = wheelModelOf(m_state, m_kind.kind);
    applyWheelModel(m_state, m_model);
    QPainter painter(&m_picture);
    WheelPainter(m_state, m_model, m_kind, m_look, chartSize(), height() / 20.0)
        .draw(painter, QSizeF(size()), m_caption);
    painter.end();

    publishToSharedState();
    showAnalysis(m_model.analysis);
    update();
}

void FrmChart::publishToSharedState()
{
    m_state.LastPointIndex = static_cast<std::int16_t>(m_kind.lastPoint);
    ChartState& shared = chartState();
    shared.WheelRotation = m_state.WheelRotation;
    shared.AspectLines = m_state.AspectLines;
    shared.AspectLineCount = m_state.AspectLineCount;
    shared.LastPointIndex = m_state.LastPointIndex;
}

void FrmChart::showAnalysis(const ChartAnalysis& analysis)
{
    // Set only when it changed, so that a resize or an activation keeps where it is scrolled.
    // The chart's date and its Hijri day head the panel, then the houses' system and why it
    // is not the chosen one when it is not, so it is read before the houses; the lots after
    // the analysis.
    const auto row = firstRow();
    const std::string date = row ? chartDateLine(*row) : std::string();
    std::string lots;
    for (const Lot& lot : lotsOf(m_state))
        lots += "\n" + lotText(lot);
    const QString text = isolateRuns(
        fromCore((date.empty() ? date : date + "\n") + houseSystemLine(m_state) + "\n" +
                 houseSystemNote(m_state, m_state.TwoCharts ? 2 : 1) + analysis.text + lots)
            .replace(u"\r\n"_s, u"\n"_s));
    if (text != TxtShow->toPlainText())
        TxtShow->setPlainText(text);
    const std::array<QFrame*, 4> bars = {SFeu, STerre, SAir, SEau};
    const int base = px(kBarBaseLine);
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const int top = px(analysis.bars[i].top);
        bars[i]->setGeometry(bars[i]->x(), top, bars[i]->width(), base - top);
    }
}

std::optional<DateTimeTexts> FrmChart::firstRow() const
{
    // The state holds the row read last: the first one only when there is no second.
    if (m_request)
        return m_request->first.texts;
    if (m_state.TwoCharts == 1)
        return std::nullopt;
    return DateTimeTexts{std::to_string(m_state.ChartDay), std::to_string(m_state.ChartMonth),
                         std::to_string(m_state.ChartYear), {}, {}};
}

bool FrmChart::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseMove ||
                       type == QEvent::MouseButtonRelease;
    if (!mouse)
        return QWidget::eventFilter(watched, event);
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();

    const auto item = std::find(LabMenu.begin(), LabMenu.end(), watched);
    if (item != LabMenu.end()) {
        const int index = static_cast<int>(item - LabMenu.begin());
        if (type == QEvent::MouseMove)
            hoverMenu(index);
        else if (type == QEvent::MouseButtonRelease)
            runMenu(index); // any mouse button, on release, so a press can still slide away
        return type != QEvent::MouseMove;
    }
    if (watched == PicBarTitre) {
        if (type == QEvent::MouseButtonPress) {
            m_dragging = true;
            m_dragStart = at;
        } else if (type == QEvent::MouseMove && m_dragging) {
            // The bar moves with the panel, so the grabbed point stays under the pointer; the
            // panel may leave the window in part.
            PictTable->move(PictTable->pos() + at - m_dragStart);
        } else if (type == QEvent::MouseButtonRelease) {
            m_dragging = false;
        }
        return true;
    }
    if (watched == LabFermer) {
        if (type == QEvent::MouseButtonRelease && LabFermer->rect().contains(at))
            PictTable->hide();
        return true; // a press on the box starts no drag of the bar beneath
    }
    return QWidget::eventFilter(watched, event);
}

void FrmChart::hoverMenu(int item)
{
    m_state.LastPointIndex = static_cast<std::int16_t>(m_kind.lastPoint);
    chartState().LastPointIndex = m_state.LastPointIndex;
    ShpSelect->move(LabMenu[item]->pos());
    ShpSelect->show();
}

void FrmChart::runMenu(int item)
{
    switch (item) {
    case Listing: {
        // This window's own points and aspect lines, whichever window drew last.
        FrmDivert listing(m_state, m_kind.lastPoint, this, firstRow());
        listing.exec();
        break;
    }
    case Information: {
        // The first time inside the window, title bar first, even where its starting position
        // would run off a low window; after that where it was, also where a drag left it.
        if (!m_panelPlaced) {
            const QRect panel = PictTable->geometry();
            PictTable->move(std::max(0, std::min(panel.x(), width() - panel.width())),
                            std::max(0, std::min(panel.y(), height() - panel.height())));
            m_panelPlaced = true;
        }
        PictTable->show();
        PictTable->raise();
        break;
    }
    case Appearance:
        takeAppearanceSettings(FrmThemeProprietees::showModal(this));
        render();
        break;
    case SavePicture:
        savePicture();
        break;
    case Analysis:
        FrmAnalyse::instance()->exec();
        break;
    case SaveChart:
        // The name proposed is the one the caption shows.
        if (m_request)
            saveRequestAs(this, *m_request, fromCore(m_request->name));
        break;
    case Print:
        print();
        break;
    case Events:
        // One window for this chart, kept with its period and results while the chart lives.
        if (!m_events)
            m_events = new FrmEvents(m_state, m_request, this);
        m_events->setWindowTitle(u"الأحداث - "_s + m_caption);
        m_events->show();
        m_events->raise();
        m_events->activateWindow();
        break;
    }
}

void FrmChart::takeAppearanceSettings(bool confirmed)
{
    // Read after the modal show: a close by the frame has replaced the dialog.
    const FrmThemeProprietees& look = *FrmThemeProprietees::instance();
    if (confirmed) {
        const HouseSystem before = m_state.HouseSystemChosen;
        look.confirmInto(m_state);
        if (m_state.HouseSystemChosen != before)
            recomputeHouses(before);
    }
    // Whichever button closed the dialog, its aspect boxes count: the point boxes wrote the
    // shared state at once, and the shown-aspect boxes take effect as they stand.
    std::copy_n(chartState().PlanetInAspects.begin(), kPointsPerChart,
                m_state.PlanetInAspects.begin());
    m_look.chords = shownChords(look);
    m_look.spread = look.spreadGlyphs();
    m_look.background = look.backgroundActive() ? look.backgroundPicture() : QImage();
}

void FrmChart::recomputeHouses(HouseSystem before)
{
    // The window's own chart again from its request, in the new system; a window without a
    // request, or one the library now refuses, keeps its cusps and the system they are in.
    ChartState recomputed = m_state;
    if (m_request && computeForWindows(recomputed, *m_request).ok) {
        m_state = recomputed; // drawn by the caller's render
    } else {
        m_state.HouseSystemChosen = before;
    }
}

void FrmChart::savePicture()
{
    QStringList filters;
    for (const SaveFormat& format : kSaveFormats)
        filters.append(format.filter);
    // The pictures folder where there is one; a folder that does not exist would be offered
    // as the file's name.
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const SaveChoice choice =
        saveFileChooser()(this, kMenuCaptions[SavePicture],
                          QDir(pictures).exists() ? pictures : QDir::homePath(),
                          filters.join(u";;"_s));
    if (choice.path.isEmpty())
        return;

    QString path = choice.path;
    std::optional<PictureFormat> format = pictureFormatOf(path);
    if (!format) {
        const auto chosen =
            std::find_if(kSaveFormats.begin(), kSaveFormats.end(),
                         [&](const SaveFormat& f) { return f.filter == choice.filter; });
        const SaveFormat& taken = chosen != kSaveFormats.end() ? *chosen : kSaveFormats[0];
        path += u'.' + taken.suffix;
        format = taken.format;
    }

    // The square of side S at the top left: the screen's pixels for the bitmaps, the wheel
    // drawn again as vectors for SVG and PDF.
    const int side = chartSize();
    const bool raster = *format == PictureFormat::Bmp || *format == PictureFormat::Png;
    const QString error = writePicture(path, *format, side, m_caption, [&](QPainter& painter) {
        if (raster) {
            const qreal ratio = m_picture.devicePixelRatio();
            painter.drawImage(QRectF(0, 0, side, side), m_picture,
                              QRectF(0, 0, side * ratio, side * ratio));
            return;
        }
        painter.setClipRect(QRect(0, 0, side, side));
        WheelPainter(m_state, m_model, m_kind, m_look, side, height() / 20.0)
            .draw(painter, QSizeF(size()), m_caption);
    });
    if (!error.isEmpty())
        criticalMessage()(this, u"تحذير هام"_s,
                          u"تعذر حفظ الصورة "_s + path + u'\n' + error);
}

void FrmChart::print()
{
    // What the window shows: its own chart as last drawn, and its listing.
    const std::vector<TextSection> listing = positionsListing(m_state, m_kind.lastPoint);
    printPreview()(this, m_caption, [&](QPrinter& printer) {
        const int pages = printChart(printer, [&](QPainter& painter, double side) {
            WheelPainter(m_state, m_model, m_kind, m_look, side, side / 20.0)
                .draw(painter, QSizeF(side, side), m_caption);
        }, listing);
        if (pages == 0)
            criticalMessage()(this, u"تحذير هام"_s, u"تعذرت طباعة الهيئة"_s);
    });
}

} // namespace velmora::ui
