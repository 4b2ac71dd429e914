#include "generator_v2/RoutingBuilderV2.h"

RoutingBuilderV2::RoutingBuilderV2(std::shared_ptr<ConfigHeaderBase> header)
    : ReleaseRoutingBuilder(std::move(header), ByReleaseMapText::Entries::ByRelease) {}
