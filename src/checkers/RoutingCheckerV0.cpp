#include "checkers/RoutingCheckerV0.h"

#include <string>

#include "common/FileNames.h"
#include "common/Logger.h"

RoutingCheckerV0::RoutingCheckerV0(const Json& service) : RoutingChecker(service) {}

bool RoutingCheckerV0::isDefaultEntry(const Json& entry) {
    return has(entry, "consumer") && entry.at("consumer").is_string() &&
           entry.at("consumer").get_ref<const std::string&>() == "default";
}

CheckResult RoutingCheckerV0::checkFields(const Json& routing) const {
    CheckResult result;
    for (const auto& entry : routing) {
        result.addResult(checkRoutes(entry));
        if (isDefaultEntry(entry)) {
            result.addResult(checkDefault(entry));
        } else if (has(entry, "consumer") && !entry.at("consumer").is_string()) {
            // The schema-0 routing builder reads "consumer" as a string.
            addFailure(result, "\"consumer\" must be string");
        }
    }
    return result;
}

ResultBase RoutingCheckerV0::checkDefaultRoute(const Json& routing) const {
    for (const auto& entry : routing) {
        if (isDefaultEntry(entry)) {
            return ResultBase::Ok();
        }
    }
    const std::string message = "default route for VEK not found 1!";
    Logger::logNotValidInputJson(ROUTING_JSON, message);
    return ResultBase::Fail(message);
}
