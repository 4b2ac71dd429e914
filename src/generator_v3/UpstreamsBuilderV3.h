#pragma once

#include <memory>
#include <string>

#include "common/Json.h"
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
    bool build(const Json& service, const Json& nodeGroup, bool verbose, std::string& out);
    // Appends the upstream block; may replace the port by the node group's own.
    bool buildUpstream(const Json& nodeGroup, const Json& service, std::string& out);
    bool buildOpenshiftRoute(const Json& nodeGroup, std::string& out) const;
    bool buildNodes(const Json& nodeGroup, std::string& out) const;
    // Takes the port of the builder's protocol from the node group's "protocols", if given.
    void overridePort(const Json& nodeGroup);
    void setPortFrom(const Json& nodeGroup, const std::string& protocol);
    bool buildKeepalive(const Json& nodeGroup, std::string& out) const;

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
