#pragma once

#include <string>

#include "common/Json.h"

// The map that every generation of routing builder writes: it sets $<upstream base>_by_release
// from the release named in the request header to the upstream of the first route of an entry.
// The generations differ only in which routing entries give lines.
class ByReleaseMapText {
public:
    enum class Entries {
        // A consumer line per release of a consumer without "deploymentUnit", and the default
        // line of the last entry with "default" true; entries with "apiVersion" are skipped.
        ByRelease,
        // As ByRelease, entries with "apiVersion" included.
        ByReleaseWithApiVersions,
        // No consumer lines; the default line of the last entry whose "consumer" is "default".
        DefaultConsumer,
    };

    // "# by release map", the map head, the consumer lines, the default line and "}" with no
    // line end.
    std::string build(const Json& routing, const std::string& upstreamBase, Entries entries) const;

private:
    // The upstream of the entry's first route; false when there is none to name.
    bool firstRouteUpstream(const Json& entry, const std::string& upstreamBase,
                            std::string& upstream) const;
};
