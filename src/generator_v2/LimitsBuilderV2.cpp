#include "generator_v2/LimitsBuilderV2.h"

LimitsBuilderV2::LimitsBuilderV2(std::shared_ptr<ConfigHeaderBase> header)
    : LimitsBuilderV3(std::move(header)) {}
