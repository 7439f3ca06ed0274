// Builds the place index from the GeoNames cities of libgeonames: the Latin names as the
// library stores them, then the Arabic ones through its translations (text domain "geonames").
//
//   velmora-atlas-index OUTPUT.sqlite

#include "atlas/Atlas.h"

#include <geonames.h>

#include <clocale>
#include <cstdlib>
#include <iostream>

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

    const std::string error = velmora::atlas::writeIndex(argv[1], std::move(places));
    if (!error.empty()) {
        std::cerr << "velmora-atlas-index: " << error << '\n';
        return 1;
    }
    std::cout << "velmora-atlas-index: " << count << " places, " << translated
              << " with an Arabic name, in " << argv[1] << '\n';
    return 0;
}
