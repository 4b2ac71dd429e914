#include "checkers/ServicesCheckerLegacy.h"

#include <memory>

#include "checkers/ServiceCheckerLegacy.h"

namespace {
std::unique_ptr<ServiceChecker> makeServiceCheckerLegacy(const nlohmann::json& service) {
    return std::make_unique<ServiceCheckerLegacy>(service);
}
}  // namespace

ServicesCheckerLegacy::ServicesCheckerLegacy(const nlohmann::json& services)
    : ServicesChecker(services, makeServiceCheckerLegacy) {}
