#include "checkers/ServiceChecker.h"

#include <utility>

#include "checkers/LimitsChecker.h"
#include "checkers/LocationsChecker.h"
#include "checkers/NginxChecker.h"
#include "checkers/RoutingChecker.h"
#include "checkers/SafetyChecker.h"
#include "checkers/UpstreamsChecker.h"

ServiceChecker::ServiceChecker(const Json& service)
    : ServiceChecker(service, std::make_unique<RoutingChecker>(service)) {}

ServiceChecker::ServiceChecker(const Json& service, std::unique_ptr<CheckerBase> routingChecker) {
    checkers.push_back(std::move(routingChecker));
    checkers.push_back(std::make_unique<UpstreamsChecker>(service));
    checkers.push_back(std::make_unique<LimitsChecker>(service));
    checkers.push_back(std::make_unique<LocationsChecker>(service));
    // Last: what nginx needs beyond the types that the concern checkers guarantee.
    checkers.push_back(std::make_unique<NginxChecker>(service));
    // Then where the files go and what keeps their structure; adds entries only for failures.
    checkers.push_back(std::make_unique<SafetyChecker>(service));
}

CheckResult ServiceChecker::check() const {
    CheckResult result;
    for (const auto& checker : checkers) {
        result.addResult(checker->check());
    }
    return result;
}
