#include "resources/VelmoraResources.h"

#include <QFontDatabase>
#include <QStringList>

namespace velmora {

bool registerSymbolFont()
{
    static const int id = QFontDatabase::addApplicationFont(kSymbolFontFile);
    return id >= 0 && QFontDatabase::applicationFontFamilies(id).contains(kSymbolFontFamily);
}

} // namespace velmora
