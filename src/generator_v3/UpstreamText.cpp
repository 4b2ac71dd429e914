#include "generator_v3/UpstreamText.h"

#include "common/FileNames.h"
#include "common/Logger.h"
#include "generator_v3/BuilderJson.h"
#include "generator_v3/NamesGenerator.h"

using json = Json;

std::string UpstreamText::strExpectedType(const std::string& field, const std::string& type) {
    return "expected type '" + type + "' for field '" + field + "'";
}

std::string UpstreamText::strExpectedParam(const std::string& field, const std::string& parameter) {
    return "expected parameter '" + parameter + "' for field '" + field + "'";
}

std::string UpstreamText::strNotContained(const std::string& parent, const std::string& child) {
    return parent + " does not contained a child field " + child;
}

bool UpstreamText::buildFile(const std::string& header, const json& service,
                             const std::function<bool(std::string& block)>& buildBlock,
                             std::string& out) const {
    std::string cookieMap = buildHttpCookieMap(service);
    std::string block;
    if (!buildBlock(block)) {
        return false;
    }
    out = header + cookieMap + block;
    return true;
}

bool UpstreamText::checkGroupName(const json& nodeGroup) const {
    const json& name = BuilderJson::member(nodeGroup, "groupName");
    bool ok = name.is_string() && !name.get_ref<const std::string&>().empty();
    return ASSERT(ok, strExpectedType("groupName", "string"), NODES_JSON);
}

bool UpstreamText::buildBlockBody(const json& nodeGroup, const json& service,
                                  const std::string& upstreamBase, const std::string& portSuffix,
                                  bool blankAfterRoute, std::string& out) const {
    NamesGenerator names;
    std::string groupName = BuilderJson::memberText(nodeGroup, "groupName");
    out += "# upstream for balancing group " + groupName + "\n";
    out += "upstream " + names.upstreamName(upstreamBase, groupName) + " {\n";

    std::string text;
    if (!buildSticky(service, names.groupKey(groupName), text)) {
        return false;
    }
    out += text;
    if (isHealthcheckWanted(service, nodeGroup)) {
        text.clear();
        if (!buildHealthcheck(service, text)) {
            return false;
        }
        out += text;
    }
    text.clear();
    buildOpenshiftRoute(nodeGroup, portSuffix, blankAfterRoute, text);
    out += text;
    // A route replaces the data-center nodes.
    if (text.empty()) {
        buildNodes(nodeGroup, portSuffix, out);
    }
    return true;
}

void UpstreamText::buildOpenshiftRoute(const json& nodeGroup, const std::string& portSuffix,
                                       bool blankAfterRoute, std::string& out) const {
    if (!BuilderJson::has(nodeGroup, "openshiftRoute")) {
        return;
    }
    out = indentText + "server " + BuilderJson::memberText(nodeGroup, "openshiftRoute") +
          portSuffix + ";\n" + (blankAfterRoute ? "\n" : "");
}

void UpstreamText::buildNodes(const json& nodeGroup, const std::string& portSuffix,
                              std::string& out) const {
    const json& dataCenters = BuilderJson::member(nodeGroup, "dataCenters");
    if (dataCenters.is_array()) {
        for (const json& dataCenter : dataCenters) {
            const json& nodes = BuilderJson::member(dataCenter, "nodes");
            if (!nodes.is_array()) {
                continue;
            }
            for (const json& node : nodes) {
                out += indentText + "server " + BuilderJson::text(node) + portSuffix + ";\n";
            }
        }
    }
    out += "\n";
}

std::string UpstreamText::buildHttpCookieMap(const json& service) const {
    std::string cookie;
    if (!BuilderJson::has(service, "stickyOptions")) {
        if (BuilderJson::isTrue(BuilderJson::member(service, "sticky")) &&
            BuilderJson::has(service, "stickyCookie")) {
            cookie = BuilderJson::memberText(service, "stickyCookie");
        }
    } else {
        const json& options = BuilderJson::member(service, "stickyOptions");
        if (BuilderJson::memberText(options, "type") == "consistent_hash" &&
            BuilderJson::has(options, "stickyCookie")) {
            cookie = BuilderJson::memberText(options, "stickyCookie");
        }
    }
    std::string variable = NamesGenerator().cleanName(cookie);
    if (cookie.empty() || variable.empty()) {
        return std::string();
    }
    std::string inner = indentText + indentText;
    return indentText + "map $http_cookie $" + variable + " {\n" + inner + "\"~*" + cookie +
           "=(?<session_cookie>(?U).*)(;|$)\" $session_cookie;\n" + inner +
           "default 'empty';\n    }\n\n";
}

