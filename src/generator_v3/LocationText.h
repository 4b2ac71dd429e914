#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Json.h"
#include "generator_v3/BuilderJson.h"

// The pieces of a location file that every generation of location builder writes alike: the
// walk over API versions and locations, the block around each location, the limit lines, the
// return, alias and proxy contents, rewrites, proxy headers, custom headers and the openshift
// host blocks. The builders choose the kind of content, the proxy scheme and variable, and the
// host of an openshift route; they pass those in.
class LocationText {
public:
    // Gives the host written for a node group that has "openshiftRoute" and "groupName".
    using HostOf = std::function<std::string(const Json& nodeGroup)>;
    using HostBlocksOf = std::function<std::string(const Json& apiVersion)>;
    using BlockOf = std::function<std::string(const Json& location, const std::string& hostBlocks)>;

    // True when value is an object holding key (null values included).
    static bool jsonHas(const Json& value, std::string_view key) {
        return BuilderJson::has(value, key);
    }

    // For every API version: hostBlocksOf once, then blockOf for each of its locations.
    std::string buildBlocks(const Json& service, const HostBlocksOf& hostBlocksOf,
                            const BlockOf& blockOf) const;
    // "location <url> {", the two set lines, the limit lines, content and "}" + empty line.
    std::string buildBlock(const Json& location, const std::string& limitLines,
                           const std::string& cleanUnit, const std::string& cleanSubsystem,
                           const std::string& content) const;
    // One limit_req line per "rpsbyconsumer" quota, then the default zone's line; empty
    // without "quotas".
    std::string buildLimits(const Json& service) const;
    // The if blocks that point $<unit>_by_release's openshift upstreams at their hosts.
    std::string buildShiftHeaders(const Json& apiVersion, const std::string& cleanUnit,
                                  const HostOf& hostOf) const;

    // The return line and custom headers; empty unless "return" has "code" and "body".
    std::string buildReturnContent(const Json& location) const;
    // "<key> <value>;" for every key present in the location, in the order given.
    std::string buildDirectives(const Json& location, const std::vector<std::string>& keys) const;
    // Rewrite, the proxy_pass line to variable (+ "proxyPass"), extraLines, the proxy headers
    // with hostBlocks and the custom headers.
    std::string buildProxyContent(const Json& location, bool https, const std::string& variable,
                                  const std::string& extraLines,
                                  const std::string& hostBlocks) const;
    std::string buildRewrite(const Json& location) const;
    std::string buildHeaders(const Json& location, const std::string& hostBlocks) const;
    std::string buildCustomHeaders(const Json& location) const;

private:
    std::string indent = "    ";
};
