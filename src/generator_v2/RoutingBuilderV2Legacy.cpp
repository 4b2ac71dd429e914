#include "generator_v2/RoutingBuilderV2Legacy.h"

RoutingBuilderV2Legacy::RoutingBuilderV2Legacy(std::shared_ptr<ConfigHeaderBase> header)
    : ReleaseRoutingBuilder(std::move(header),
                            ByReleaseMapText::Entries::ByReleaseWithApiVersions) {}
