#pragma once

#include "checkers/ServicesChecker.h"
#include "common/Json.h"

// ServicesChecker whose services are checked by ServiceCheckerV0.
class ServicesCheckerV0 : public ServicesChecker {
public:
    explicit ServicesCheckerV0(const Json& services);
};
