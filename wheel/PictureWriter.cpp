#include "wheel/PictureWriter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <map>

namespace velmora::ui {

std::optional<PictureFormat> pictureFormatOf(const QString& path)
{
    static const std::map<QString, PictureFormat> formats = {
        {QStringLiteral("png"), PictureFormat::Png},
        {QStringLiteral("bmp"), PictureFormat::Bmp},
        {QStringLiteral("svg"), PictureFormat::Svg},
        {QStringLiteral("pdf"), PictureFormat::Pdf},
    };
    const auto it = formats.find(QFileInfo(path).suffix().toLower());
    if (it == formats.end())
        return std::nullopt;
    return it->second;
}

QString writeWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    // Unbuffered, so that each write reports the system's own reason of a failure (a full disk
    // is "No space left on device") instead of a later flush losing it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString why = file.errorString();
            file.cancelWriting();
            return why;
        }
        done += written;
    }
    // The earlier file is replaced only now, by a complete one.
    if (!file.commit())
        return file.errorString();
    return {};
}

QString writePicture(const QString& path, PictureFormat format, int size, const QString& title,
                     const std::function<void(QPainter&)>& draw)
{
    // Saving through a link to a device would replace the device node by a regular file.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return QStringLiteral("it exists and is not a regular file");

    // The whole picture is made in memory first, so that a failure of the painter or of the
    // format's writer is known before the file is touched.
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    bool painted = false;
    if (format == PictureFormat::Png || format == PictureFormat::Bmp) {
        QImage image(size, size, QImage::Format_RGB32);
        if (image.isNull())
            return QStringLiteral("not enough memory for a picture of %1 pixels").arg(size);
        QPainter painter(&image);
        draw(painter);
        painted = painter.end() &&
                  image.save(&bytes, format == PictureFormat::Png ? "PNG" : "BMP");
    } else if (format == PictureFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&bytes);
        svg.setSize(QSize(size, size));
        svg.setViewBox(QRect(0, 0, size, size));
        svg.setResolution(96);
        svg.setTitle(title);
        QPainter painter;
        if (painter.begin(&svg)) {
            draw(painter);
            painted = painter.end();
        }
    } else {
        QPdfWriter pdf(&bytes);
        pdf.setResolution(96);
        pdf.setCreator(QStringLiteral("Velmora"));
        pdf.setTitle(title);
        // One page of exactly the picture's size: S pixels at 96 per inch, in points.
        const double side = size * 72.0 / 96.0;
        pdf.setPageSize(QPageSize(QSizeF(side, side), QPageSize::Point, QString(),
                                  QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF());
        QPainter painter;
        if (painter.begin(&pdf)) {
            draw(painter);
            painted = painter.end();
        }
    }
    if (!painted)
        return QStringLiteral("the picture could not be drawn");
    return writeWholeFile(path, bytes.data());
}

} // namespace velmora::ui
