#pragma once

#include <nlohmann/json.hpp>

#include "checkers/ServiceChecker.h"

// ServiceChecker with the routing rules of schema-0 input.
class ServiceCheckerV0 : public ServiceChecker {
public:
    explicit ServiceCheckerV0(const nlohmann::json& service);
};
