#pragma once

#include <memory>

#include "generator_v3/LimitsBuilderV3.h"

// Limits file of the schema-2 and legacy generators: the same text and result as schema 3.
class LimitsBuilderV2 : public LimitsBuilderV3 {
public:
    explicit LimitsBuilderV2(std::shared_ptr<ConfigHeaderBase> header);
};