bool UpstreamText::buildSticky(const json& service, const std::string& groupKey,
                               std::string& out) const {
    if (!BuilderJson::has(service, "stickyOptions")) {
        if (BuilderJson::isTrue(BuilderJson::member(service, "sticky"))) {
            return buildOldVersionSticky(service, out);
        }
        return true;
    }
    const json& options = BuilderJson::member(service, "stickyOptions");
    if (!ASSERT(BuilderJson::has(options, "type"), strNotContained("stickyOptions", "type"),
                NODES_JSON)) {
        return false;
    }
    // The type is compared exactly; unknown types ask for no balancing line.
    std::string type = BuilderJson::memberText(options, "type");
    if (type == "ip_hash") {
        return buildIpHashType(out);
    }
    if (type == "consistent_hash") {
        return buildConsistentHashType(service, out);
    }
    if (type == "sticky") {
        return buildStickyType(service, groupKey, out);
    }
    return true;
}

bool UpstreamText::buildOldVersionSticky(const json& service, std::string& out) const {
    if (BuilderJson::has(service, "stickyCookie")) {
        out = hashLine(BuilderJson::memberText(service, "stickyCookie"));
    } else {
        out = indentText + "hash $zul_session consistent;\n\n";
    }
    return true;
}

bool UpstreamText::buildIpHashType(std::string& out) const {
    out = indentText + "ip_hash;\n\n";
    return true;
}

bool UpstreamText::buildConsistentHashType(const json& service, std::string& out) const {
    const json& options = BuilderJson::member(service, "stickyOptions");
    if (!ASSERT(BuilderJson::has(options, "stickyCookie"),
                strNotContained("stickyOptions", "stickyCookie"), NODES_JSON)) {
        return false;
    }
    out = hashLine(BuilderJson::memberText(options, "stickyCookie"));
    return true;
}

bool UpstreamText::buildStickyType(const json& service, const std::string& groupKey,
                                   std::string& out) const {
    NamesGenerator names;
    const json& options = BuilderJson::member(service, "stickyOptions");
    // Without a cookie name the cookie is named after the HTTP upstream of the group.
    std::string name =
        BuilderJson::has(options, "stickyCookie")
            ? names.cleanName(BuilderJson::memberText(options, "stickyCookie"))
            : names.upstreamName(
                  names.upstreamBaseName(BuilderJson::memberText(service, "deploymentUnit"), false),
                  groupKey);
    std::string hash = BuilderJson::has(options, "stickyHash")
                           ? BuilderJson::memberText(options, "stickyHash")
                           : "md5";
    out = indentText + "sticky name=" + name + " hash=" + hash + ";\n\n";
    return true;
}

bool UpstreamText::isHealthcheckWanted(const json& service, const json& nodeGroup) const {
    const json& healthcheck = BuilderJson::member(service, "healthcheck");
    return BuilderJson::isTrue(BuilderJson::member(healthcheck, "enabled")) &&
           !BuilderJson::has(nodeGroup, "openshiftRoute");
}

bool UpstreamText::buildHealthcheck(const json& service, std::string& out) const {
    const json& healthcheck = BuilderJson::member(service, "healthcheck");
    for (const char* required : {"handler", "timeout", "fall", "rise", "interval"}) {
        if (!BuilderJson::has(healthcheck, required)) {
            ASSERT(false, strExpectedParam("healthcheck", required), NODES_JSON);
            return false;
        }
    }
    // Written in this order whatever the order of the input.
    static const char* const k_numbers[] = {"interval", "rise", "fall", "timeout", "port"};
    std::string line = indentText + "check type=kiv_hc_agent";
    for (const char* key : k_numbers) {
        if (!BuilderJson::has(healthcheck, key)) {
            continue;
        }
        const json& value = healthcheck.at(key);
        // Only numbers (and booleans, read as 0 or 1) may reach the directive.
        if (!value.is_number() && !value.is_boolean()) {
            ASSERT(false, strExpectedType(std::string("healthcheck.") + key, "number"), NODES_JSON);
            return false;
        }
        line += std::string(" ") + key + "=" + BuilderJson::int32Text(value);
    }
    static const char* const k_flags[][2] = {{"disableFallCount", " disable_fall_count="},
                                             {"defaultDown", " default_down="}};
    for (const auto& flag : k_flags) {
        const json& value = BuilderJson::member(healthcheck, flag[0]);
        if (value.is_boolean()) {
            line += flag[1] + std::string(value.get<bool>() ? "true" : "false");
        }
    }
    out = line + ";\n" + indentText + "check_http_send \"POST " +
          BuilderJson::memberText(healthcheck, "handler") +
          BuilderJson::memberText(service, "deploymentUnit") + " HTTP/1.0\\r\\n\\r\\n\";\n\n";
    return true;
}

std::string UpstreamText::hashLine(const std::string& cookie) const {
    return indentText + "hash $" + NamesGenerator().cleanName(cookie) + " consistent;\n\n";
}
