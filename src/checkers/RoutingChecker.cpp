#include "checkers/RoutingChecker.h"

#include <iostream>
#include <set>
#include <string>

#include "common/FileNames.h"
#include "common/Logger.h"

namespace {
// Where the message about a routing table with external-gateway entries only sends the user.
const char* const k_routingDocAddress = "docs/inputs.md#routing";
}  // namespace

RoutingChecker::RoutingChecker(const Json& service) : CheckerBase(service) {}

CheckResult RoutingChecker::check() const {
    CheckResult result;
    result.addResult(checkSubsystem());
    result.addResult(checkDeploymentUnit());
    result.addResult(checkRouting());
    return result;
}

CheckResult RoutingChecker::checkRouting() const {
    CheckResult result;
    if (!has(json(), "routing")) {
        return result;
    }
    const Json& routing = json().at("routing");
    if (!routing.is_array()) {
        addFailure(result, "\"routing\" must be array");
        return result;
    }
    result.addResult(checkFields(routing));
    result.addResult(checkDefaultRoute(routing));
    result.addResult(checkQueryBalancingGroup(json()));
    return result;
}

CheckResult RoutingChecker::checkFields(const Json& routing) const {
    CheckResult result;
    for (const auto& entry : routing) {
        if (!has(entry, "apiVersion")) {
            result.addResult(checkEntryFields(entry));
        }
    }
    return result;
}

CheckResult RoutingChecker::checkEntryFields(const Json& entry) const {
    CheckResult result = checkRoutes(entry);
    const bool hasConsumer = has(entry, "consumer");
    const bool hasDefault = has(entry, "default");
    if (hasConsumer && hasDefault) {
        addFailure(result, "must be only one of \"consumer\" OR \"default\" sections");
        return result;
    }
    if (hasConsumer) {
        result.addResult(checkConsumer(entry));
    }
    if (hasDefault) {
        result.addResult(checkDefault(entry));
    }
    return result;
}

ResultBase RoutingChecker::checkDefaultRoute(const Json& routing) const {
    bool externalGatewaySeen = false;
    for (const auto& entry : routing) {
        if (has(entry, "apiVersion")) {
            externalGatewaySeen = true;
        } else if (has(entry, "default")) {
            return ResultBase::Ok();
        }
    }
    if (externalGatewaySeen) {
        return ResultBase::Fail(
            std::string("'apiVersion' section found for EXT_GW. But default route for VEK not "
                        "found ! \n ") +
            k_routingDocAddress);
    }
    const std::string message = "default route for VEK not found !";
    Logger::logNotValidInputJson(ROUTING_JSON, message);
    return ResultBase::Fail(message);
}

CheckResult RoutingChecker::checkQueryBalancingGroup(const Json& service) const {
    CheckResult result;
    std::set<std::string> groupNames;
    if (!has(service, "apiVersions")) {
        addFailure(result, "\"apiVersions\"  not found in nodes");
    } else {
        for (const auto& apiVersion : service.at("apiVersions")) {
            if (!has(apiVersion, "nodeGroups")) {
                continue;
            }
            for (const auto& nodeGroup : apiVersion.at("nodeGroups")) {
                // A non-string name is reported by the upstream rules.
                if (has(nodeGroup, "groupName") && nodeGroup.at("groupName").is_string()) {
                    groupNames.insert(nodeGroup.at("groupName").get<std::string>());
                }
            }
        }
    }
    if (!has(service, "routing")) {
        return result;
    }
    for (const auto& entry : service.at("routing")) {
        // Missing or malformed "routes" are reported by checkRoutes.
        if (!has(entry, "routes") || !entry.at("routes").is_array()) {
            continue;
        }
        for (const auto& route : entry.at("routes")) {
            if (!has(route, "groupName")) {
                addFailure(result, "\"groupName\" not exists in routing");
                continue;
            }
            const Json& name = route.at("groupName");
            // A non-string name is reported by checkGroupName.
            if (name.is_string() && groupNames.count(name.get<std::string>()) == 0) {
                std::cout << "WARNING: routing groupName: \"" << name.get<std::string>()
                          << "\" not found in nodes\n";
            }
        }
    }
    return result;
}

