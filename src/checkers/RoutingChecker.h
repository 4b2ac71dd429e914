#pragma once

#include "checkers/CheckerBase.h"
#include "common/Json.h"

// Validates the "routing" table of one service and cross-checks the node-group names that its
// routes name against the node groups of the service. The older-schema routing checkers replace
// checkFields and checkDefaultRoute.
class RoutingChecker : public CheckerBase {
public:
    explicit RoutingChecker(const Json& service);

    CheckResult check() const override;
    CheckResult checkRouting() const;

    // The field rules of every routing entry; entries for the external gateway ("apiVersion")
    // are exempt.
    virtual CheckResult checkFields(const Json& routing) const;
    // One entry, ok or failed: some entry must be the default one.
    virtual ResultBase checkDefaultRoute(const Json& routing) const;

    // Every route's "groupName" must name a node group of the service. Unknown names only print
    // a warning; routes without a name fail.
    CheckResult checkQueryBalancingGroup(const Json& service) const;

    CheckResult checkRoutes(const Json& entry) const;
    CheckResult checkGroupName(const Json& route) const;
    CheckResult checkQuota(const Json& route) const;
    CheckResult checkConsumer(const Json& entry) const;
    CheckResult checkConsumerDeploymentUnit(const Json& consumer) const;
    CheckResult checkConsumerRelease(const Json& consumer) const;
    CheckResult checkConsumerVersion(const Json& consumer) const;
    CheckResult checkConsumerDistribVersion(const Json& consumer) const;
    // One entry, ok or failed: "default", when present, must be a boolean.
    ResultBase checkDefault(const Json& entry) const;

protected:
    // The rules of one routing entry: its routes, then either its consumer or its default flag.
    CheckResult checkEntryFields(const Json& entry) const;
};
