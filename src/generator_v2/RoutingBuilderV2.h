#pragma once

#include "generator_v2/ReleaseRoutingBuilder.h"

// Schema-2 routing file: consumer lines by release and the default entry; entries with "apiVersion"
// give no line.
class RoutingBuilderV2 : public ReleaseRoutingBuilder {
public:
    explicit RoutingBuilderV2(std::shared_ptr<ConfigHeaderBase> header);
};
