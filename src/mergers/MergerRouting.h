#pragma once

#include <string>

#include "common/Json.h"
#include "mergers/MergerBase.h"

// Joins the routing document: the "routing" of every routing entry goes into the services with
// the same "subsystem" and "deploymentUnit". There is no gateway test.
class MergerRouting : public MergerBase {
public:
    explicit MergerRouting(const Json& routing);
    explicit MergerRouting(Json&& routing);

    // Failures, first found wins: "services" missing in the routing document, then in the
    // services document; then the entries and services in pair order (the first entry, every
    // service, then the other entries; nothing when either list is empty); then the type tests
    // in the same order.
    MergeResult merge(const Json& services) override;
    MergeResult mergeInPlace(Json& services) override;
    // The entry has "routing".
    virtual MergeResult isRoutingExists(const Json& entry, const std::string& fileName) const;

    // "subsystem", "deploymentUnit", then isRoutingExists, failures naming the routing document.
    MergeResult checkRoutingService(const Json& entry) const;
    // "subsystem" and "deploymentUnit", failures naming the services document.
    MergeResult checkServicesService(const Json& service) const;

protected:
    // The value of a valid entry that a matching service receives as its "routing".
    using RoutingOf = const Json& (*)(const Json& entry);

    // The routing merge, copying routingOf(entry) into every matching service.
    MergeResult mergeRouting(const Json& services, RoutingOf routingOf) const;
    // The same on services itself, as mergeInPlace does it.
    MergeResult mergeRoutingInPlace(Json& services, RoutingOf routingOf) const;
};
