#include "generator_v2/RoutingBuilderV0.h"

RoutingBuilderV0::RoutingBuilderV0(std::shared_ptr<ConfigHeaderBase> header)
    : ReleaseRoutingBuilder(std::move(header), ByReleaseMapText::Entries::DefaultConsumer) {}
