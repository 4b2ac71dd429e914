#pragma once

#include <nlohmann/json.hpp>

#include "checkers/ServicesChecker.h"

// ServicesChecker whose services are checked by ServiceCheckerV0.
class ServicesCheckerV0 : public ServicesChecker {
public:
    explicit ServicesCheckerV0(const nlohmann::json& services);
};
