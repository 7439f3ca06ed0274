#include "ui/common/Look.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QProxyStyle>
#include <QTranslator>

namespace velmora::ui {

namespace {

class ButtonsWithoutIcons final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override
    {
        return hint == SH_DialogButtonBox_ButtonsHaveIcons
                   ? 0
                   : QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

} // namespace

void arabicQtDialogs()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qtbase_ar"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
    QApplication::setStyle(new ButtonsWithoutIcons);
}

QString navyStyle(const QString& objectName)
{
    return u'#' + objectName +
           QStringLiteral(" { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                          " stop:0 #26305c, stop:1 #141a38); }");
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
