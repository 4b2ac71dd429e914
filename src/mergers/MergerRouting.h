#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "mergers/MergerBase.h"

// Joins the routing document: the "routing" of every routing entry goes into the services with
// the same "subsystem" and "deploymentUnit". There is no gateway test.
class MergerRouting : public MergerBase {
public:
    explicit MergerRouting(const nlohmann::json& routing);
    explicit MergerRouting(nlohmann::json&& routing);

    // Failures, first found wins: "services" missing in the routing document, then in the
    // services document; then the entries and services in pair order (the first entry, every
    // service, then the other entries; nothing when either list is empty); then the type tests
    // in the same order.
    MergeResult merge(const nlohmann::json& services) override;
    MergeResult mergeInPlace(nlohmann::json& services) override;
    // The entry has "routing".
    virtual MergeResult isRoutingExists(const nlohmann::json& entry,
                                        const std::string& fileName) const;

    // "subsystem", "deploymentUnit", then isRoutingExists, failures naming the routing document.
    MergeResult checkRoutingService(const nlohmann::json& entry) const;
    // "subsystem" and "deploymentUnit", failures naming the services document.
    MergeResult checkServicesService(const nlohmann::json& service) const;

protected:
    // The value of a valid entry that a matching service receives as its "routing".
    using RoutingOf = const nlohmann::json& (*)(const nlohmann::json& entry);

    // The routing merge, copying routingOf(entry) into every matching service.
    MergeResult mergeRouting(const nlohmann::json& services, RoutingOf routingOf) const;
    // The same on services itself, as mergeInPlace does it.
    MergeResult mergeRoutingInPlace(nlohmann::json& services, RoutingOf routingOf) const;
};
