#pragma once

#include <nlohmann/json.hpp>

#include "checkers/RoutingChecker.h"

// Routing rules of legacy schema-2 input, which knows no external-gateway entries: every entry,
// also one with "apiVersion", gets the field rules, and any "default" member counts.
class RoutingCheckerLegacy : public RoutingChecker {
public:
    explicit RoutingCheckerLegacy(const nlohmann::json& service);

    CheckResult checkFields(const nlohmann::json& routing) const override;
    ResultBase checkDefaultRoute(const nlohmann::json& routing) const override;
};
