#pragma once

#include <string>

#include "checkers/CheckerBase.h"
#include "common/Json.h"

// Validates the "quotas" of one service: what the limits builders and the limit lines of the
// location builders read from a quota.
class LimitsChecker : public CheckerBase {
public:
    explicit LimitsChecker(const Json& service);

    CheckResult check() const override;
    CheckResult checkQuotas() const;
    // Its type, then the fields that its type needs, then its rate.
    CheckResult checkQuota(const Json& quota) const;
    CheckResult checkQuotaType(const Json& quota) const;
    // The "type" of a quota that passed checkQuotaType.
    std::string getQuotaType(const Json& quota) const;
    CheckResult checkQuotaSubsystem(const Json& quota) const;
    CheckResult checkQuotaDeploymentUnit(const Json& quota) const;
    // An unsigned integer that fits the signed 32-bit rate of the limits builders.
    CheckResult checkRpsLimit(const Json& quota) const;
};
