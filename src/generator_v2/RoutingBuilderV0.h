#pragma once

#include "generator_v2/ReleaseRoutingBuilder.h"

// Schema-0 routing file: only a default line, from the last entry whose "consumer" is "default".
class RoutingBuilderV0 : public ReleaseRoutingBuilder {
public:
    explicit RoutingBuilderV0(std::shared_ptr<ConfigHeaderBase> header);
};
