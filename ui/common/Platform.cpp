#include "ui/common/Platform.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QUrl>
#include <QFileDialog>
#include <QMessageBox>

namespace velmora::ui {

CriticalMessage& criticalMessage()
{
    static CriticalMessage show = [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox::critical(parent, title, text, QMessageBox::Ok);
    };
    return show;
}

Clock& clock()
{
    static Clock now = [] { return QDateTime::currentDateTime(); };
    return now;
}

ColorChooser& colorChooser()
{
    static ColorChooser choose = [](QWidget* parent, const QColor& initial) {
        return QColorDialog::getColor(initial, parent);
    };
    return choose;
}

OpenFileChooser& openFileChooser()
{
    static OpenFileChooser choose = [](QWidget* parent, const QString& caption,
                                       const QString& folder, const QString& filters) {
        return QFileDialog::getOpenFileName(parent, caption, folder, filters);
    };
    return choose;
}

SaveFileChooser& saveFileChooser()
{
    static SaveFileChooser choose = [](QWidget* parent, const QString& caption,
                                       const QString& folder, const QString& filters) {
        SaveChoice choice;
        choice.path = QFileDialog::getSaveFileName(parent, caption, folder, filters, &choice.filter);
        return choice;
    };
    return choose;
}

LinkOpener& linkOpener()
{
    static LinkOpener open = [](const QUrl& link) { return QDesktopServices::openUrl(link); };
    return open;
}

QColor colorFromValue(ColorValue value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
}

ColorValue valueFromColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return static_cast<ColorValue>(static_cast<std::uint32_t>(rgb.red())
                                   | (static_cast<std::uint32_t>(rgb.green()) << 8)
                                   | (static_cast<std::uint32_t>(rgb.blue()) << 16));
}

QFont dialogFont(int pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Noto Sans Arabic UI"),
                      QStringLiteral("DejaVu Sans")});
    font.setPointSize(pointSize);
    return font;
}

} // namespace velmora::ui
