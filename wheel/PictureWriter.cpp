#include "wheel/PictureWriter.h"

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

QString writePicture(const QString& path, PictureFormat format, int size, const QString& title,
                     const std::function<void(QPainter&)>& draw)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();

    bool painted = false;
    if (format == PictureFormat::Png || format == PictureFormat::Bmp) {
        QImage image(size, size, QImage::Format_RGB32);
        if (image.isNull())
            return QStringLiteral("not enough memory for a picture of %1 pixels").arg(size);
        QPainter painter(&image);
        draw(painter);
        painter.end();
        painted = image.save(&file, format == PictureFormat::Png ? "PNG" : "BMP");
    } else if (format == PictureFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(QSize(size, size));
        svg.setViewBox(QRect(0, 0, size, size));
        svg.setResolution(96);
        svg.setTitle(title);
        QPainter painter;
        painted = painter.begin(&svg);
        if (painted)
            draw(painter);
    } else {
        QPdfWriter pdf(&file);
        pdf.setResolution(96);
        pdf.setCreator(QStringLiteral("Velmora"));
        pdf.setTitle(title);
        // One page of exactly the picture's size: S pixels at 96 per inch, in points.
        const double side = size * 72.0 / 96.0;
        pdf.setPageSize(QPageSize(QSizeF(side, side), QPageSize::Point, QString(),
                                  QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF());
        QPainter painter;
        painted = painter.begin(&pdf);
        if (painted)
            draw(painter);
    }
    if (!painted || !file.commit())
        return file.errorString();
    return {};
}

} // namespace velmora::ui
