#pragma once

#include "checkers/RoutingChecker.h"
#include "common/Json.h"

// Routing rules of legacy schema-2 input, which knows no external-gateway entries: every entry,
// also one with "apiVersion", gets the field rules, and any "default" member counts.
class RoutingCheckerLegacy : public RoutingChecker {
public:
    explicit RoutingCheckerLegacy(const Json& service);

    CheckResult checkFields(const Json& routing) const override;
    ResultBase checkDefaultRoute(const Json& routing) const override;
};
