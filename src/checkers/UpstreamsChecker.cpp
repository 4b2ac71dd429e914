#include "checkers/UpstreamsChecker.h"

#include <cstdint>
#include <limits>

namespace {
const char* const k_int32MaxText = "2147483647";
const char* const k_int32MinText = "-2147483648";
}  // namespace

UpstreamsChecker::UpstreamsChecker(const Json& service) : CheckerBase(service) {}

CheckResult UpstreamsChecker::check() const {
    CheckResult result;
    result.addResult(checkSubsystem());
    result.addResult(checkDeploymentUnit());
    result.addResult(checkProtocols());
    result.addResult(checkHealthcheck());
    result.addResult(checkNodeGroups());
    result.addResult(checkSticky());
    return result;
}

CheckResult UpstreamsChecker::checkHealthcheck() const {
    CheckResult result;
    if (!has(json(), "healthcheck")) {
        return result;
    }
    const Json& healthcheck = json().at("healthcheck");
    if (!healthcheck.is_object()) {
        addFailure(result, "\"healthcheck\" must be object");
        return result;
    }
    result.addResult(checkHealthcheckHandler(healthcheck));
    result.addResult(checkHealthcheckEnabled(healthcheck));
    result.addResult(checkHealthcheckInterval(healthcheck));
    result.addResult(checkHealthcheckRise(healthcheck));
    result.addResult(checkHealthcheckFall(healthcheck));
    result.addResult(checkHealthcheckTimeout(healthcheck));
    result.addResult(checkHealthcheckDefaultDown(healthcheck));
    result.addResult(checkHealthcheckDisableFallCount(healthcheck));
    result.addResult(checkHealthcheckPort(healthcheck));
    return result;
}

CheckResult UpstreamsChecker::checkHealthcheckHandler(const Json& healthcheck) const {
    CheckResult result;
    if (!has(healthcheck, "handler")) {
        addFailure(result, "\"healthcheck.handler\" not exists");
    } else if (!healthcheck.at("handler").is_string()) {
        addFailure(result, "\"healthcheck.handler\" must be string");
    } else if (!isNonEmptyString(healthcheck.at("handler"))) {
        addFailure(result, "\"healthcheck.handler\" must be not empty string");
    }
    return result;
}

CheckResult UpstreamsChecker::checkHealthcheckEnabled(const Json& healthcheck) const {
    CheckResult result;
    if (!has(healthcheck, "enabled")) {
        addFailure(result, "\"healthcheck.enabled\" not exists");
    } else if (!healthcheck.at("enabled").is_boolean()) {
        addFailure(result, "\"healthcheck.enabled\" must be boolean");
    }
    return result;
}

CheckResult UpstreamsChecker::checkHealthcheckInterval(const Json& healthcheck) const {
    return checkHealthcheckMinimum(healthcheck, "interval", 1000);
}

CheckResult UpstreamsChecker::checkHealthcheckRise(const Json& healthcheck) const {
    return checkHealthcheckMinimum(healthcheck, "rise", 1);
}

CheckResult UpstreamsChecker::checkHealthcheckFall(const Json& healthcheck) const {
    return checkHealthcheckMinimum(healthcheck, "fall", 1);
}

CheckResult UpstreamsChecker::checkHealthcheckTimeout(const Json& healthcheck) const {
    return checkHealthcheckMinimum(healthcheck, "timeout", 500);
}

CheckResult UpstreamsChecker::checkHealthcheckDefaultDown(const Json& healthcheck) const {
    return checkHealthcheckBoolean(healthcheck, "defaultDown");
}

CheckResult UpstreamsChecker::checkHealthcheckDisableFallCount(const Json& healthcheck) const {
    return checkHealthcheckBoolean(healthcheck, "disableFallCount");
}

CheckResult UpstreamsChecker::checkHealthcheckPort(const Json& healthcheck) const {
    CheckResult result;
    if (!has(healthcheck, "port")) {
        return result;
    }
    const Json& port = healthcheck.at("port");
    if (!port.is_number_unsigned()) {
        addFailure(result, "\"healthcheck.port\" must be unsigned number");
    } else if (isAboveInt32(port)) {
        addFailure(result, std::string("\"healthcheck.port\" must be <= ") + k_int32MaxText);
    }
    return result;
}

