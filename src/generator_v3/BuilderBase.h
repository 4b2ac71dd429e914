#pragma once

#include <memory>
#include <string>

#include "generator_v3/ConfigHeaderBase.h"

// Common base of every builder: holds the header object that the builder's generator gave it.
class BuilderBase {
public:
    explicit BuilderBase(std::shared_ptr<ConfigHeaderBase> header);
    // The header text; empty when the builder was given no header object.
    std::string getConfigHeader() const;

private:
    std::shared_ptr<ConfigHeaderBase> header;
};
