#pragma once

#include "core/Ephemeris.h"

#include <QString>

namespace velmora::ui {

// The Arabic text of a computation that failed, for a message box: what went wrong (for a date
// outside the installed files, their range) and, on a second line, the library's own words
// when it gave any.
QString ephemerisFailureMessage(const EphemerisFailure& failure);

} // namespace velmora::ui
