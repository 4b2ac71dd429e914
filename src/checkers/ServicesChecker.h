#pragma once

#include <memory>
#include <vector>

#include "checkers/CheckerBase.h"
#include "checkers/ServiceChecker.h"
#include "common/Json.h"

// Validates the whole merged services document: the uniqueness of every service's fingerprint,
// then every service through its own service checker, in document order.
class ServicesChecker : public CheckerBase {
public:
    explicit ServicesChecker(const Json& services);

    CheckResult check() const override;
    // One failure per fingerprint ("subsystem:deploymentUnit:usedGateways") that more than one
    // service has, in the order of their first appearance.
    CheckResult checkServiceByFPKey() const;
    // The document must hold a "services" array; nothing else may have examined it.
    CheckResult checkServicesArray() const;

protected:
    using ServiceCheckerFactory = std::unique_ptr<ServiceChecker> (*)(const Json&);
    // For the older-schema services checkers, which differ only in their service checkers.
    ServicesChecker(const Json& services, ServiceCheckerFactory makeServiceChecker);

private:
    std::vector<std::unique_ptr<ServiceChecker>> serviceCheckers;
};
