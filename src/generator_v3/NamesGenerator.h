#pragma once

#include <string>

#include "common/Json.h"

// The one place that decides how generated things are named: output file suffixes, upstream
// names, the routing variable and the limit zones. Upstream, location, routing and limits files
// refer to each other only through these names, so every builder takes them from here.
//
// Two cleanings are used: dot-dash cleaning (every "." and then every "-" becomes "_", case
// kept) for deployment units, subsystems and zone parts, and group cleaning (every byte that is
// not an ASCII letter or digit becomes "_", then lower case) for node-group names.
class NamesGenerator {
public:
    // name + "_https" for the HTTPS variant, name otherwise.
    std::string genUpstreamHttpsName(const std::string& name, bool https) const;
    // prefix + "." + the group-cleaned compact JSON text of the node group's "groupName" with
    // its double quotes removed.
    std::string upstreamPrefixFname(const std::string& prefix, const Json& nodeGroup) const;
    std::string upstreamPostfixFname(bool https) const;
    std::string locationPostfixFname(bool https) const;
    std::string routingPostfixFname(bool https) const;
    // Limits files exist in one variant only.
    std::string limitsPostfixFname() const;
    // The four parts dot-dash cleaned and joined by "_".
    std::string generateZoneNameForLimits(const std::string& serviceSubsystem,
                                          const std::string& serviceDeploymentUnit,
                                          const std::string& consumerSubsystem,
                                          const std::string& consumerDeploymentUnit) const;
    // The two parts dot-dash cleaned and joined by "_".
    std::string generateZoneNameForDefaultLimits(const std::string& serviceSubsystem,
                                                 const std::string& serviceDeploymentUnit) const;

    // Names inside the output files.
    // The dot-dash cleaned deployment unit.
    std::string cleanName(const std::string& text) const;
    // The group-cleaned node-group name: the group key.
    std::string groupKey(const std::string& groupName) const;
    // genUpstreamHttpsName of the cleaned deployment unit: the upstream base name.
    std::string upstreamBaseName(const std::string& deploymentUnit, bool https) const;
    // upstreamBase + "_" + group key: the name of an upstream block.
    std::string upstreamName(const std::string& upstreamBase, const std::string& groupName) const;
    // "$" + upstreamBase + "_by_release": the variable defined by the routing map.
    std::string byReleaseVariable(const std::string& upstreamBase) const;
    // generateZoneNameForLimits + "_req_zone".
    std::string consumerZone(const std::string& serviceSubsystem,
                             const std::string& serviceDeploymentUnit,
                             const std::string& consumerSubsystem,
                             const std::string& consumerDeploymentUnit) const;
    // generateZoneNameForDefaultLimits + "_default_req_zone".
    std::string defaultZone(const std::string& serviceSubsystem,
                            const std::string& serviceDeploymentUnit) const;
};
