#pragma once

#include "generator_v3/ConfigHeaderBase.h"

// Header of the files of a schema-0 run.
class ConfigHeaderScheme0 : public ConfigHeaderBase {
public:
    std::string getScheme() const override;
};
