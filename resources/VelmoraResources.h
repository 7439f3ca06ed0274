#pragma once

#include <QString>

namespace velmora {

// Paths of the stored images inside the program's resources.
inline const QString kWorldMapImage = QStringLiteral(":/images/world-map.jpg");
inline const QString kDefaultBackgroundImage = QStringLiteral(":/images/background.jpg");
inline const QString kSplashImage = QStringLiteral(":/images/splash.jpg");
inline const QString kEmblemImage = QStringLiteral(":/images/emblem.png");
inline const QString kAboutImage = QStringLiteral(":/images/about.jpg");
// The information page of the chart menu, UTF-8 Markdown.
inline const QString kInformationText = QStringLiteral(":/texts/information.md");
inline const QString kSymbolFontFile = QStringLiteral(":/fonts/VelmoraFonts.ttf");
inline const QString kSymbolFontFamily = QStringLiteral("VelmoraFonts");

// Makes the embedded symbol font known to the font database, so that "VelmoraFonts" can be
// chosen by name anywhere. Returns false when the font could not be loaded.
bool registerSymbolFont();

} // namespace velmora
