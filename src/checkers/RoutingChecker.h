#pragma once

#include <nlohmann/json.hpp>

#include "checkers/CheckerBase.h"

// Validates the "routing" table of one service and cross-checks the node-group names that its
// routes name against the node groups of the service. The older-schema routing checkers replace
// checkFields and checkDefaultRoute.
class RoutingChecker : public CheckerBase {
public:
    explicit RoutingChecker(const nlohmann::json& service);

    CheckResult check() const override;
    CheckResult checkRouting() const;

    // The field rules of every routing entry; entries for the external gateway ("apiVersion")
    // are exempt.
    virtual CheckResult checkFields(const nlohmann::json& routing) const;
    // One entry, ok or failed: some entry must be the default one.
    virtual ResultBase checkDefaultRoute(const nlohmann::json& routing) const;

    // Every route's "groupName" must name a node group of the service. Unknown names only print
    // a warning; routes without a name fail.
    CheckResult checkQueryBalancingGroup(const nlohmann::json& service) const;

    CheckResult checkRoutes(const nlohmann::json& entry) const;
    CheckResult checkGroupName(const nlohmann::json& route) const;
    CheckResult checkQuota(const nlohmann::json& route) const;
    CheckResult checkConsumer(const nlohmann::json& entry) const;
    CheckResult checkConsumerDeploymentUnit(const nlohmann::json& consumer) const;
    CheckResult checkConsumerRelease(const nlohmann::json& consumer) const;
    CheckResult checkConsumerVersion(const nlohmann::json& consumer) const;
    CheckResult checkConsumerDistribVersion(const nlohmann::json& consumer) const;
    // One entry, ok or failed: "default", when present, must be a boolean.
    ResultBase checkDefault(const nlohmann::json& entry) const;

protected:
    // The rules of one routing entry: its routes, then either its consumer or its default flag.
    CheckResult checkEntryFields(const nlohmann::json& entry) const;
};
