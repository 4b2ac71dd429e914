#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "generator_v3/BuilderBase.h"
#include "generator_v3/UpstreamText.h"

// Text of the upstream file of one node group for one protocol: the header, an optional cookie
// map and one upstream block with the balancing line, the health check, the servers with their
// port and the keepalive setting. Made for one node group and one protocol.
class UpstreamsBuilderV3 : public BuilderBase, private UpstreamText {
public:
    UpstreamsBuilderV3(bool isHttps, const std::string& port, bool ignorePorts,
                       std::shared_ptr<ConfigHeaderBase> header);

    // On success out holds the whole file text; on failure out is unchanged (reasons logged).
    bool build(const nlohmann::json& service, const nlohmann::json& nodeGroup, bool verbose,
               std::string& out);
    // Appends the upstream block; may replace the port by the node group's own.
    bool buildUpstream(const nlohmann::json& nodeGroup, const nlohmann::json& service,
                       std::string& out);
    bool buildOpenshiftRoute(const nlohmann::json& nodeGroup, std::string& out) const;
    bool buildNodes(const nlohmann::json& nodeGroup, std::string& out) const;
    // Takes the port of the builder's protocol from the node group's "protocols", if given.
    void overridePort(const nlohmann::json& nodeGroup);
    void setPortFrom(const nlohmann::json& nodeGroup, const std::string& protocol);
    bool buildKeepalive(const nlohmann::json& nodeGroup, std::string& out) const;

    // Message formatters, cookie map, balancing lines and health check: the same text in every
    // generation of upstream builder.
    using UpstreamText::buildConsistentHashType;
    using UpstreamText::buildHealthcheck;
    using UpstreamText::buildHttpCookieMap;
    using UpstreamText::buildIpHashType;
    using UpstreamText::buildOldVersionSticky;
    using UpstreamText::buildSticky;
    using UpstreamText::buildStickyType;
    using UpstreamText::strExpectedParam;
    using UpstreamText::strExpectedType;
    using UpstreamText::strNotContained;

private:
    // ":" + port, or nothing when ports are ignored.
    std::string serverPortSuffix() const;

    bool isHttps;
    std::string port;
    bool ignorePorts;
};
