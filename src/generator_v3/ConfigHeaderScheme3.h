#pragma once

#include "generator_v3/ConfigHeaderBase.h"

// Header of the files of a schema-3 run.
class ConfigHeaderScheme3 : public ConfigHeaderBase {
public:
    std::string getScheme() const override;
};
