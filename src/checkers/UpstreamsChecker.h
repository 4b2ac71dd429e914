#pragma once

#include <string>

#include "checkers/CheckerBase.h"
#include "common/Json.h"

// Validates what the upstream builders read from one service: its health-check and balancing
// settings and the node groups of its API versions.
class UpstreamsChecker : public CheckerBase {
public:
    explicit UpstreamsChecker(const Json& service);

    CheckResult check() const override;

    CheckResult checkHealthcheck() const;
    CheckResult checkHealthcheckHandler(const Json& healthcheck) const;
    CheckResult checkHealthcheckEnabled(const Json& healthcheck) const;
    CheckResult checkHealthcheckInterval(const Json& healthcheck) const;
    CheckResult checkHealthcheckRise(const Json& healthcheck) const;
    CheckResult checkHealthcheckFall(const Json& healthcheck) const;
    CheckResult checkHealthcheckTimeout(const Json& healthcheck) const;
    CheckResult checkHealthcheckDefaultDown(const Json& healthcheck) const;
    CheckResult checkHealthcheckDisableFallCount(const Json& healthcheck) const;
    // "port", when present, must be an unsigned integer that fits a signed 32-bit integer.
    CheckResult checkHealthcheckPort(const Json& healthcheck) const;

    CheckResult checkNodeGroups() const;
    CheckResult checkDataCenters(const Json& nodeGroup) const;
    CheckResult checkOpenshiftRoute(const Json& nodeGroup) const;
    CheckResult checkGroupName(const Json& nodeGroup) const;
    // The node group's own "protocols" ports, which the builders read as signed 32-bit integers.
    CheckResult checkNodeGroupProtocols(const Json& nodeGroup) const;
    // The upstream builder writes "keepalive" only as an unsigned integer and otherwise leaves
    // the node group's file out of a run that still succeeds; rejected here instead.
    CheckResult checkKeepalive(const Json& nodeGroup) const;

    CheckResult checkSticky() const;

private:
    // A timing member of "healthcheck": when present, a number or boolean that, read as a signed
    // 32-bit integer, is at least minimum.
    CheckResult checkHealthcheckMinimum(const Json& healthcheck, const std::string& member,
                                        long long minimum) const;
    CheckResult checkHealthcheckBoolean(const Json& healthcheck, const std::string& member) const;
    CheckResult checkStickyOptions(const Json& stickyOptions) const;
};
