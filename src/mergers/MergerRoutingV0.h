#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "mergers/MergerRouting.h"

// Routing merge of schema 0: the routing table of an entry is the "routing" of the first
// element of its "apiVersions".
class MergerRoutingV0 : public MergerRouting {
public:
    explicit MergerRoutingV0(const nlohmann::json& routing);

    MergeResult merge(const nlohmann::json& services) override;
    MergeResult mergeInPlace(nlohmann::json& services) override;
    // "apiVersions" is a non-empty array whose first element has "routing".
    MergeResult isRoutingExists(const nlohmann::json& entry,
                                const std::string& fileName) const override;
};
