#include "checkers/ServicesCheckerLegacy.h"

#include <memory>

#include "checkers/ServiceCheckerLegacy.h"

namespace {
std::unique_ptr<ServiceChecker> makeServiceCheckerLegacy(const Json& service) {
    return std::make_unique<ServiceCheckerLegacy>(service);
}
}  // namespace

ServicesCheckerLegacy::ServicesCheckerLegacy(const Json& services)
    : ServicesChecker(services, makeServiceCheckerLegacy) {}