CheckResult UpstreamsChecker::checkHealthcheckMinimum(const Json& healthcheck,
                                                      const std::string& member,
                                                      long long minimum) const {
    CheckResult result;
    if (!has(healthcheck, member)) {
        return result;
    }
    const Json& value = healthcheck.at(member);
    const std::string name = "\"healthcheck." + member + "\"";
    // The builder reads these members as signed 32-bit integers; a boolean counts as 0 or 1.
    if (!value.is_number() && !value.is_boolean()) {
        addFailure(result, name + " must be number");
    } else if (isAboveInt32(value)) {
        addFailure(result, name + " must be <= " + k_int32MaxText);
    } else if (isBelow(value, minimum)) {
        addFailure(result, name + " must be >= " + std::to_string(minimum));
    }
    return result;
}

CheckResult UpstreamsChecker::checkHealthcheckBoolean(const Json& healthcheck,
                                                      const std::string& member) const {
    CheckResult result;
    if (has(healthcheck, member) && !healthcheck.at(member).is_boolean()) {
        addFailure(result, "\"healthcheck." + member + "\" must be boolean");
    }
    return result;
}

CheckResult UpstreamsChecker::checkNodeGroups() const {
    CheckResult result;
    if (!has(json(), "apiVersions")) {
        addFailure(result, "one of \"services\" not exists \"apiVersions\" field");
        return result;
    }
    for (const auto& apiVersion : json().at("apiVersions")) {
        if (!has(apiVersion, "nodeGroups")) {
            continue;
        }
        for (const auto& nodeGroup : apiVersion.at("nodeGroups")) {
            const bool hasDataCenters = has(nodeGroup, "dataCenters");
            const bool hasRoute = has(nodeGroup, "openshiftRoute");
            if (!hasDataCenters && !hasRoute) {
                addFailure(result,
                           "\"dataCenters\" or \"openshiftRoute\" fields not exists in one of "
                           "apiVersions[i].nodeGroups[j]");
            }
            // A route replaces the node list, so the builder never reads "dataCenters" then.
            if (hasRoute) {
                result.addResult(checkOpenshiftRoute(nodeGroup));
            } else if (hasDataCenters) {
                result.addResult(checkDataCenters(nodeGroup));
            }
            result.addResult(checkGroupName(nodeGroup));
            result.addResult(checkNodeGroupProtocols(nodeGroup));
            result.addResult(checkKeepalive(nodeGroup));
        }
    }
    return result;
}

CheckResult UpstreamsChecker::checkDataCenters(const Json& nodeGroup) const {
    CheckResult result;
    if (!has(nodeGroup, "dataCenters")) {
        return result;
    }
    const Json& dataCenters = nodeGroup.at("dataCenters");
    if (!dataCenters.is_array()) {
        addFailure(result, "\"dataCenters\" must be array");
    }
    // Also a non-array is walked the way the library iterates it: an object's member values,
    // one element for any other non-null value, none for null.
    for (const auto& dataCenter : dataCenters) {
        if (!dataCenter.is_object()) {
            addFailure(result, "element in \"dataCenters\" must be object");
            continue;
        }
        if (!has(dataCenter, "name")) {
            addFailure(result, "\"name\" in \"dataCenters\"[i] not exists");
        } else if (!dataCenter.at("name").is_string()) {
            addFailure(result, "\"name\" in \"dataCenters\"[i] must be string");
        } else if (!isNonEmptyString(dataCenter.at("name"))) {
            addFailure(result, "\"name\" in \"dataCenters\"[i] must be not empty string");
        }
        if (!has(dataCenter, "nodes")) {
            addFailure(result, "\"nodes\" in \"dataCenters\"[i] not exists");
        } else if (!dataCenter.at("nodes").is_array()) {
            addFailure(result, "\"nodes\" in \"dataCenters\"[i] must be array");
        } else if (dataCenter.at("nodes").empty()) {
            addFailure(result, "\"nodes\" in \"dataCenters\"[i] must be not empty array");
        } else {
            // The builder writes every node as a host name.
            for (const auto& node : dataCenter.at("nodes")) {
                if (!node.is_string()) {
                    addFailure(result, "element in \"nodes\" must be string");
                }
            }
        }
    }
    return result;
}

CheckResult UpstreamsChecker::checkOpenshiftRoute(const Json& nodeGroup) const {
    CheckResult result;
    if (!has(nodeGroup, "openshiftRoute")) {
        return result;
    }
    const Json& route = nodeGroup.at("openshiftRoute");
    if (!route.is_string()) {
        addFailure(result, "\"openshiftRoute\" must be string");
    } else if (!isNonEmptyString(route)) {
        addFailure(result, "\"openshiftRoute\" must be not empty string");
    }
    return result;
}

