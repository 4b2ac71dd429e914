#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "checkers/CheckerBase.h"

// Validates the "quotas" of one service: what the limits builders and the limit lines of the
// location builders read from a quota.
class LimitsChecker : public CheckerBase {
public:
    explicit LimitsChecker(const nlohmann::json& service);

    CheckResult check() const override;
    CheckResult checkQuotas() const;
    // Its type, then the fields that its type needs, then its rate.
    CheckResult checkQuota(const nlohmann::json& quota) const;
    CheckResult checkQuotaType(const nlohmann::json& quota) const;
    // The "type" of a quota that passed checkQuotaType.
    std::string getQuotaType(const nlohmann::json& quota) const;
    CheckResult checkQuotaSubsystem(const nlohmann::json& quota) const;
    CheckResult checkQuotaDeploymentUnit(const nlohmann::json& quota) const;
    // An unsigned integer that fits the signed 32-bit rate of the limits builders.
    CheckResult checkRpsLimit(const nlohmann::json& quota) const;
};
