#pragma once

#include "checkers/ServiceChecker.h"
#include "common/Json.h"

// ServiceChecker with the routing rules of schema-0 input.
class ServiceCheckerV0 : public ServiceChecker {
public:
    explicit ServiceCheckerV0(const Json& service);
};
