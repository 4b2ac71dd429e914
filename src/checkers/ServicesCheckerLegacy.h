#pragma once

#include "checkers/ServicesChecker.h"
#include "common/Json.h"

// ServicesChecker whose services are checked by ServiceCheckerLegacy.
class ServicesCheckerLegacy : public ServicesChecker {
public:
    explicit ServicesCheckerLegacy(const Json& services);
};
