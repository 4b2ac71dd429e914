#include "mergers/MergerV0.h"

#include <memory>

#include "mergers/MergerNodes.h"
#include "mergers/MergerRoutingV0.h"

MergerV0::MergerV0() = default;

MergerV0::MergerV0(const Json& nodes, const Json& routing) {
    addStep(std::make_unique<MergerNodes>(nodes));
    addStep(std::make_unique<MergerRoutingV0>(routing));
}
