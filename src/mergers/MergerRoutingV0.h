#pragma once

#include <string>

#include "common/Json.h"
#include "mergers/MergerRouting.h"

// Routing merge of schema 0: the routing table of an entry is the "routing" of the first
// element of its "apiVersions".
class MergerRoutingV0 : public MergerRouting {
public:
    explicit MergerRoutingV0(const Json& routing);

    MergeResult merge(const Json& services) override;
    MergeResult mergeInPlace(Json& services) override;
    // "apiVersions" is a non-empty array whose first element has "routing".
    MergeResult isRoutingExists(const Json& entry, const std::string& fileName) const override;
};
