#include "common/TypeConvertor.h"

std::string TypeConvertor::uint32_tToString(uint32_t value) const { return std::to_string(value); }

std::string TypeConvertor::intToString(int value) const { return std::to_string(value); }