CheckResult UpstreamsChecker::checkGroupName(const Json& nodeGroup) const {
    CheckResult result;
    if (!has(nodeGroup, "groupName")) {
        addFailure(result, "\"groupName\" not exists");
    } else if (!nodeGroup.at("groupName").is_string()) {
        addFailure(result, "\"groupName\" must be string");
    } else if (!isNonEmptyString(nodeGroup.at("groupName"))) {
        addFailure(result, "\"groupName\" must be not empty string");
    }
    return result;
}

CheckResult UpstreamsChecker::checkNodeGroupProtocols(const Json& nodeGroup) const {
    CheckResult result;
    if (!has(nodeGroup, "protocols")) {
        return result;
    }
    const Json& protocols = nodeGroup.at("protocols");
    for (const char* protocol : {"http", "https"}) {
        if (!has(protocols, protocol) || !has(protocols.at(protocol), "port")) {
            continue;
        }
        const Json& port = protocols.at(protocol).at("port");
        const std::string name =
            std::string("\"protocols.") + protocol + ".port\" in \"nodeGroups\"[j]";
        if (!port.is_number()) {
            addFailure(result, name + " must be number");
        } else if (isAboveInt32(port)) {
            addFailure(result, name + " must be <= " + k_int32MaxText);
        } else if (isBelow(port, std::numeric_limits<std::int32_t>::min())) {
            addFailure(result, name + " must be >= " + k_int32MinText);
        }
    }
    return result;
}

CheckResult UpstreamsChecker::checkKeepalive(const Json& nodeGroup) const {
    CheckResult result;
    if (has(nodeGroup, "keepalive") && !nodeGroup.at("keepalive").is_number_unsigned()) {
        addFailure(result, "\"keepalive\" must be unsigned number");
    }
    return result;
}

CheckResult UpstreamsChecker::checkSticky() const {
    CheckResult result;
    if (has(json(), "ssl") && !json().at("ssl").is_boolean()) {
        addFailure(result, "\"ssl\" must be boolean");
    }
    if (has(json(), "stickyOptions")) {
        result.addResult(checkStickyOptions(json().at("stickyOptions")));
        return result;
    }
    if (!has(json(), "sticky")) {
        return result;
    }
    const Json& sticky = json().at("sticky");
    if (!sticky.is_boolean()) {
        addFailure(result, "\"sticky\" must be boolean");
        return result;
    }
    if (sticky.get<bool>() && has(json(), "stickyCookie") &&
        !json().at("stickyCookie").is_string()) {
        addFailure(result, "\"stickyCookie\" must be string");
    }
    return result;
}

CheckResult UpstreamsChecker::checkStickyOptions(const Json& stickyOptions) const {
    CheckResult result;
    // The builder needs an object with a "type" to choose the balancing method.
    if (!stickyOptions.is_object()) {
        addFailure(result, "\"stickyOptions\" must be object");
        return result;
    }
    if (!has(stickyOptions, "type")) {
        addFailure(result, "\"stickyOptions.type\" not exists");
        return result;
    }
    const Json& type = stickyOptions.at("type");
    if (!type.is_string()) {
        addFailure(result, "\"stickyOptions.type\" must be string");
        return result;
    }
    const std::string& t = type.get_ref<const std::string&>();
    const bool cookieIsBad =
        has(stickyOptions, "stickyCookie") && !stickyOptions.at("stickyCookie").is_string();
    if (t == "sticky") {
        if (cookieIsBad) {
            addFailure(result, "\"stickyOptions.stickyCookie\" must be string");
        }
        if (has(stickyOptions, "stickyHash")) {
            const Json& hash = stickyOptions.at("stickyHash");
            if (!hash.is_string()) {
                addFailure(result, "\"stickyOptions.stickyHash\" must be string");
            } else if (hash.get_ref<const std::string&>() != "md5" &&
                       hash.get_ref<const std::string&>() != "sha1") {
                addFailure(result, "\"stickyOptions.stickyHash\" must be md5 or sha1");
            }
        }
    } else if (t == "consistent_hash") {
        if (cookieIsBad) {
            addFailure(result, "\"stickyOptions.stickyCookie\" must be string");
        }
    } else if (t != "ip_hash") {
        addFailure(result, "\"stickyOptions.type\" must be sticky or consistent_hash or ip_hash");
    }
    return result;
}
