#include "checkers/ServicesCheckerV0.h"

#include <memory>

#include "checkers/ServiceCheckerV0.h"

namespace {
std::unique_ptr<ServiceChecker> makeServiceCheckerV0(const Json& service) {
    return std::make_unique<ServiceCheckerV0>(service);
}
}  // namespace

ServicesCheckerV0::ServicesCheckerV0(const Json& services)
    : ServicesChecker(services, makeServiceCheckerV0) {}
