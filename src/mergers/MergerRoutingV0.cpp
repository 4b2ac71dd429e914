#include "mergers/MergerRoutingV0.h"

#include "common/ProcessingJson.h"

namespace {

const Json& firstApiVersionRouting(const Json& entry) {
    return entry.at("apiVersions").front().at("routing");
}

}  // namespace

MergerRoutingV0::MergerRoutingV0(const Json& routing) : MergerRouting(routing) {}

MergeResult MergerRoutingV0::merge(const Json& services) {
    return mergeRouting(services, &firstApiVersionRouting);
}

MergeResult MergerRoutingV0::mergeInPlace(Json& services) {
    return mergeRoutingInPlace(services, &firstApiVersionRouting);
}

MergeResult MergerRoutingV0::isRoutingExists(const Json& entry, const std::string& fileName) const {
    ProcessingJson processing;
    if (processing.exists(entry, "apiVersions")) {
        const Json& apiVersions = entry.at("apiVersions");
        // An empty or non-array "apiVersions" has no first element to take the routing from.
        if (apiVersions.is_array() && !apiVersions.empty() &&
            processing.exists(apiVersions.front(), "routing")) {
            return MergeResult();
        }
    }
    return MergeResult("\"apiVersions.routing\" does not exists in service", fileName);
}