CheckResult RoutingChecker::checkRoutes(const Json& entry) const {
    CheckResult result;
    if (!has(entry, "routes")) {
        addFailure(result, "\"routes\" not exists");
        return result;
    }
    const Json& routes = entry.at("routes");
    if (!routes.is_array()) {
        addFailure(result, "\"routes\" must be array");
        return result;
    }
    if (routes.empty()) {
        addFailure(result, "\"routes\" must be not empty array");
        return result;
    }
    for (const auto& route : routes) {
        if (!route.is_object()) {
            addFailure(result, "\"routes\" must be array with objects");
            continue;
        }
        result.addResult(checkGroupName(route));
        result.addResult(checkQuota(route));
    }
    return result;
}

CheckResult RoutingChecker::checkGroupName(const Json& route) const {
    CheckResult result;
    if (!has(route, "groupName")) {
        addFailure(result, "\"groupName\" not exists in one of the route");
    } else if (!route.at("groupName").is_string()) {
        addFailure(result, "\"groupName\" must be string");
    } else if (!isNonEmptyString(route.at("groupName"))) {
        addFailure(result, "\"groupName\" is empty");
    }
    return result;
}

CheckResult RoutingChecker::checkQuota(const Json& route) const {
    CheckResult result;
    if (has(route, "quota") && !route.at("quota").is_number_unsigned()) {
        addFailure(result, "\"quota\" must be unsigned int");
    }
    return result;
}

CheckResult RoutingChecker::checkConsumer(const Json& entry) const {
    CheckResult result;
    if (!has(entry, "consumer")) {
        return result;
    }
    const Json& consumer = entry.at("consumer");
    if (!consumer.is_object()) {
        addFailure(result, "\"consumer\" must be object");
        return result;
    }
    if (!has(consumer, "release") && !has(consumer, "deploymentUnit")) {
        addFailure(result, "field \"release\" or \"deploymentUnit\" must be in \"consumer\"");
    }
    if (has(consumer, "version") && !has(consumer, "deploymentUnit")) {
        addFailure(result,
                   "\"deploymentUnit\" must be in \"consumer\" if \"consumer.version\" exists");
    }
    result.addResult(checkConsumerDeploymentUnit(consumer));
    result.addResult(checkConsumerRelease(consumer));
    result.addResult(checkConsumerVersion(consumer));
    result.addResult(checkConsumerDistribVersion(consumer));
    return result;
}

CheckResult RoutingChecker::checkConsumerDeploymentUnit(const Json& consumer) const {
    CheckResult result;
    if (!has(consumer, "deploymentUnit")) {
        return result;
    }
    const Json& value = consumer.at("deploymentUnit");
    if (!value.is_string()) {
        addFailure(result, "\"consumer.deploymentUnit\" must be string");
    } else if (!isNonEmptyString(value)) {
        addFailure(result, "\"consumer.deploymentUnit\" string must be not empty");
    }
    return result;
}

CheckResult RoutingChecker::checkConsumerRelease(const Json& consumer) const {
    CheckResult result;
    if (!has(consumer, "release")) {
        return result;
    }
    const Json& value = consumer.at("release");
    if (!value.is_string()) {
        addFailure(result, "\"consumer.release\" must be string");
    } else if (!isNonEmptyString(value)) {
        addFailure(result, "\"consumer.release\" string must be not empty");
    }
    return result;
}

CheckResult RoutingChecker::checkConsumerVersion(const Json& consumer) const {
    CheckResult result;
    if (has(consumer, "version") && !consumer.at("version").is_string()) {
        addFailure(result, "\"consumer.version\" must be string");
    }
    return result;
}

CheckResult RoutingChecker::checkConsumerDistribVersion(const Json& consumer) const {
    CheckResult result;
    if (has(consumer, "distribVersion") && !consumer.at("distribVersion").is_string()) {
        addFailure(result, "\"consumer.distribVersion\" must be string");
    }
    return result;
}

ResultBase RoutingChecker::checkDefault(const Json& entry) const {
    if (has(entry, "default") && !entry.at("default").is_boolean()) {
        return ResultBase::Fail("\"default\" must be bool");
    }
    return ResultBase::Ok();
}
