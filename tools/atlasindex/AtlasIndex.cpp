// Builds the place index from the GeoNames cities of libgeonames: the Latin names as the
// library stores them, then the Arabic ones through its translations (text domain "geonames"),
// then, as search keys only, the names its other catalogues give in Latin or Arabic letters
// ("Mecca", "Marrakech", "Fez").
//
//   velmora-atlas-index OUTPUT.sqlite

#include "atlas/Atlas.h"

#include <geonames.h>

#include <libintl.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cuchar>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

// The gettext counter that makes a running program read its catalogues again after a change
// of language (GNU gettext manual, "Being a gettext grok").
extern "C" int _nl_msg_cat_cntr;

namespace {

std::string text(const char* value)
{
    return value ? value : "";
}

// Sets the language of the library's texts: "C" for none, "ar" for Arabic.
void useLanguage(const char* language)
{
    setenv("LANGUAGE", language, 1);
    ++_nl_msg_cat_cntr;
}

// The languages libgeonames has a catalogue for, but the Arabic one already read.
std::vector<std::string> otherLanguages()
{
    std::vector<std::string> out;
    const char* folder = bindtextdomain("geonames", nullptr);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder ? folder : "", error)) {
        const std::string language = entry.path().filename().string();
        if (language != "ar" && std::filesystem::exists(entry.path() / "LC_MESSAGES" / "geonames.mo"))
            out.push_back(language);
    }
    std::sort(out.begin(), out.end());
    return out;
}

// Whether a name can be typed in the search box, in Latin or Arabic letters (with blanks,
// digits and punctuation); names in other scripts would only grow the index.
bool typable(const std::string& name)
{
    std::mbstate_t state{};
    const char* at = name.data();
    const char* end = at + name.size();
    while (at < end) {
        char32_t c = 0;
        const std::size_t length = std::mbrtoc32(&c, at, static_cast<std::size_t>(end - at), &state);
        if (length == 0 || length > static_cast<std::size_t>(end - at))
            return false;
        const bool latin = c < 0x0250 || (c >= 0x1E00 && c <= 0x1EFF);
        const bool arabic = (c >= 0x0600 && c <= 0x06FF) || (c >= 0x0750 && c <= 0x077F) ||
                            (c >= 0xFB50 && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF);
        const bool layout = (c >= 0x2000 && c <= 0x206F);
        if (!latin && !arabic && !layout)
            return false;
        at += length;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: velmora-atlas-index OUTPUT.sqlite\n";
        return 2;
    }
    // Translations are looked up by LANGUAGE under any locale but "C"; this one needs no files.
    if (!std::setlocale(LC_ALL, "C.UTF-8")) {
        std::cerr << "velmora-atlas-index: the C.UTF-8 locale is missing\n";
        return 1;
    }

    const int count = geonames_get_n_cities();
    std::vector<velmora::atlas::Place> places(static_cast<std::size_t>(count));
    useLanguage("C");
    for (int i = 0; i < count; ++i) {
        GeonamesCity* city = geonames_get_city(i);
        auto& place = places[static_cast<std::size_t>(i)];
        place.nameLatin = text(geonames_city_get_name(city));
        place.regionLatin = text(geonames_city_get_state(city));
        place.countryLatin = text(geonames_city_get_country(city));
        place.latitude = geonames_city_get_latitude(city);
        place.longitude = geonames_city_get_longitude(city);
        place.zone = text(geonames_city_get_timezone(city));
        place.population = geonames_city_get_population(city);
        geonames_city_free(city);
    }

    useLanguage("ar");
    int translated = 0;
    for (int i = 0; i < count; ++i) {
        GeonamesCity* city = geonames_get_city(i);
        auto& place = places[static_cast<std::size_t>(i)];
        place.name = text(geonames_city_get_name(city));
        place.region = text(geonames_city_get_state(city));
        place.country = text(geonames_city_get_country(city));
        translated += place.name != place.nameLatin;
        geonames_city_free(city);
    }
    // Without the Arabic catalogue every name would stay Latin: refuse rather than ship that.
    if (count == 0 || translated == 0) {
        std::cerr << "velmora-atlas-index: libgeonames gave " << count << " places and no Arabic"
                  << " names (are libgeonames0 and libgeonames-common installed?)\n";
        return 1;
    }

    // A name is kept once per place, and not when it is already the Arabic or main Latin one.
    std::size_t otherNames = 0;
    for (const std::string& language : otherLanguages()) {
        useLanguage(language.c_str());
        for (int i = 0; i < count; ++i) {
            GeonamesCity* city = geonames_get_city(i);
            auto& place = places[static_cast<std::size_t>(i)];
            const std::string name = text(geonames_city_get_name(city));
            geonames_city_free(city);
            auto& others = place.otherNames;
            if (name != place.name && name != place.nameLatin && typable(name) &&
                std::find(others.begin(), others.end(), name) == others.end()) {
                others.push_back(name);
                ++otherNames;
            }
        }
    }

    const std::string error = velmora::atlas::writeIndex(argv[1], std::move(places));
    if (!error.empty()) {
        std::cerr << "velmora-atlas-index: " << error << '\n';
        return 1;
    }
    std::cout << "velmora-atlas-index: " << count << " places, " << translated
              << " with an Arabic name, " << otherNames << " other names, in " << argv[1]
              << '\n';
    return 0;
}
