#include "ui/library/LibraryAccess.h"

#include "atlas/TextFolding.h"
#include "ui/common/Seams.h"
#include "wheel/CoreText.h"

#include <QStandardPaths>

#include <algorithm>
#include <memory>

namespace velmora::ui {

using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<library::ChartLibrary>& openLibrary()
{
    static std::unique_ptr<library::ChartLibrary> kept;
    return kept;
}

} // namespace

QString libraryFile()
{
    if (qEnvironmentVariableIsSet("VELMORA_LIBRARY")) {
        const QString path = qEnvironmentVariable("VELMORA_LIBRARY");
        return path.isEmpty() ? u":memory:"_s : path;
    }
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           u"/charts.sqlite"_s;
}

library::ChartLibrary* chartLibrary(QWidget* parent, bool quiet)
{
    auto& kept = openLibrary();
    if (kept)
        return kept.get();
    library::LibraryOpening opening = library::ChartLibrary::open(libraryFile().toStdString());
    if (!opening.library) {
        if (!quiet)
            criticalMessage()(parent, u"مكتبة الهيئات"_s,
                              u"تعذر فتح مكتبة الهيئات: %1"_s.arg(fromCore(opening.error)));
        return nullptr;
    }
    if (!opening.movedTo.empty()) {
        // Told even when quiet: the user must learn where the old charts went.
        criticalMessage()(parent, u"مكتبة الهيئات"_s,
                          u"تعذرت قراءة مكتبة الهيئات %1، فنُقلت كما هي إلى %2 وبدأت مكتبة "
                          u"جديدة."_s.arg(libraryFile(), fromCore(opening.movedTo)));
    }
    kept = std::move(opening.library);
    return kept.get();
}

void closeChartLibrary()
{
    openLibrary().reset();
}

void keepRecent(const ChartRequest& request)
{
    if (library::ChartLibrary* charts = chartLibrary(nullptr, true))
        charts->addRecent(request);
}

QString requestMoment(const ChartRequest& request)
{
    const DateTimeTexts& t = request.first.texts;
    const QString minute = fromCore(t.minute);
    return u"%1/%2/%3 %4:%5"_s.arg(fromCore(t.day), fromCore(t.month), fromCore(t.year),
                                   fromCore(t.hour),
                                   minute.size() < 2 ? u'0' + minute : minute);
}

QString requestPlace(const ChartRequest& request)
{
    if (request.place.atlas)
        return fromCore(request.place.atlas->name);
    const PlaceInput& c = request.place.coordinates;
    return u"%1°%2' %3  %4°%5' %6"_s.arg(fromCore(c.latDeg), fromCore(c.latMin),
                                         c.south ? u"جنوب"_s : u"شمال"_s, fromCore(c.lonDeg),
                                         fromCore(c.lonMin), c.west ? u"غرب"_s : u"شرق"_s);
}

bool requestMatches(const ChartRequest& request, const QString& query)
{
    // Case folded here as the full-text search folds it for saved charts.
    const auto folded = [](const std::string& text) {
        return QString::fromStdString(text).toCaseFolded().toStdString();
    };
    const std::string place = request.place.atlas ? request.place.atlas->name : std::string();
    const std::vector<std::string> known =
        atlas::words(folded(atlas::indexedWords(request.name + " " + place)));
    for (const std::string& word : atlas::words(folded(atlas::searchText(query.toStdString())))) {
        const bool begins = std::any_of(known.begin(), known.end(), [&](const std::string& w) {
            return w.compare(0, word.size(), word) == 0;
        });
        if (!begins)
            return false;
    }
    return true;
}

} // namespace velmora::ui
