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

QFont dialogFont(int pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Noto Sans Arabic UI"),
                      QStringLiteral("DejaVu Sans")});
    font.setPointSize(pointSize);
    return font;
}

} // namespace velmora::ui
