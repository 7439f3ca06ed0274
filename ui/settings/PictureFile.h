#pragma once

#include <QImage>
#include <QString>

namespace velmora::ui {

// Reads a picture file (BMP, JPEG or any other format Qt reads). Returns a null image when the
// file does not open or decode, when it declares a picture larger than the reader's allocation
// limit, or when a BMP or JPEG ends before its picture data does: the decoders would fill the
// missing part in silently and report success.
QImage readPictureFile(const QString& path);

} // namespace velmora::ui
