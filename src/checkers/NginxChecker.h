#pragma once

#include <string>

#include "checkers/CheckerBase.h"
#include "common/Json.h"

// Rejects the values of one service that pass the type rules of the other checkers but give
// text that nginx refuses to load, so that a whole gateway does not fail to reload over one
// service. ServiceChecker runs it after the four concern checkers. Every message names the
// field and the service; the comment at each rule quotes the nginx error that motivated it.
class NginxChecker : public CheckerBase {
public:
    explicit NginxChecker(const Json& service);

    CheckResult check() const override;

    // "subsystem" and "deploymentUnit" become parts of variable, upstream and zone names.
    CheckResult checkNames() const;
    CheckResult checkQuotas() const;
    CheckResult checkNodeGroups() const;
    CheckResult checkCookie() const;
    // The by-release map: one line per consumer release.
    CheckResult checkRouting() const;
    CheckResult checkLocations() const;

private:
    // " in service \"SUBSYSTEM:DEPLOYMENTUNIT\"", the end of every message.
    std::string where() const;
    CheckResult checkNodeGroup(const Json& nodeGroup) const;
    CheckResult checkLocation(const Json& location) const;
    CheckResult checkReturn(const Json& answer) const;
    CheckResult checkAlias(const Json& location, const std::string& url) const;
    CheckResult checkProxy(const Json& location) const;
    CheckResult checkHeaders(const Json& location) const;
    // A compiled value: a word (or words) whose variables nginx knows.
    // True when it passes.
    bool checkValue(CheckResult& result, const std::string& field, const std::string& value,
                    bool words) const;
};
