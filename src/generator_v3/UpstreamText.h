#pragma once

#include <functional>
#include <string>

#include "common/Json.h"

// The pieces of an upstream file that every generation of upstream builder writes alike: the
// cookie map, the balancing line, the health-check lines, the server lines and the block around
// them. The builders differ only in the upstream name, the port after each server, an empty line
// after a route server and what follows the servers; they pass those in.
//
// Failures are reported as invalid input of "nodes.json" and make the operation return false.
class UpstreamText {
public:
    static std::string strExpectedType(const std::string& field, const std::string& type);
    static std::string strExpectedParam(const std::string& field, const std::string& parameter);
    static std::string strNotContained(const std::string& parent, const std::string& child);

    const std::string& indent() const { return indentText; }

    // out = header + the service's cookie map + the block that buildBlock appends to an empty
    // text; out is left unchanged when buildBlock fails.
    bool buildFile(const std::string& header, const Json& service,
                   const std::function<bool(std::string& block)>& buildBlock,
                   std::string& out) const;

    // True when the node group's "groupName" is a non-empty string; reported otherwise.
    bool checkGroupName(const Json& nodeGroup) const;
    // Appends the comment line, the block head "upstream <upstreamBase>_<group key> {", the
    // balancing line, the health-check lines and the server lines. portSuffix follows every
    // server host (":" + port, or empty); blankAfterRoute adds an empty line after a route
    // server. The caller appends what follows and the closing brace.
    bool buildBlockBody(const Json& nodeGroup, const Json& service, const std::string& upstreamBase,
                        const std::string& portSuffix, bool blankAfterRoute,
                        std::string& out) const;
    // Assigns the route server line to out when the node group has "openshiftRoute".
    void buildOpenshiftRoute(const Json& nodeGroup, const std::string& portSuffix,
                             bool blankAfterRoute, std::string& out) const;
    // Appends one server line per node of every data center, then an empty line.
    void buildNodes(const Json& nodeGroup, const std::string& portSuffix, std::string& out) const;

    // The map from the request's cookie to the variable that consistent hashing reads, or empty.
    std::string buildHttpCookieMap(const Json& service) const;
    // Assigns the balancing line chosen by the service (nothing when none is asked for).
    bool buildSticky(const Json& service, const std::string& groupKey, std::string& out) const;
    bool buildOldVersionSticky(const Json& service, std::string& out) const;
    bool buildIpHashType(std::string& out) const;
    bool buildConsistentHashType(const Json& service, std::string& out) const;
    bool buildStickyType(const Json& service, const std::string& groupKey, std::string& out) const;
    // True when the block gets health-check lines: enabled, and servers are data-center nodes.
    bool isHealthcheckWanted(const Json& service, const Json& nodeGroup) const;
    // Assigns the check and check_http_send lines followed by an empty line.
    bool buildHealthcheck(const Json& service, std::string& out) const;

private:
    std::string hashLine(const std::string& cookie) const;

    std::string indentText = "    ";
};
