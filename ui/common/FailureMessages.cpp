#include "ui/common/FailureMessages.h"

#include "wheel/CoreText.h"

namespace velmora::ui {

namespace {

// Day/month/year as the data-entry rows hold it, kept left to right inside the Arabic sentence
// so that the minus sign of a year before the era stays before its number.
QString dateText(const CalendarDate& date)
{
    return QChar(0x2066) + QStringLiteral("%1/%2/%3").arg(date.day).arg(date.month).arg(date.year) +
           QChar(0x2069);
}

QString reason(const EphemerisFailure& failure)
{
    switch (failure.problem) {
    case EphemerisProblem::OutsideFiles:
        return QString::fromUtf8("التاريخ خارج مدى ملفات الأزياج المثبتة، وهو من %1 إلى %2")
            .arg(dateText(failure.installed.first), dateText(failure.installed.last));
    case EphemerisProblem::InputOutOfRange:
        return QString::fromUtf8("السنة أو الساعة أو النطاق الزمني أو التعديل الصيفي خارج الحدود");
    case EphemerisProblem::Library:
    case EphemerisProblem::None:
        break;
    }
    return QString::fromUtf8("تعذر على مكتبة الأزياج إجراء الحساب");
}

} // namespace

QString ephemerisFailureMessage(const EphemerisFailure& failure)
{
    const QString text = reason(failure);
    return failure.libraryText.empty() ? text
                                       : text + QLatin1Char('\n') + fromCore(failure.libraryText);
}

} // namespace velmora::ui
