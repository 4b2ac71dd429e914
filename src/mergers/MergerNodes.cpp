#include "mergers/MergerNodes.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "common/FileNames.h"
#include "mergers/MergeKeyIndex.h"

namespace {

// Positions of a service's API versions, sorted by "version" and, for equal versions, by
// position.
using VersionPositions = std::vector<std::pair<std::string_view, std::size_t>>;

VersionPositions indexVersions(const Json& apiVersions) {
    VersionPositions versions;
    versions.reserve(apiVersions.size());
    for (std::size_t i = 0; i < apiVersions.size(); ++i) {
        versions.emplace_back(apiVersions[i].at("version").get_ref<const std::string&>(), i);
    }
    std::stable_sort(versions.begin(), versions.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return versions;
}

}  // namespace

MergerNodes::MergerNodes(const Json& nodes) : MergerBase(nodes) {}

MergerNodes::MergerNodes(Json&& nodes) : MergerBase(std::move(nodes)) {}

void MergerNodes::addProtocols(Json& document) const {
    const Json& nodes = getSourceJson();
    auto protocols = nodes.find("protocols");
    if (protocols == nodes.end() || !(document.is_object() || document.is_null())) {
        return;
    }
    document["protocols"] = *protocols;
}

MergeResult MergerNodes::checkMembers(const Json& value, const std::string& fileName) const {
    MergeResult result = isSubsystemExists(value, fileName);
    if (!result.getIsOk()) {
        return result;
    }
    result = isDeploymentUnitExists(value, fileName);
    if (!result.getIsOk()) {
        return result;
    }
    result = isApiVersionsExists(value, fileName);
    if (!result.getIsOk()) {
        return result;
    }
    return isVersionInApiVersionsExists(value, fileName);
}

MergeResult MergerNodes::checkNodesService(const Json& entry) const {
    return checkMembers(entry, NODES_JSON);
}

MergeResult MergerNodes::checkServicesService(const Json& service) const {
    return checkMembers(service, SERVICES_JSON);
}

// Every value the matching reads must have the type it is read as.
MergeResult MergerNodes::checkValueTypes(const Json& value, const std::string& fileName) const {
    MergeResult result = checkKeyTypes(value, fileName);
    if (result.getIsOk()) {
        result = checkApiVersionsTypes(value, fileName);
    }
    if (result.getIsOk()) {
        result = checkUsedGatewaysTypes(value, fileName);
    }
    return result;
}

MergeResult MergerNodes::merge(const Json& services) {
    Json result = services;
    MergeResult merged = mergeInPlace(result);
    if (!merged.getIsOk()) {
        return merged;
    }
    return MergeResult(std::move(result));
}

MergeResult MergerNodes::mergeInPlace(Json& services) {
    const Json& nodes = getSourceJson();
    MergeResult check = isServicesExists(nodes, NODES_JSON);
    if (!check.getIsOk()) {
        return check;
    }
    check = isServicesExists(services, SERVICES_JSON);
    if (!check.getIsOk()) {
        return check;
    }
    const Json& entries = nodes.at("services");
    const Json& serviceList = services.at("services");

    // Failures in this order: a missing member of an entry, then of a service, then a wrong type
    // in the nodes document ("services" not an array, then entry by entry), then in the services
    // document. A missing member ends the walk at once; the first wrong type of each document is
    // kept until every member has been found present. Each document is walked once for both
    // (each walk over 20,000 services costs a cache miss per object), and the services' walk
    // also indexes them, the index being used only when nothing failed.
    MergeResult entriesTypes = isServicesArray(nodes, NODES_JSON);
    check = walkServices(
        entries, [this](const Json& entry) { return checkNodesService(entry); },
        [this](const Json& entry) { return checkValueTypes(entry, NODES_JSON); }, entriesTypes,
        nullptr);
    if (!check.getIsOk()) {
        return check;
    }
    MergeResult servicesTypes = isServicesArray(services, SERVICES_JSON);
    MergeKeyIndex index;
    check = walkServices(
        serviceList, [this](const Json& service) { return checkServicesService(service); },
        [this](const Json& service) { return checkValueTypes(service, SERVICES_JSON); },
        servicesTypes, &index);
    if (!check.getIsOk()) {
        return check;
    }
    if (!entriesTypes.getIsOk()) {
        return entriesTypes;
    }
    if (!servicesTypes.getIsOk()) {
        return servicesTypes;
    }

    // Every change is found first and made afterwards, so that a failure leaves the document as
    // it was. The index and the version tables refer to the document while it is unchanged.
    // Entries are applied in document order, so the last entry matching a version wins.
    std::vector<VersionPositions> versionTables(serviceList.size());
    std::vector<bool> versionTableBuilt(serviceList.size(), false);

    // A change without node groups gives the service a null "usedGateways".
    struct Change {
        std::size_t service;
        std::size_t version;
        const Json* nodeGroups;
    };
    std::vector<Change> changes;
    for (const auto& entry : entries) {
        const auto& positions = index.find(entry);
        if (positions.empty()) {
            continue;
        }
        auto entryGateways = entry.find("usedGateways");
        for (std::size_t position : positions) {
            const Json& service = serviceList[position];
            if (entryGateways != entry.end()) {
                // A service without gateways matches no gateway-bound entry; the null it gains
                // from the first such entry matches none either.
                auto serviceGateways = service.find("usedGateways");
                if (serviceGateways == service.end()) {
                    changes.push_back({position, 0, nullptr});
                    continue;
                }
                if (!equalsUsedGW(*entryGateways, *serviceGateways)) {
                    continue;
                }
            }
            if (!versionTableBuilt[position]) {
                versionTables[position] = indexVersions(service.at("apiVersions"));
                versionTableBuilt[position] = true;
            }
            const VersionPositions& versions = versionTables[position];
            for (const auto& entryApiVersion : entry.at("apiVersions")) {
                std::string_view version =
                    entryApiVersion.at("version").get_ref<const std::string&>();
                auto range = std::equal_range(
                    versions.begin(), versions.end(), std::make_pair(version, std::size_t(0)),
                    [](const auto& a, const auto& b) { return a.first < b.first; });
                if (range.first == range.second) {
                    continue;
                }
                auto nodeGroups = entryApiVersion.find("nodeGroups");
                if (nodeGroups == entryApiVersion.end()) {
                    return MergeResult("\"apiVersions.nodeGroups\" does not exists in service",
                                       NODES_JSON);
                }
                for (auto it = range.first; it != range.second; ++it) {
                    changes.push_back({position, it->second, &*nodeGroups});
                }
            }
        }
    }

    // When the source may be spent, the last change that uses a node-group list takes it.
    std::vector<bool> lastUse(changes.size(), true);
    if (spendsSource()) {
        std::unordered_set<const Json*> used;
        for (std::size_t i = changes.size(); i-- > 0;) {
            lastUse[i] =
                changes[i].nodeGroups != nullptr && used.insert(changes[i].nodeGroups).second;
        }
    }
    addProtocols(services);
    Json& changed = services.at("services");
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const Change& change = changes[i];
        Json& service = changed[change.service];
        if (change.nodeGroups == nullptr) {
            service["usedGateways"] = nullptr;
        } else {
            service.at("apiVersions")[change.version]["nodeGroups"] =
                lastUse[i] ? takeOrCopy(*change.nodeGroups) : Json(*change.nodeGroups);
        }
    }
    return MergeResult();
}
