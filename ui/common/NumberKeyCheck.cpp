#include "ui/common/NumberKeyCheck.h"

#include "ui/common/Seams.h"

#include <QKeyEvent>

namespace velmora::ui {

namespace {

bool typesANonDigit(const QKeyEvent& key)
{
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString typed = key.text();
    if (typed.isEmpty() || !typed.at(0).isPrint())
        return false;
    return !(typed.size() == 1 && typed.at(0) >= QLatin1Char('0') && typed.at(0) <= QLatin1Char('9'));
}

} // namespace

bool NumberKeyCheck::warnsAt(const QEvent& event)
{
    if (event.type() != QEvent::KeyPress && event.type() != QEvent::KeyRelease)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(event);
    if (event.type() == QEvent::KeyPress) {
        // A repeated press keeps the decision of the first.
        if (!key.isAutoRepeat())
            m_refusedKey = typesANonDigit(key) ? std::optional<int>(key.key()) : std::nullopt;
        return false;
    }
    if (key.isAutoRepeat() || m_refusedKey != key.key())
        return false;
    m_refusedKey.reset();
    return true;
}

void warnNotANumber(QWidget* parent)
{
    criticalMessage()(parent, QString::fromUtf8("تحذير هام"), QString::fromUtf8("الرجاء إدخال رقم صحيح"));
}

} // namespace velmora::ui
