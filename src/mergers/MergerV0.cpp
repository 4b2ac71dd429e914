#include "mergers/MergerV0.h"

#include <memory>

#include "mergers/MergerNodes.h"
#include "mergers/MergerRoutingV0.h"

MergerV0::MergerV0() = default;

MergerV0::MergerV0(const nlohmann::json& nodes, const nlohmann::json& routing) {
    addStep(std::make_unique<MergerNodes>(nodes));
    addStep(std::make_unique<MergerRoutingV0>(routing));
}
