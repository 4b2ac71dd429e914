#pragma once

#include <cstdint>
#include <string>

// Plain decimal formatting, as a default output stream writes numbers.
class TypeConvertor {
public:
    std::string uint32_tToString(uint32_t value) const;
    std::string intToString(int value) const;
};
