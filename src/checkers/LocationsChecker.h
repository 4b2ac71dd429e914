#pragma once

#include <nlohmann/json.hpp>

#include "checkers/CheckerBase.h"

// Validates the "locations" of every API version of one service: every key that the location
// builders read. Messages carry the literal "[i]" and "[j]"; no index is filled in.
class LocationsChecker : public CheckerBase {
public:
    explicit LocationsChecker(const nlohmann::json& service);

    CheckResult check() const override;
    CheckResult checkLocations() const;

    CheckResult checkLocationUrl(const nlohmann::json& location) const;
    CheckResult checkLocationProxyPass(const nlohmann::json& location) const;
    CheckResult checkLocationAlias(const nlohmann::json& location) const;
    CheckResult checkLocationIndex(const nlohmann::json& location) const;
    CheckResult checkLocationReturn(const nlohmann::json& location) const;
    CheckResult checkLocationRewrite(const nlohmann::json& location) const;
    CheckResult checkLocationHeaders(const nlohmann::json& location) const;
    // The file-serving options that alias locations copy into the configuration.
    CheckResult checkLocationFileOptions(const nlohmann::json& location) const;
};
