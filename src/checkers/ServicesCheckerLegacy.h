#pragma once

#include <nlohmann/json.hpp>

#include "checkers/ServicesChecker.h"

// ServicesChecker whose services are checked by ServiceCheckerLegacy.
class ServicesCheckerLegacy : public ServicesChecker {
public:
    explicit ServicesCheckerLegacy(const nlohmann::json& services);
};
