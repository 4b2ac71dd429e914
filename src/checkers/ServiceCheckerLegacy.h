#pragma once

#include "checkers/ServiceChecker.h"
#include "common/Json.h"

// ServiceChecker with the routing rules of legacy schema-2 input.
class ServiceCheckerLegacy : public ServiceChecker {
public:
    explicit ServiceCheckerLegacy(const Json& service);
};
