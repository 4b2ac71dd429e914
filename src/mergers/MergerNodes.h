#pragma once

#include "common/Json.h"
#include "mergers/MergerBase.h"

// Joins the nodes document: its "protocols" section, and the "nodeGroups" of every API version
// of a nodes entry into the same version of the services that the entry matches.
class MergerNodes : public MergerBase {
public:
    explicit MergerNodes(const Json& nodes);
    explicit MergerNodes(Json&& nodes);

    // Failures, first found wins: "services" missing in the nodes document, then in the services
    // document; an entry, then a service, lacking one of the members checked below; then the
    // type tests (entries before services); then a matching entry version without "nodeGroups".
    MergeResult merge(const Json& services) override;
    MergeResult mergeInPlace(Json& services) override;

    // Sets the document's "protocols" to the nodes document's when that has one. A document that
    // is neither an object nor null is left alone.
    void addProtocols(Json& document) const;
    // "subsystem", "deploymentUnit", "apiVersions" and every "apiVersions" element's "version",
    // failures naming the nodes document.
    MergeResult checkNodesService(const Json& entry) const;
    // The same members, failures naming the services document.
    MergeResult checkServicesService(const Json& service) const;

private:
    MergeResult checkMembers(const Json& value, const std::string& fileName) const;
    // The types of the members an entry or a service is matched by: keys, then API versions,
    // then gateways.
    MergeResult checkValueTypes(const Json& value, const std::string& fileName) const;
};
