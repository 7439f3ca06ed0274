#pragma once

#include <QString>

#include <functional>
#include <optional>

class QPainter;

namespace velmora::ui {

enum class PictureFormat { Png, Bmp, Svg, Pdf };

// The format a file name's suffix names, in any case; nothing for any other suffix.
std::optional<PictureFormat> pictureFormatOf(const QString& path);

// Writes a square picture of side `size` logical pixels that `draw` paints: PNG and BMP from an
// RGB32 image, SVG and PDF as vectors at 96 dpi, titled `title`. The file is written through a
// temporary one, so a failure never leaves a partial file under the name. Returns the reason
// of a failure, or an empty text.
QString writePicture(const QString& path, PictureFormat format, int size, const QString& title,
                     const std::function<void(QPainter&)>& draw);

} // namespace velmora::ui
