#pragma once

#include <nlohmann/json.hpp>

#include "checkers/ServiceChecker.h"

// ServiceChecker with the routing rules of legacy schema-2 input.
class ServiceCheckerLegacy : public ServiceChecker {
public:
    explicit ServiceCheckerLegacy(const nlohmann::json& service);
};
