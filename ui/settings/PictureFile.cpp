#include "ui/settings/PictureFile.h"

#include <QFile>
#include <QImageReader>

#include <cstdint>
#include <cstdlib>

namespace velmora::ui {

namespace {

std::uint32_t littleEndian(const uchar* bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

// An uncompressed BMP needs its pixel offset plus one padded row per line of the picture. Only
// pictures the reader accepted come here, so the sizes are within its allocation limit.
bool bmpComplete(const uchar* bytes, qint64 size)
{
    if (size < 26)
        return false;
    const std::uint32_t pixelOffset = littleEndian(bytes + 10, 4);
    const std::uint32_t headerSize = littleEndian(bytes + 14, 4);
    qint64 width = 0;
    qint64 height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    if (headerSize == 12) {
        width = littleEndian(bytes + 18, 2);
        height = littleEndian(bytes + 20, 2);
        bitsPerPixel = littleEndian(bytes + 24, 2);
    } else if (size >= 34) {
        width = static_cast<std::int32_t>(littleEndian(bytes + 18, 4));
        height = std::abs(static_cast<std::int32_t>(littleEndian(bytes + 22, 4)));
        bitsPerPixel = littleEndian(bytes + 28, 2);
        compression = littleEndian(bytes + 30, 4);
    }
    // Run-length pictures have no fixed size; their decoder stops at the end marker.
    constexpr std::uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
    if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields)
        return true;
    const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return size >= qint64(pixelOffset) + rowBytes * height;
}

bool isRestartMarker(uchar marker) { return marker >= 0xD0 && marker <= 0xD7; }

// Walks the JPEG's segments and scans to its end-of-image marker; a file that stops before
// that marker was cut short. Bytes after the marker (thumbnails, appended data) do not count.
bool jpegComplete(const uchar* bytes, qint64 size)
{
    qint64 at = 2; // past the start-of-image marker
    while (at + 1 < size) {
        if (bytes[at] != 0xFF || bytes[at + 1] == 0xFF) {
            ++at; // fill bytes and stray data between segments
            continue;
        }
        const uchar marker = bytes[at + 1];
        if (marker == 0xD9)
            return true;
        if (marker == 0x01 || isRestartMarker(marker)) {
            at += 2;
            continue;
        }
        if (at + 3 >= size)
            return false;
        at += 2 + ((qint64(bytes[at + 2]) << 8) | bytes[at + 3]);
        if (marker == 0xDA) {
            // Entropy-coded data: a 0xFF there is followed by a stuffed 0 or a restart marker.
            while (at + 1 < size &&
                   !(bytes[at] == 0xFF && bytes[at + 1] != 0 && !isRestartMarker(bytes[at + 1])))
                ++at;
        }
    }
    return false;
}

} // namespace

QImage readPictureFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0)
        return {};
    QImageReader reader(&file);
    const QByteArray format = reader.format(); // empty once the picture has been read
    QImage picture;
    if (!reader.read(&picture))
        return {};
    if (format != "bmp" && format != "jpeg")
        return picture;
    const uchar* bytes = file.map(0, file.size());
    if (!bytes)
        return {};
    const bool complete = format == "bmp" ? bmpComplete(bytes, file.size())
                                          : jpegComplete(bytes, file.size());
    return complete ? picture : QImage();
}

} // namespace velmora::ui
