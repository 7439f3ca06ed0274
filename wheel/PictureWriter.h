#pragma once

#include <QString>

#include <functional>
#include <optional>

class QByteArray;
class QPainter;

namespace velmora::ui {

enum class PictureFormat { Png, Bmp, Svg, Pdf };

// The format a file name's suffix names, in any case; nothing for any other suffix.
std::optional<PictureFormat> pictureFormatOf(const QString& path);

// Writes a square picture of side `size` logical pixels that `draw` paints: PNG and BMP from an
// RGB32 image, SVG and PDF as vectors at 96 dpi, titled `title`. The picture is made whole in
// memory, then written through a temporary file that replaces the named one only once every
// byte is written, so a failure leaves an earlier file as it was. A name that exists but is not
// a regular file (a device, a directory, a link to one) is refused. Returns the reason of a
// failure, or an empty text.
// Writes `bytes` as the whole content of the file `path`, in the same way.
QString writeWholeFile(const QString& path, const QByteArray& bytes);

QString writePicture(const QString& path, PictureFormat format, int size, const QString& title,
                     const std::function<void(QPainter&)>& draw);

} // namespace velmora::ui
