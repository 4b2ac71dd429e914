#pragma once

#include "generator_v3/ConfigHeaderBase.h"

// Header of the files of a schema-2 run.
class ConfigHeaderScheme2 : public ConfigHeaderBase {
public:
    std::string getScheme() const override;
};
