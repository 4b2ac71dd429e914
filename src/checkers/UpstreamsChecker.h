#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "checkers/CheckerBase.h"

// Validates what the upstream builders read from one service: its health-check and balancing
// settings and the node groups of its API versions.
class UpstreamsChecker : public CheckerBase {
public:
    explicit UpstreamsChecker(const nlohmann::json& service);

    CheckResult check() const override;

    CheckResult checkHealthcheck() const;
    CheckResult checkHealthcheckHandler(const nlohmann::json& healthcheck) const;
    CheckResult checkHealthcheckEnabled(const nlohmann::json& healthcheck) const;
    CheckResult checkHealthcheckInterval(const nlohmann::json& healthcheck) const;
    CheckResult checkHealthcheckRise(const nlohmann::json& healthcheck) const;
    CheckResult checkHealthcheckFall(const nlohmann::json& healthcheck) const;
    CheckResult checkHealthcheckTimeout(const nlohmann::json& healthcheck) const;
    CheckResult checkHealthcheckDefaultDown(const nlohmann::json& healthcheck) const;
    CheckResult checkHealthcheckDisableFallCount(const nlohmann::json& healthcheck) const;
    // "port", when present, must be an unsigned integer that fits a signed 32-bit integer.
    CheckResult checkHealthcheckPort(const nlohmann::json& healthcheck) const;

    CheckResult checkNodeGroups() const;
    CheckResult checkDataCenters(const nlohmann::json& nodeGroup) const;
    CheckResult checkOpenshiftRoute(const nlohmann::json& nodeGroup) const;
    CheckResult checkGroupName(const nlohmann::json& nodeGroup) const;
    // The node group's own "protocols" ports, which the builders read as signed 32-bit integers.
    CheckResult checkNodeGroupProtocols(const nlohmann::json& nodeGroup) const;
    // The upstream builder writes "keepalive" only as an unsigned integer and otherwise leaves
    // the node group's file out of a run that still succeeds; rejected here instead.
    CheckResult checkKeepalive(const nlohmann::json& nodeGroup) const;

    CheckResult checkSticky() const;

private:
    // A timing member of "healthcheck": when present, a number or boolean that, read as a signed
    // 32-bit integer, is at least minimum.
    CheckResult checkHealthcheckMinimum(const nlohmann::json& healthcheck,
                                        const std::string& member, long long minimum) const;
    CheckResult checkHealthcheckBoolean(const nlohmann::json& healthcheck,
                                        const std::string& member) const;
    CheckResult checkStickyOptions(const nlohmann::json& stickyOptions) const;
};
