#include "generator_v3/LocationText.h"

#include "generator_v3/BuilderJson.h"
#include "generator_v3/NamesGenerator.h"

using json = Json;

std::string LocationText::buildBlocks(const json& service, const HostBlocksOf& hostBlocksOf,
                                      const BlockOf& blockOf) const {
    std::string out;
    const json& apiVersions = BuilderJson::member(service, "apiVersions");
    if (!apiVersions.is_array()) {
        return out;
    }
    for (const json& apiVersion : apiVersions) {
        // Host blocks are built for every API version, as they may move the port.
        std::string hostBlocks = hostBlocksOf(apiVersion);
        const json& locations = BuilderJson::member(apiVersion, "locations");
        if (!locations.is_array()) {
            continue;
        }
        for (const json& location : locations) {
            out += blockOf(location, hostBlocks);
        }
    }
    return out;
}

std::string LocationText::buildBlock(const json& location, const std::string& limitLines,
                                     const std::string& cleanUnit,
                                     const std::string& cleanSubsystem,
                                     const std::string& content) const {
    return "location " + BuilderJson::memberText(location, "url") + " {\n" + indent +
           "set $dst_subsystem \"" + cleanSubsystem + "\";\n" + indent +
           "set $dst_deploymentunit \"" + cleanUnit + "\";\n" + limitLines + content + "}\n\n";
}

std::string LocationText::buildLimits(const json& service) const {
    if (!jsonHas(service, "quotas")) {
        return std::string();
    }
    NamesGenerator names;
    std::string subsystem = BuilderJson::memberText(service, "subsystem");
    std::string unit = BuilderJson::memberText(service, "deploymentUnit");
    std::string out;
    const json& quotas = service.at("quotas");
    if (quotas.is_array()) {
        for (const json& quota : quotas) {
            if (BuilderJson::memberText(quota, "type") != "rpsbyconsumer") {
                continue;
            }
            std::string zone =
                names.consumerZone(subsystem, unit, BuilderJson::memberText(quota, "subsystem"),
                                   BuilderJson::memberText(quota, "deploymentUnit"));
            out += indent + "limit_req zone=" + zone + " burst=10 nodelay;\n";
        }
    }
    return out + indent + "limit_req zone=" + names.defaultZone(subsystem, unit) +
           " burst=10 nodelay;\n";
}

std::string LocationText::buildShiftHeaders(const json& apiVersion, const std::string& cleanUnit,
                                            const HostOf& hostOf) const {
    std::string out;
    const json& nodeGroups = BuilderJson::member(apiVersion, "nodeGroups");
    if (!nodeGroups.is_array()) {
        return out;
    }
    NamesGenerator names;
    for (const json& nodeGroup : nodeGroups) {
        if (!jsonHas(nodeGroup, "openshiftRoute") || !jsonHas(nodeGroup, "groupName")) {
            continue;
        }
        std::string host = hostOf(nodeGroup);
        // Always the HTTP variable and upstream name, also in HTTPS files.
        out += "\n" + indent + "if (" + names.byReleaseVariable(cleanUnit) + " = \"" +
               names.upstreamName(cleanUnit, BuilderJson::memberText(nodeGroup, "groupName")) +
               "\") {\n" + indent + indent + "set $var_host \"" + host + "\";\n" + indent + "}" +
               "\n";
    }
    return out;
}

std::string LocationText::buildReturnContent(const json& location) const {
    const json& answer = BuilderJson::member(location, "return");
    if (!jsonHas(answer, "code") || !jsonHas(answer, "body")) {
        return std::string();
    }
    return indent + "return " + BuilderJson::memberText(answer, "code") + " '" +
           BuilderJson::memberText(answer, "body") + "';\n" + buildCustomHeaders(location);
}

std::string LocationText::buildDirectives(const json& location,
                                          const std::vector<std::string>& keys) const {
    std::string out;
    for (const std::string& key : keys) {
        if (jsonHas(location, key)) {
            out += indent + key + " " + BuilderJson::memberText(location, key) + ";\n";
        }
    }
    return out;
}

std::string LocationText::buildProxyContent(const json& location, bool https,
                                            const std::string& variable,
                                            const std::string& extraLines,
                                            const std::string& hostBlocks) const {
    std::string out;
    if (jsonHas(location, "rewrite")) {
        out += buildRewrite(location);
    }
    out += indent + "proxy_pass " + (https ? "https://" : "http://") + variable +
           BuilderJson::memberText(location, "proxyPass") + ";\n";
    return out + extraLines + buildHeaders(location, hostBlocks) + buildCustomHeaders(location);
}

std::string LocationText::buildRewrite(const json& location) const {
    const json& rewrite = BuilderJson::member(location, "rewrite");
    if (!jsonHas(rewrite, "regex") || !jsonHas(rewrite, "replacement") ||
        !jsonHas(rewrite, "flag")) {
        return std::string();
    }
    return indent + "rewrite " + BuilderJson::memberText(rewrite, "regex") + " " +
           BuilderJson::memberText(rewrite, "replacement") + " " +
           BuilderJson::memberText(rewrite, "flag") + ";\n";
}

std::string LocationText::buildHeaders(const json& /*location*/,
                                       const std::string& hostBlocks) const {
    return indent + "proxy_set_header \"zul-rest-id\" $gen_zul_rest_id;\n" + indent +
           "set $var_host $http_host;\n" + hostBlocks + indent +
           "proxy_set_header Host $var_host;\n" + indent + "include nginx_common_headers.conf;\n";
}

std::string LocationText::buildCustomHeaders(const json& location) const {
    std::string out;
    const json& headers = BuilderJson::member(location, "headers");
    if (!headers.is_array()) {
        return out;
    }
    for (const json& header : headers) {
        if (jsonHas(header, "name") && jsonHas(header, "value")) {
            out += indent + "add_header " + BuilderJson::memberText(header, "name") + " \"" +
                   BuilderJson::memberText(header, "value") + "\";\n";
        }
    }
    return out;
}
