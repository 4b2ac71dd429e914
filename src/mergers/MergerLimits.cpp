#include "mergers/MergerLimits.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "common/FileNames.h"
#include "common/ProcessingJson.h"
#include "mergers/MergeKeyIndex.h"

MergerLimits::MergerLimits(const Json& limits) : MergerBase(limits) {}

MergerLimits::MergerLimits(Json&& limits) : MergerBase(std::move(limits)) {}

MergeResult MergerLimits::isQuotasExists(const Json& entry, const std::string& fileName) const {
    if (ProcessingJson().exists(entry, "quotas")) {
        return MergeResult();
    }
    return MergeResult("\"quotas\" does not exists in service", fileName);
}

MergeResult MergerLimits::checkLimitsService(const Json& entry) const {
    MergeResult result = isSubsystemExists(entry, LIMITS_JSON);
    if (!result.getIsOk()) {
        return result;
    }
    result = isDeploymentUnitExists(entry, LIMITS_JSON);
    if (!result.getIsOk()) {
        return result;
    }
    return isQuotasExists(entry, LIMITS_JSON);
}

MergeResult MergerLimits::checkServicesService(const Json& service) const {
    MergeResult result = isSubsystemExists(service, SERVICES_JSON);
    if (!result.getIsOk()) {
        return result;
    }
    result = isDeploymentUnitExists(service, SERVICES_JSON);
    if (!result.getIsOk()) {
        return result;
    }
    return isUsedGatewaysExists(service, SERVICES_JSON);
}

MergeResult MergerLimits::merge(const Json& services) {
    Json result = services;
    MergeResult merged = mergeInPlace(result);
    if (!merged.getIsOk()) {
        return merged;
    }
    return MergeResult(std::move(result));
}

MergeResult MergerLimits::mergeInPlace(Json& services) {
    const Json& limits = getSourceJson();
    MergeResult check = isServicesExists(limits, LIMITS_JSON);
    if (!check.getIsOk()) {
        return check;
    }
    check = isServicesExists(services, SERVICES_JSON);
    if (!check.getIsOk()) {
        return check;
    }
    check = isServicesArray(limits, LIMITS_JSON);
    if (!check.getIsOk()) {
        return check;
    }
    check = isServicesArray(services, SERVICES_JSON);
    if (!check.getIsOk()) {
        return check;
    }
    const Json& entries = limits.at("services");
    const Json& serviceList = services.at("services");

    // Only entries and services with every member take part; keys and gateways are read only
    // from pairs where both sides take part, entries' types before services'. Each is visited
    // once for its members, its types and (services) the index (each walk over 20,000 services
    // costs a cache miss per object): the first wrong type of each side is kept for its turn,
    // and the index is used only when nothing failed.
    auto typesOf = [this](const Json& value, const std::string& fileName) {
        MergeResult result = checkKeyTypes(value, fileName);
        return result.getIsOk() ? checkUsedGatewaysTypes(value, fileName) : result;
    };
    std::vector<std::size_t> takingEntries;
    MergeResult entriesTypes;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (checkLimitsService(entries[i]).getIsOk()) {
            takingEntries.push_back(i);
            if (entriesTypes.getIsOk()) {
                entriesTypes = typesOf(entries[i], LIMITS_JSON);
            }
        }
    }
    bool anyServiceTakes = false;
    MergeResult servicesTypes;
    MergeKeyIndex index;
    for (std::size_t i = 0; i < serviceList.size(); ++i) {
        if (checkServicesService(serviceList[i]).getIsOk()) {
            anyServiceTakes = true;
            if (servicesTypes.getIsOk()) {
                servicesTypes = typesOf(serviceList[i], SERVICES_JSON);
                if (servicesTypes.getIsOk()) {
                    index.add(serviceList[i], i);
                }
            }
        }
    }
    if (takingEntries.empty() || !anyServiceTakes) {
        return MergeResult();
    }
    if (!entriesTypes.getIsOk()) {
        return entriesTypes;
    }
    if (!servicesTypes.getIsOk()) {
        return servicesTypes;
    }

    // Entries are applied in document order, so the last matching entry wins. Setting "quotas"
    // leaves the keys and gateways that the matching reads as they are.
    Json& changed = services.at("services");
    std::vector<std::size_t> receiving;
    for (std::size_t i : takingEntries) {
        const Json& entry = entries[i];
        auto entryGateways = entry.find("usedGateways");
        receiving.clear();
        for (std::size_t position : index.find(entry)) {
            if (entryGateways == entry.end() ||
                equalsUsedGW(*entryGateways, serviceList[position].at("usedGateways"))) {
                receiving.push_back(position);
            }
        }
        const Json& quotas = entry.at("quotas");
        for (std::size_t k = 0; k < receiving.size(); ++k) {
            changed[receiving[k]]["quotas"] =
                k + 1 == receiving.size() ? takeOrCopy(quotas) : Json(quotas);
        }
    }
    return MergeResult();
}
