#pragma once

#include <memory>
#include <string>

#include "common/Json.h"
#include "generator_v3/BuilderBase.h"
#include "generator_v3/UpstreamText.h"

// Upstream file of one node group for the schema-2 generator. The same text as the schema-3
// HTTP upstream file, except that servers carry no port, a route server is followed by an empty
// line, there is no keepalive line and no HTTPS variant.
class upstreams_builder : public BuilderBase, private UpstreamText {
public:
    explicit upstreams_builder(std::shared_ptr<ConfigHeaderBase> header);

    // On success out holds the whole file text; on failure out is unchanged (reasons logged).
    bool build(const Json& service, const Json& nodeGroup, bool verbose, std::string& out) const;
    bool build_upstream(const Json& nodeGroup, const Json& service, std::string& out) const;
    bool build_openshift_route(const Json& nodeGroup, std::string& out) const;
    bool build_nodes(const Json& nodeGroup, std::string& out) const;
    std::string build_http_cookie_map(const Json& service) const;
    bool build_sticky(const Json& service, const std::string& groupKey, std::string& out) const;
    bool build_sticky_type(const Json& service, const std::string& groupKey,
                           std::string& out) const;
    bool build_old_version_sticky(const Json& service, std::string& out) const;
    bool build_ip_hash_type(std::string& out) const;
    bool build_consistent_hash_type(const Json& service, std::string& out) const;
    bool build_healthcheck(const Json& service, std::string& out) const;

    // The message formatters have the same names and texts as in the schema-3 builder.
    using UpstreamText::strExpectedParam;
    using UpstreamText::strExpectedType;
    using UpstreamText::strNotContained;
    static bool json_has(const Json& value, const std::string& key);
    static std::string replace_all_copy(const std::string& text, const std::string& from,
                                        const std::string& to);
};
