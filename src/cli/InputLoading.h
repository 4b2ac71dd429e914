#pragma once

#include <string>

#include "cli/ArgumentMap.h"
#include "cli/InputJson.h"
#include "common/LoaderResult.h"

// Warns, for each input file of the command line that is missing or empty, that the file is
// empty. Only prints; the run goes on.
void checkInputFilesAsNotEmpty(const ArgumentMap& argumentMap);

// Loads the document named by option ("-s", "-r", "-n" or "-l"); fails when the option is not
// in the map.
LoaderResult loadJson(const std::string& option, const ArgumentMap& argumentMap);

// The routing or nodes document of a load; a null, {} or [] document is absent (no file name).
InputJson getRoutingJson(const LoaderResult& loaderResult);
InputJson getNodesJson(const LoaderResult& loaderResult);
// The same, taking the document over from the load instead of copying it.
InputJson getRoutingJson(LoaderResult&& loaderResult);
InputJson getNodesJson(LoaderResult&& loaderResult);
