#include "ui/common/NumberKeyCheck.h"

#include "ui/common/Seams.h"

#include <QKeyEvent>

namespace velmora::ui {

bool isRefusedNumberKey(const QKeyEvent& key)
{
    const QString typed = key.text();
    if (key.isAutoRepeat() || typed.isEmpty() || !typed.at(0).isPrint())
        return false;
    return !(typed.size() == 1 && typed.at(0) >= QLatin1Char('0') && typed.at(0) <= QLatin1Char('9'));
}

void warnNotANumber(QWidget* parent)
{
    criticalMessage()(parent, QString::fromUtf8("تحذير هام"), QString::fromUtf8("الرجاء إدخال رقم صحيح"));
}

} // namespace velmora::ui
