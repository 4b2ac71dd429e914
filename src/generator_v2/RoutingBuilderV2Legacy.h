#pragma once

#include "generator_v2/ReleaseRoutingBuilder.h"

// Legacy schema-2 routing file: as schema 2, but entries with "apiVersion" count too.
class RoutingBuilderV2Legacy : public ReleaseRoutingBuilder {
public:
    explicit RoutingBuilderV2Legacy(std::shared_ptr<ConfigHeaderBase> header);
};
