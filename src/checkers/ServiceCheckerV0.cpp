#include "checkers/ServiceCheckerV0.h"

#include <memory>

#include "checkers/RoutingCheckerV0.h"

ServiceCheckerV0::ServiceCheckerV0(const Json& service)
    : ServiceChecker(service, std::make_unique<RoutingCheckerV0>(service)) {}
