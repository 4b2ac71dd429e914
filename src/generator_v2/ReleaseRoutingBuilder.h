#pragma once

#include <memory>
#include <string>

#include "common/Json.h"
#include "generator_v3/BuilderBase.h"
#include "generator_v3/ByReleaseMapText.h"

// Common part of the routing builders of the older schemas: the HTTP routing file, header first,
// with the by-release map whose lines come from the routing entries that the schema counts.
class ReleaseRoutingBuilder : public BuilderBase {
public:
    // Always true; out is left as it is when the service has no "routing".
    bool build(const Json& service, bool verbose, std::string& out) const;
    // The map text, without the header, for the cleaned deployment unit.
    std::string genByReleaseMap(const Json& routing, const std::string& cleanUnit) const;

protected:
    ReleaseRoutingBuilder(std::shared_ptr<ConfigHeaderBase> header,
                          ByReleaseMapText::Entries entries);

private:
    ByReleaseMapText::Entries entries;
    // The older schemas write only the HTTP routing file.
    bool https = false;
};
