#pragma once

#include "common/Json.h"

// A rewrite of one input document in place.
class Filter {
public:
    virtual ~Filter() = default;
    virtual void filter(Json& document) = 0;
};
