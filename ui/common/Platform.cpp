#include "ui/common/Platform.h"

#include <QMessageBox>

namespace velmora::ui {

CriticalMessage& criticalMessage()
{
    static CriticalMessage show = [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox::critical(parent, title, text, QMessageBox::Ok);
    };
    return show;
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
