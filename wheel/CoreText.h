#pragma once

#include <QString>

#include <string>

namespace velmora::ui {

// Turns UTF-8 text of the core into a QString.
inline QString fromCore(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

} // namespace velmora::ui
