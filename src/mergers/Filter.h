#pragma once

#include <nlohmann/json.hpp>

// A rewrite of one input document in place.
class Filter {
public:
    virtual ~Filter() = default;
    virtual void filter(nlohmann::json& document) = 0;
};
