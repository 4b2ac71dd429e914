#pragma once

#include <memory>
#include <vector>

#include "checkers/CheckerBase.h"
#include "common/CheckResult.h"
#include "common/Json.h"

// Runs the four concern checkers over one service, in this order: routing, upstreams, limits,
// locations; then the checker of what nginx needs beyond their rules, and last the safety rules
// (output file names, values that would change the configuration's structure). Every checker
// runs, whatever the earlier ones found. Like the checkers, it refers to the service, which must
// outlive it.
class ServiceChecker {
public:
    explicit ServiceChecker(const Json& service);
    // Owned polymorphically by the services checkers.
    virtual ~ServiceChecker() = default;
    ServiceChecker(const ServiceChecker&) = delete;
    ServiceChecker& operator=(const ServiceChecker&) = delete;

    CheckResult check() const;

protected:
    // For the older-schema service checkers, which differ only in their routing checker.
    ServiceChecker(const Json& service, std::unique_ptr<CheckerBase> routingChecker);

private:
    std::vector<std::unique_ptr<CheckerBase>> checkers;
};
