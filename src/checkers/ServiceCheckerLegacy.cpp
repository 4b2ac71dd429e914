#include "checkers/ServiceCheckerLegacy.h"

#include <memory>

#include "checkers/RoutingCheckerLegacy.h"

ServiceCheckerLegacy::ServiceCheckerLegacy(const Json& service)
    : ServiceChecker(service, std::make_unique<RoutingCheckerLegacy>(service)) {}
