#pragma once

#include "checkers/RoutingChecker.h"
#include "common/Json.h"

// Routing rules of schema-0 input, where "consumer" is a plain string naming the caller's
// release and the string "default" marks the default entry.
class RoutingCheckerV0 : public RoutingChecker {
public:
    explicit RoutingCheckerV0(const Json& service);

    CheckResult checkFields(const Json& routing) const override;
    ResultBase checkDefaultRoute(const Json& routing) const override;

private:
    static bool isDefaultEntry(const Json& entry);
};
