#pragma once

#include <QString>

namespace velmora::ui {

// Wraps each left-to-right run of a text shown in the right-to-left windows in an isolate
// (U+2066 ... U+2069), so that the run reads as one unit in its own order: a number with its
// sign and marks (0°52'35'', -0.33, 12:00, 1990/7/15) or Latin words with their blanks and
// closing punctuation (index hors plage !). Arabic text and runs already isolated stay as they
// are. For display only: the core's texts and what the windows hand on keep their bytes.
QString isolateRuns(const QString& text);

} // namespace velmora::ui
