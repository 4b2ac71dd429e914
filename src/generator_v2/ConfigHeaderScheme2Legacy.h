#pragma once

#include "generator_v3/ConfigHeaderBase.h"

// Header of the files of a legacy schema-2 run.
class ConfigHeaderScheme2Legacy : public ConfigHeaderBase {
public:
    std::string getScheme() const override;
};
