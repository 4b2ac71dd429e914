#include "mergers/MergerLimits.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "common/FileNames.h"
#include "common/ProcessingJson.h"
#include "mergers/MergeKeyIndex.h"

MergerLimits::MergerLimits(const nlohmann::json& limits) : MergerBase(limits) {}

MergerLimits::MergerLimits(nlohmann::json&& limits) : MergerBase(std::move(limits)) {}

MergeResult MergerLimits::isQuotasExists(const nlohmann::json& entry,
                                         const std::string& fileName) const {
    if (ProcessingJson().exists(entry, "quotas")) {
        return MergeResult();
    }
    return MergeResult("\"quotas\" does not exists in service", fileName);
}

MergeResult MergerLimits::checkLimitsService(const nlohmann::json& entry) const {
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

MergeResult MergerLimits::checkServicesService(const nlohmann::json& service) const {
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

MergeResult MergerLimits::merge(const nlohmann::json& services) {
    nlohmann::json result = services;
    MergeResult merged = mergeInPlace(result);
    if (!merged.getIsOk()) {
        return merged;
    }
    return MergeResult(std::move(result));
}

MergeResult MergerLimits::mergeInPlace(nlohmann::json& services) {
    const nlohmann::json& limits = getSourceJson();
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
    const nlohmann::json& entries = limits.at("services");
    const nlohmann::json& serviceList = services.at("services");

    std::vector<std::size_t> takingEntries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (checkLimitsService(entries[i]).getIsOk()) {
            takingEntries.push_back(i);
        }
    }
    std::vector<std::size_t> takingServices;
    for (std::size_t i = 0; i < serviceList.size(); ++i) {
        if (checkServicesService(serviceList[i]).getIsOk()) {
            takingServices.push_back(i);
        }
    }
    // Keys and gateways are read only from pairs where both sides take part.
    if (takingEntries.empty() || takingServices.empty()) {
        return MergeResult();
    }
    for (std::size_t i : takingEntries) {
        check = checkKeyTypes(entries[i], LIMITS_JSON);
        if (check.getIsOk()) {
            check = checkUsedGatewaysTypes(entries[i], LIMITS_JSON);
        }
        if (!check.getIsOk()) {
            return check;
        }
    }
    for (std::size_t i : takingServices) {
        check = checkKeyTypes(serviceList[i], SERVICES_JSON);
        if (check.getIsOk()) {
            check = checkUsedGatewaysTypes(serviceList[i], SERVICES_JSON);
        }
        if (!check.getIsOk()) {
            return check;
        }
    }

    // Entries are applied in document order, so the last matching entry wins. Setting "quotas"
    // leaves the keys and gateways that the matching reads as they are.
    MergeKeyIndex index;
    for (std::size_t i : takingServices) {
        index.add(serviceList[i], i);
    }
    nlohmann::json& changed = services.at("services");
    std::vector<std::size_t> receiving;
    for (std::size_t i : takingEntries) {
        const nlohmann::json& entry = entries[i];
        auto entryGateways = entry.find("usedGateways");
        receiving.clear();
        for (std::size_t position : index.find(entry)) {
            if (entryGateways == entry.end() ||
                equalsUsedGW(*entryGateways, serviceList[position].at("usedGateways"))) {
                receiving.push_back(position);
            }
        }
        const nlohmann::json& quotas = entry.at("quotas");
        for (std::size_t k = 0; k < receiving.size(); ++k) {
            changed[receiving[k]]["quotas"] =
                k + 1 == receiving.size() ? takeOrCopy(quotas) : nlohmann::json(quotas);
        }
    }
    return MergeResult();
}
