#pragma once

#include <string>

#include "common/Json.h"
#include "mergers/MergerBase.h"

// Joins the limits document: the "quotas" of every limits entry go into the services with the
// same "subsystem" and "deploymentUnit" that pass the gateway test. Entries and services that
// lack a member the step needs take no part, without a message.
class MergerLimits : public MergerBase {
public:
    explicit MergerLimits(const Json& limits);
    explicit MergerLimits(Json&& limits);

    // Failures: "services" missing in the limits document, then in the services document; then
    // "services" not an array; then the types of the values read from the taking-part entries
    // and services (entries first).
    MergeResult merge(const Json& services) override;
    MergeResult mergeInPlace(Json& services) override;
    // The entry has "quotas".
    MergeResult isQuotasExists(const Json& entry, const std::string& fileName) const;

    // "subsystem", "deploymentUnit", "quotas", failures naming the limits document.
    MergeResult checkLimitsService(const Json& entry) const;
    // "subsystem", "deploymentUnit", "usedGateways", failures naming the services document.
    MergeResult checkServicesService(const Json& service) const;
};
