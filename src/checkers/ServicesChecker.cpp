#include "checkers/ServicesChecker.h"

#include "checkers/NginxNamesChecker.h"

#include <future>
#include <string>
#include <unordered_map>

#include "common/CompactJson.h"
#include "common/RunAside.h"

namespace {

std::unique_ptr<ServiceChecker> makeServiceChecker(const Json& service) {
    return std::make_unique<ServiceChecker>(service);
}

// A string member as its text; anything else (also a missing member, as null) as compact JSON.
// Such services fail the subsystem and deployment-unit rules anyway.
std::string textOf(const Json& service, const char* key) {
    if (!service.is_object() || service.find(key) == service.end()) {
        return "null";
    }
    const Json& value = service.at(key);
    return value.is_string() ? value.get<std::string>() : compactJson(value);
}

}  // namespace

ServicesChecker::ServicesChecker(const Json& services)
    : ServicesChecker(services, makeServiceChecker) {}

ServicesChecker::ServicesChecker(const Json& services, ServiceCheckerFactory makeServiceChecker)
    : CheckerBase(services) {
    if (has(json(), "services") && json().at("services").is_array()) {
        for (const auto& service : json().at("services")) {
            serviceCheckers.push_back(makeServiceChecker(service));
        }
    }
}

CheckResult ServicesChecker::check() const {
    // Names and locations that two services must not share in one run's files. These rules only
    // read the document and log nothing, so they run on a thread of their own while the rules of
    // each service run here; their failures still come last.
    std::future<CheckResult> names = runAside([this] { return NginxNamesChecker(json()).check(); });
    CheckResult result = checkServiceByFPKey();
    result.addResult(checkServicesArray());
    for (const auto& serviceChecker : serviceCheckers) {
        result.addResult(serviceChecker->check());
    }
    result.addResult(names.get());
    return result;
}

CheckResult ServicesChecker::checkServicesArray() const {
    CheckResult result;
    if (!has(json(), "services")) {
        addFailure(result, "\"services\" section does not exists");
    } else if (!json().at("services").is_array()) {
        addFailure(result, "\"services\" must be array");
    }
    return result;
}

CheckResult ServicesChecker::checkServiceByFPKey() const {
    CheckResult result;
    if (!has(json(), "services") || !json().at("services").is_array()) {
        return result;
    }
    std::vector<std::string> order;
    std::unordered_map<std::string, int> counts;
    for (const auto& service : json().at("services")) {
        const std::string usedGateways =
            (service.is_object() && service.find("usedGateways") != service.end())
                ? compactJson(service.at("usedGateways"))
                : "null";
        const std::string fingerprint = textOf(service, "subsystem") + ":" +
                                        textOf(service, "deploymentUnit") + ":" + usedGateways;
        if (++counts[fingerprint] == 1) {
            order.push_back(fingerprint);
        }
    }
    for (const auto& fingerprint : order) {
        if (counts[fingerprint] > 1) {
            addFailure(result, fingerprint + " - fp not uniq into input json");
        }
    }
    return result;
}
