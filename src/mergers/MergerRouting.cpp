#include "mergers/MergerRouting.h"

#include <cstddef>
#include <utility>

#include "common/FileNames.h"
#include "common/ProcessingJson.h"
#include "mergers/MergeKeyIndex.h"

namespace {

const Json& entryRouting(const Json& entry) {
    return entry.at("routing");
}

}  // namespace

MergerRouting::MergerRouting(const Json& routing) : MergerBase(routing) {}

MergerRouting::MergerRouting(Json&& routing) : MergerBase(std::move(routing)) {}

MergeResult MergerRouting::isRoutingExists(const Json& entry, const std::string& fileName) const {
    if (ProcessingJson().exists(entry, "routing")) {
        return MergeResult();
    }
    return MergeResult("\"routing\" does not exists in service", fileName);
}

MergeResult MergerRouting::checkRoutingService(const Json& entry) const {
    MergeResult result = isSubsystemExists(entry, ROUTING_JSON);
    if (!result.getIsOk()) {
        return result;
    }
    result = isDeploymentUnitExists(entry, ROUTING_JSON);
    if (!result.getIsOk()) {
        return result;
    }
    return isRoutingExists(entry, ROUTING_JSON);
}

MergeResult MergerRouting::checkServicesService(const Json& service) const {
    MergeResult result = isSubsystemExists(service, SERVICES_JSON);
    if (!result.getIsOk()) {
        return result;
    }
    return isDeploymentUnitExists(service, SERVICES_JSON);
}

MergeResult MergerRouting::merge(const Json& services) {
    return mergeRouting(services, &entryRouting);
}

MergeResult MergerRouting::mergeInPlace(Json& services) {
    return mergeRoutingInPlace(services, &entryRouting);
}

MergeResult MergerRouting::mergeRouting(const Json& services, RoutingOf routingOf) const {
    Json result = services;
    MergeResult merged = mergeRoutingInPlace(result, routingOf);
    if (!merged.getIsOk()) {
        return merged;
    }
    return MergeResult(std::move(result));
}

MergeResult MergerRouting::mergeRoutingInPlace(Json& services, RoutingOf routingOf) const {
    const Json& routing = getSourceJson();
    MergeResult check = isServicesExists(routing, ROUTING_JSON);
    if (!check.getIsOk()) {
        return check;
    }
    check = isServicesExists(services, SERVICES_JSON);
    if (!check.getIsOk()) {
        return check;
    }
    const Json& entries = routing.at("services");
    const Json& serviceList = services.at("services");

    // Every (entry, service) pair is tested entry first, entries outside: the first entry, then
    // every service, then the remaining entries. Without pairs nothing is tested. Then "services"
    // must be an array in both documents, and then the keys must be strings, in the same order
    // of entries and services. Each service is visited once for its presence test, its key
    // types and the index (each walk over 20,000 services costs a cache miss per object): a
    // missing member ends the walk at once, the first wrong type is kept for its turn, and the
    // index is used only when nothing failed.
    const bool hasPairs =
        entries.begin() != entries.end() && serviceList.begin() != serviceList.end();
    MergeResult servicesTypes;
    MergeKeyIndex index;
    if (hasPairs) {
        auto entry = entries.begin();
        check = checkRoutingService(*entry);
        if (!check.getIsOk()) {
            return check;
        }
        check = walkServices(
            serviceList, [this](const Json& service) { return checkServicesService(service); },
            [this](const Json& service) { return checkKeyTypes(service, SERVICES_JSON); },
            servicesTypes, &index);
        if (!check.getIsOk()) {
            return check;
        }
        for (++entry; entry != entries.end(); ++entry) {
            check = checkRoutingService(*entry);
            if (!check.getIsOk()) {
                return check;
            }
        }
    }

    check = isServicesArray(routing, ROUTING_JSON);
    if (!check.getIsOk()) {
        return check;
    }
    check = isServicesArray(services, SERVICES_JSON);
    if (!check.getIsOk()) {
        return check;
    }
    if (!hasPairs) {
        return MergeResult();
    }
    check = checkKeyTypes(entries[0], ROUTING_JSON);
    if (!check.getIsOk()) {
        return check;
    }
    if (!servicesTypes.getIsOk()) {
        return servicesTypes;
    }
    for (std::size_t i = 1; i < entries.size(); ++i) {
        check = checkKeyTypes(entries[i], ROUTING_JSON);
        if (!check.getIsOk()) {
            return check;
        }
    }

    // Entries are applied in document order, so the last matching entry wins. Setting "routing"
    // leaves the keys that the index refers to as they are.
    Json& changed = services.at("services");
    for (const auto& entry : entries) {
        const auto& positions = index.find(entry);
        for (std::size_t i = 0; i < positions.size(); ++i) {
            const Json& value = routingOf(entry);
            changed[positions[i]]["routing"] =
                i + 1 == positions.size() ? takeOrCopy(value) : Json(value);
        }
    }
    return MergeResult();
}
