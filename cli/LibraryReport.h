#pragma once

#include "cli/ChartReport.h"
#include "core/ChartRequest.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora::cli {

// A saved chart looked up by its exact name: the request, or why there is none (2 for no such
// name or several, the candidates listed; 4 for a library that cannot be opened).
struct SavedLookup {
    std::optional<ChartRequest> request;
    CommandResult failure;
};
SavedLookup lookUpSaved(const std::string& name, const std::optional<std::string>& db);

// The chart options that compute a saved request as it was saved, keeping what `base` says
// about the output (--json, --aspects, --analysis).
ChartOptions optionsOfRequest(const ChartRequest& request, ChartOptions base);

// "library list|import|export|delete ..." with an optional --db PATH (the arguments that follow
// "library").
CommandResult runLibraryCommand(const std::vector<std::string>& args);

} // namespace velmora::cli
