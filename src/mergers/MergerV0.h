#pragma once

#include "common/Json.h"
#include "mergers/Merger.h"

// The merge of schema 0: nodes as usual, routing taken from the first API version of each
// routing entry. Limits never take part.
class MergerV0 : public Merger {
public:
    // No steps.
    MergerV0();
    // MergerNodes, then MergerRoutingV0.
    MergerV0(const Json& nodes, const Json& routing);
};
