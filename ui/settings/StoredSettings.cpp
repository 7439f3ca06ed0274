#include "ui/settings/StoredSettings.h"

#include "atlas/Atlas.h"
#include "core/PositionTexts.h"
#include "ui/settings/ColorSwatch.h"
#include "ui/settings/FrmThemeProprietees.h"
#include "ui/settings/PictureFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QWidget>

#include <cmath>

namespace velmora::ui {

using namespace Qt::StringLiterals;

namespace {

QString indexed(const QString& key, int index)
{
    return key + QString::number(index);
}

// A whole number as the store functions write it, read back only within its range.
std::optional<long long> wholeNumber(const QSettings& file, const QString& key, long long low,
                                     long long high)
{
    bool ok = false;
    const long long value = file.value(key).toString().toLongLong(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<bool> flag(const QSettings& file, const QString& key)
{
    const QString text = file.value(key).toString();
    if (text == "true"_L1)
        return true;
    if (text == "false"_L1)
        return false;
    return std::nullopt;
}

std::optional<double> finiteNumber(const QSettings& file, const QString& key, double bound)
{
    bool ok = false;
    const double value = file.value(key).toString().toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::abs(value) > bound)
        return std::nullopt;
    return value;
}

// Digits only, as the number boxes take them, at most `length` of them, up to `high`.
std::optional<std::string> boxDigits(const QSettings& file, const QString& key, int length,
                                     int high)
{
    const QString text = file.value(key).toString();
    if (text.isEmpty() || text.size() > length)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    if (text.toInt() > high)
        return std::nullopt;
    return text.toStdString();
}

void restoreCheck(QCheckBox* box, const QSettings& file, const QString& key)
{
    if (const auto on = flag(file, key))
        box->setChecked(*on);
}

} // namespace

std::unique_ptr<QSettings> settingsFile()
{
    if (qEnvironmentVariableIsSet("VELMORA_SETTINGS")) {
        const QString path = qEnvironmentVariable("VELMORA_SETTINGS");
        if (path.isEmpty())
            return nullptr;
        return std::make_unique<QSettings>(path, QSettings::IniFormat);
    }
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       u"velmora"_s, u"velmora"_s);
}

void storeAppearance(const FrmThemeProprietees& dialog, QSettings& file)
{
    file.beginGroup(u"appearance"_s);
    for (int i = 0; i < FrmThemeProprietees::kSwatchCount; ++i)
        file.setValue(indexed(u"color"_s, i), dialog.LabColor[i]->value());
    for (int i = 0; i < kAspectKindCount; ++i) {
        file.setValue(indexed(u"orb"_s, i), dialog.TxtAspect[i]->text());
        file.setValue(indexed(u"aspectShown"_s, i), dialog.Aspect[i]->isChecked());
    }
    for (int i = 0; i < kSlotCount; ++i)
        file.setValue(indexed(u"pointShown"_s, i), dialog.Planete[i]->isChecked());
    for (int i = 0; i < kPointsPerChart; ++i)
        file.setValue(indexed(u"pointInAspects"_s, i), dialog.AspectPlanet[i]->isChecked());
    file.setValue(u"houses"_s, dialog.ShowMaison->isChecked());
    file.setValue(u"signPictures"_s, dialog.OptZodiacGrph[1]->isChecked());
    file.setValue(u"startAtAscendant"_s, dialog.OptZodiacPos[0]->isChecked());
    file.setValue(u"background"_s, dialog.ChkActifPic->isChecked());
    file.setValue(u"backgroundPicture"_s, dialog.TxtURL->text());
    file.setValue(u"spreadGlyphs"_s, dialog.ChkSpread->isChecked());
    file.setValue(u"houseSystem"_s, dialog.CmbMaisons->currentIndex());
    file.endGroup();
}

void restoreAppearance(FrmThemeProprietees& dialog, const QSettings& stored)
{
    // beginGroup is not const: read through full keys instead.
    const auto key = [](const QString& name) { return u"appearance/"_s + name; };
    for (int i = 0; i < FrmThemeProprietees::kSwatchCount; ++i) {
        if (const auto colour = wholeNumber(stored, key(indexed(u"color"_s, i)), 0, 0xFFFFFF))
            dialog.LabColor[i]->setValue(static_cast<ColorValue>(*colour));
    }
    for (int i = 0; i < kAspectKindCount; ++i) {
        if (const auto orb = boxDigits(stored, key(indexed(u"orb"_s, i)),
                                       dialog.TxtAspect[i]->maxLength(), 99))
            dialog.TxtAspect[i]->setText(QString::fromStdString(*orb));
        restoreCheck(dialog.Aspect[i], stored, key(indexed(u"aspectShown"_s, i)));
    }
    // The shown points first: showing a point puts it back into the aspect search.
    for (int i = 0; i < kSlotCount; ++i)
        restoreCheck(dialog.Planete[i], stored, key(indexed(u"pointShown"_s, i)));
    for (int i = 0; i < kPointsPerChart; ++i)
        restoreCheck(dialog.AspectPlanet[i], stored, key(indexed(u"pointInAspects"_s, i)));
    restoreCheck(dialog.ShowMaison, stored, key(u"houses"_s));
    if (const auto pictures = flag(stored, key(u"signPictures"_s)))
        dialog.OptZodiacGrph[*pictures ? 1 : 0]->setChecked(true);
    if (const auto ascendant = flag(stored, key(u"startAtAscendant"_s)))
        dialog.OptZodiacPos[*ascendant ? 0 : 1]->setChecked(true);
    restoreCheck(dialog.ChkActifPic, stored, key(u"background"_s));
    restoreCheck(dialog.ChkSpread, stored, key(u"spreadGlyphs"_s));
    if (const auto system = wholeNumber(stored, key(u"houseSystem"_s), 0, kHouseSystemCount - 1))
        dialog.CmbMaisons->setCurrentIndex(static_cast<int>(*system));
    const QString path = stored.value(key(u"backgroundPicture"_s)).toString();
    if (!path.isEmpty() && path != dialog.TxtURL->text()) {
        const QImage picture = readPictureFile(QDir::fromNativeSeparators(path));
        if (!picture.isNull())
            dialog.showPicture(path, picture);
    }
}

void storeEntry(const StoredEntry& entry, QSettings& file)
{
    file.beginGroup(u"entry"_s);
    if (entry.name)
        file.setValue(u"name"_s, *entry.name);
    if (entry.place) {
        const RequestPlace& place = *entry.place;
        file.setValue(u"latDeg"_s, QString::fromStdString(place.coordinates.latDeg));
        file.setValue(u"latMin"_s, QString::fromStdString(place.coordinates.latMin));
        file.setValue(u"lonDeg"_s, QString::fromStdString(place.coordinates.lonDeg));
        file.setValue(u"lonMin"_s, QString::fromStdString(place.coordinates.lonMin));
        file.setValue(u"south"_s, place.coordinates.south);
        file.setValue(u"west"_s, place.coordinates.west);
        file.setValue(u"summer"_s, QString::fromStdString(place.summerText));
        file.setValue(u"zone"_s, QString::fromStdString(entry.zoneText.value_or("")));
        // An atlas place is kept by what finds it again; a map place has none.
        file.remove(u"city"_s);
        if (place.atlas) {
            file.setValue(u"city/name"_s, QString::fromStdString(place.atlas->name));
            file.setValue(u"city/timeZone"_s, QString::fromStdString(place.atlas->timeZone));
            file.setValue(u"city/latitude"_s, QString::number(place.atlas->latitude, 'g', 17));
            file.setValue(u"city/longitude"_s, QString::number(place.atlas->longitude, 'g', 17));
        }
    }
    file.endGroup();
}

StoredEntry restoredEntry(const QSettings& stored)
{
    const auto key = [](const QString& name) { return u"entry/"_s + name; };
    StoredEntry entry;
    const QVariant name = stored.value(key(u"name"_s));
    if (name.isValid() && name.toString().size() <= kLongestName)
        entry.name = name.toString();

    // The place comes back whole or not at all: half a place is another place.
    const auto latDeg = boxDigits(stored, key(u"latDeg"_s), 2, 90);
    const auto latMin = boxDigits(stored, key(u"latMin"_s), 2, 59);
    const auto lonDeg = boxDigits(stored, key(u"lonDeg"_s), 3, 180);
    const auto lonMin = boxDigits(stored, key(u"lonMin"_s), 2, 59);
    const auto south = flag(stored, key(u"south"_s));
    const auto west = flag(stored, key(u"west"_s));
    const QString summer = stored.value(key(u"summer"_s)).toString();
    bool summerOk = false;
    const double summerHours = summer.toDouble(&summerOk);
    if (!latDeg || !latMin || !lonDeg || !lonMin || !south || !west || !summerOk ||
        std::abs(summerHours) > 24 || summer.size() > 16)
        return entry;
    RequestPlace place;
    place.coordinates = {*lonDeg, *lonMin, *latDeg, *latMin, *west, *south};
    place.summerText = summer.toStdString();
    const QString zone = stored.value(key(u"zone"_s)).toString();
    bool zoneOk = false;
    if (std::abs(zone.toInt(&zoneOk)) <= 24 && zoneOk)
        entry.zoneText = zone.toStdString();

    const QString timeZone = stored.value(key(u"city/timeZone"_s)).toString();
    const auto latitude = finiteNumber(stored, key(u"city/latitude"_s), 90);
    const auto longitude = finiteNumber(stored, key(u"city/longitude"_s), 180);
    const QString city = stored.value(key(u"city/name"_s)).toString();
    if (latitude && longitude && atlas::isZoneName(timeZone.toStdString()) && !city.isEmpty() &&
        city.size() <= 200)
        place.atlas = AtlasIdentity{city.toStdString(), timeZone.toStdString(), *latitude,
                                    *longitude};
    entry.place = place;
    return entry;
}

void storeWindowGeometry(const QWidget& window, QSettings& file)
{
    file.setValue(u"window/geometry"_s, window.saveGeometry());
}

void restoreWindowGeometry(QWidget& window, const QSettings& file)
{
    // Qt refuses what it cannot read and leaves the window as it was.
    window.restoreGeometry(file.value(u"window/geometry"_s).toByteArray());
}

} // namespace velmora::ui
