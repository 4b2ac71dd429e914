#include "cli/InputLoading.h"

#include <utility>

#include "cli/JsonLoader.h"
#include "common/FileNames.h"
#include "common/Logger.h"

namespace {

void warnIfEmpty(bool notEmpty, const std::string& fileName) {
    if (!notEmpty) {
        Logger::logNotValidInputJson(fileName, "file is empty");
    }
}

InputJson presentUnlessEmpty(const std::string& fileName, Json document) {
    if (document.empty()) {
        return InputJson(std::string(), std::move(document));
    }
    return InputJson(fileName, std::move(document));
}

}  // namespace

void checkInputFilesAsNotEmpty(const ArgumentMap& argumentMap) {
    bool services = checkFileNotEmpty(argumentText(argumentMap, "-s"));
    bool routing = checkFileNotEmpty(argumentText(argumentMap, "-r"));
    bool nodes = checkFileNotEmpty(argumentText(argumentMap, "-n"));
    warnIfEmpty(services, SERVICES_JSON);
    warnIfEmpty(nodes, NODES_JSON);
    if (hasArgument(argumentMap, "-l")) {
        warnIfEmpty(checkFileNotEmpty(argumentText(argumentMap, "-l")), LIMITS_JSON);
    }
    warnIfEmpty(routing, ROUTING_JSON);
}

LoaderResult loadJson(const std::string& option, const ArgumentMap& argumentMap) {
    if (!hasArgument(argumentMap, option)) {
        return LoaderResult::failLoaderResult(
            "json flag " + option + " and json file name not found in the command line", "");
    }
    return JsonLoader(argumentText(argumentMap, option)).load();
}

InputJson getRoutingJson(const LoaderResult& loaderResult) {
    return presentUnlessEmpty(ROUTING_JSON, loaderResult.getJson());
}

InputJson getRoutingJson(LoaderResult&& loaderResult) {
    return presentUnlessEmpty(ROUTING_JSON, loaderResult.takeJson());
}

InputJson getNodesJson(const LoaderResult& loaderResult) {
    return presentUnlessEmpty(NODES_JSON, loaderResult.getJson());
}

InputJson getNodesJson(LoaderResult&& loaderResult) {
    return presentUnlessEmpty(NODES_JSON, loaderResult.takeJson());
}
