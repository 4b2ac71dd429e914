#pragma once

#include "checkers/CheckerBase.h"
#include "common/Json.h"

// Validates the "locations" of every API version of one service: every key that the location
// builders read. Messages carry the literal "[i]" and "[j]"; no index is filled in.
class LocationsChecker : public CheckerBase {
public:
    explicit LocationsChecker(const Json& service);

    CheckResult check() const override;
    CheckResult checkLocations() const;

    CheckResult checkLocationUrl(const Json& location) const;
    CheckResult checkLocationProxyPass(const Json& location) const;
    CheckResult checkLocationAlias(const Json& location) const;
    CheckResult checkLocationIndex(const Json& location) const;
    CheckResult checkLocationReturn(const Json& location) const;
    CheckResult checkLocationRewrite(const Json& location) const;
    CheckResult checkLocationHeaders(const Json& location) const;
    // The file-serving options that alias locations copy into the configuration.
    CheckResult checkLocationFileOptions(const Json& location) const;
};
