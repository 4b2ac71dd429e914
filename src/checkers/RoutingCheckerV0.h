#pragma once

#include <nlohmann/json.hpp>

#include "checkers/RoutingChecker.h"

// Routing rules of schema-0 input, where "consumer" is a plain string naming the caller's
// release and the string "default" marks the default entry.
class RoutingCheckerV0 : public RoutingChecker {
public:
    explicit RoutingCheckerV0(const nlohmann::json& service);

    CheckResult checkFields(const nlohmann::json& routing) const override;
    ResultBase checkDefaultRoute(const nlohmann::json& routing) const override;

private:
    static bool isDefaultEntry(const nlohmann::json& entry);
};
