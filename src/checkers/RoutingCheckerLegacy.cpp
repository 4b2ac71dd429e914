#include "checkers/RoutingCheckerLegacy.h"

#include <string>

#include "common/FileNames.h"
#include "common/Logger.h"

RoutingCheckerLegacy::RoutingCheckerLegacy(const Json& service) : RoutingChecker(service) {}

CheckResult RoutingCheckerLegacy::checkFields(const Json& routing) const {
    CheckResult result;
    for (const auto& entry : routing) {
        result.addResult(checkEntryFields(entry));
    }
    return result;
}

ResultBase RoutingCheckerLegacy::checkDefaultRoute(const Json& routing) const {
    for (const auto& entry : routing) {
        if (has(entry, "default")) {
            return ResultBase::Ok();
        }
    }
    const std::string message = "default route for VEK not found !";
    Logger::logNotValidInputJson(ROUTING_JSON, message);
    return ResultBase::Fail(message);
}
