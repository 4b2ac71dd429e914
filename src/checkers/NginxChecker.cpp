#include "checkers/NginxChecker.h"

#include <cstdint>
#include <map>
#include <set>

#include "checkers/NginxSyntax.h"
#include "checkers/SafetyChecker.h"
#include "common/JsonMembers.h"
#include "common/Lexer.h"

using json_members::arrayOrEmpty;
using json_members::isString;
using json_members::memberOf;
using json_members::textOf;

namespace {

std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

// HTTP header names: the token characters, without those that start comments or quotes in
// nginx's configuration.
bool isHeaderName(const std::string& name) {
    if (name.empty()) {
        return false;
    }
    for (unsigned char c : name) {
        const bool alnum =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alnum && std::string("!%&*+-.^_`|~").find(static_cast<char>(c)) == std::string::npos) {
            return false;
        }
    }
    return true;
}

}  // namespace

NginxChecker::NginxChecker(const Json& service) : CheckerBase(service) {}

CheckResult NginxChecker::check() const {
    CheckResult result;
    result.addResult(checkNames());
    result.addResult(checkQuotas());
    result.addResult(checkNodeGroups());
    result.addResult(checkCookie());
    result.addResult(checkRouting());
    result.addResult(checkLocations());
    return result;
}

std::string NginxChecker::where() const {
    return " in " + NginxSyntax::serviceName(json());
}

CheckResult NginxChecker::checkNames() const {
    CheckResult result;
    // nginx: unknown "..." variable, or the variable name ends early, when these hold other
    // characters.
    for (const char* field : {"subsystem", "deploymentUnit"}) {
        if (!isString(json(), field)) {
            continue;
        }
        // A deployment unit that cannot name output files gets SafetyChecker's one message.
        if (std::string(field) == "deploymentUnit" &&
            !SafetyChecker::isFileNameSafe(textOf(json(), field))) {
            continue;
        }
        const std::string problem = NginxSyntax::nameProblem(textOf(json(), field));
        if (!problem.empty()) {
            addFailure(result, inQuotes(field) + " " + problem + where());
        }
    }
    return result;
}

CheckResult NginxChecker::checkQuotas() const {
    CheckResult result;
    if (!has(json(), "quotas") || !json().at("quotas").is_array()) {
        return result;
    }
    Lexer lexer;
    const std::string zonePrefix = lexer.cleanDashes(textOf(json(), "subsystem")) + "_" +
                                   lexer.cleanDashes(textOf(json(), "deploymentUnit")) + "_";
    std::set<std::string> keys;
    std::map<std::string, std::string> zones;
    for (const auto& quota : json().at("quotas")) {
        if (has(quota, "rpslimit") && quota.at("rpslimit").is_number_unsigned() &&
            quota.at("rpslimit").get<std::uint64_t>() == 0) {
            // nginx: invalid rate "rate=0r/s"
            addFailure(result, "\"rpslimit\" must be >= 1" + where());
        }
        const std::string type = textOf(quota, "type");
        if (type != "rpsbyconsumer" || !isString(quota, "subsystem") ||
            !isString(quota, "deploymentUnit")) {
            continue;
        }
        const std::string subsystem = textOf(quota, "subsystem");
        const std::string unit = textOf(quota, "deploymentUnit");
        bool named = true;
        for (const char* field : {"subsystem", "deploymentUnit"}) {
            // nginx: unknown "..." variable (the zone's key variable ends at the first other
            // character)
            const std::string problem = NginxSyntax::nameProblem(textOf(quota, field));
            if (!problem.empty()) {
                addFailure(result, "\"quota." + std::string(field) + "\" " +
                                       inQuotes(textOf(quota, field)) + " " + problem + where());
                named = false;
            }
        }
        if (!named) {
            continue;
        }
        if (subsystem.empty() && unit.empty()) {
            // nginx: conflicting parameter "" (the default map's entry for callers without
            // headers has the same key)
            addFailure(result,
                       "\"quota.subsystem\" and \"quota.deploymentUnit\" must not both be empty" +
                           where());
            continue;
        }
        // nginx: conflicting parameter "..." (map keys ignore letter case)
        const std::string key = subsystem + unit;
        if (!keys.insert(NginxSyntax::lowerAscii(key)).second) {
            addFailure(result, "consumer " + inQuotes(key) +
                                   " has more than one \"rpsbyconsumer\" quota (letter case "
                                   "aside)" +
                                   where());
            continue;
        }
        // nginx: limit_req_zone "..." is already bound to key "..."
        const std::string zone =
            zonePrefix + lexer.cleanDashes(subsystem) + "_" + lexer.cleanDashes(unit);
        auto known = zones.emplace(zone, key);
        if (!known.second) {
            addFailure(result, "consumers " + inQuotes(known.first->second) + " and " +
                                   inQuotes(key) + " give the same zone name " + zone + where());
        }
    }
    return result;
}

CheckResult NginxChecker::checkNodeGroups() const {
    CheckResult result;
    for (const auto& apiVersion : arrayOrEmpty(json(), "apiVersions")) {
        for (const auto& nodeGroup : arrayOrEmpty(apiVersion, "nodeGroups")) {
            result.addResult(checkNodeGroup(nodeGroup));
        }
    }
    return result;
}

CheckResult NginxChecker::checkNodeGroup(const Json& nodeGroup) const {
    CheckResult result;
    if (!nodeGroup.is_object()) {
        return result;
    }
    // The end of every message about the group, spelled out only for a message.
    auto group = [&] {
        return " of node group " +
               inQuotes(isString(nodeGroup, "groupName") ? textOf(nodeGroup, "groupName") : "?") +
               where();
    };
    if (has(nodeGroup, "protocols") && nodeGroup.at("protocols").is_object()) {
        const Json& protocols = nodeGroup.at("protocols");
        for (const char* protocol : {"http", "https"}) {
            if (!has(protocols, protocol) || !has(protocols.at(protocol), "port")) {
                continue;
            }
            const Json& port = protocols.at(protocol).at("port");
            // nginx: invalid port in upstream "host:0"
            if (port.is_number() && !isAboveInt32(port) &&
                (isBelow(port, 1) || port.get<double>() >= 65536.0)) {
                addFailure(result, "\"protocols." + std::string(protocol) +
                                       ".port\" must be from 1 to 65535" + group());
            }
        }
    }
    if (has(nodeGroup, "keepalive") && nodeGroup.at("keepalive").is_number_unsigned()) {
        const std::uint64_t keepalive = nodeGroup.at("keepalive").get<std::uint64_t>();
        // nginx: invalid value "0" in "keepalive" directive; and for large values
        // malloc(...) failed (12: Cannot allocate memory), as nginx sets aside room for every
        // connection it may keep.
        if (keepalive == 0 || keepalive > 65535) {
            addFailure(result, "\"keepalive\" must be from 1 to 65535" + group());
        }
    }
    if (has(nodeGroup, "openshiftRoute")) {
        // nginx: invalid host / host not found in upstream, or the quoted host of the host
        // block ends early.
        if (isString(nodeGroup, "openshiftRoute") && !textOf(nodeGroup, "openshiftRoute").empty()) {
            const std::string problem =
                NginxSyntax::hostProblem(textOf(nodeGroup, "openshiftRoute"));
            if (!problem.empty()) {
                addFailure(result, "\"openshiftRoute\" " +
                                       inQuotes(textOf(nodeGroup, "openshiftRoute")) + " " +
                                       problem + group());
            }
        }
        return result;
    }
    if (!has(nodeGroup, "dataCenters") || !nodeGroup.at("dataCenters").is_array()) {
        return result;
    }
    if (nodeGroup.at("dataCenters").empty()) {
        // nginx: no servers are inside upstream
        addFailure(result, "\"dataCenters\" must be not empty array" + group());
    }
    for (const auto& dataCenter : nodeGroup.at("dataCenters")) {
        for (const auto& node : arrayOrEmpty(dataCenter, "nodes")) {
            if (!node.is_string()) {
                continue;
            }
            // nginx: invalid host in upstream, unexpected ";" and the like
            const std::string problem = NginxSyntax::hostProblem(node.get<std::string>());
            if (!problem.empty()) {
                addFailure(result,
                           "node " + inQuotes(node.get<std::string>()) + " " + problem + group());
            }
        }
    }
    return result;
}

CheckResult NginxChecker::checkCookie() const {
    CheckResult result;
    // The cookie that the hash line or the sticky directive names.
    std::string field;
    const Json* cookie = nullptr;
    if (has(json(), "stickyOptions")) {
        const Json& options = json().at("stickyOptions");
        const std::string type = textOf(options, "type");
        if ((type == "sticky" || type == "consistent_hash") && has(options, "stickyCookie")) {
            field = "stickyOptions.stickyCookie";
            cookie = &options.at("stickyCookie");
        }
    } else if (has(json(), "sticky") && json().at("sticky").is_boolean() &&
               json().at("sticky").get<bool>() && has(json(), "stickyCookie")) {
        field = "stickyCookie";
        cookie = &json().at("stickyCookie");
    }
    if (cookie == nullptr || !cookie->is_string()) {
        return result;
    }
    // nginx: invalid variable name ("hash $ consistent" for an empty name); other characters
    // end the hash line's variable name early or break the cookie map's expression.
    const std::string name = cookie->get<std::string>();
    const std::string problem =
        name.empty() ? std::string("must not be empty") : NginxSyntax::nameProblem(name);
    if (!problem.empty()) {
        addFailure(result, inQuotes(field) + " " + inQuotes(name) + " " + problem + where());
    }
    return result;
}

CheckResult NginxChecker::checkRouting() const {
    CheckResult result;
    std::set<std::string> releases;
    for (const auto& entry : arrayOrEmpty(json(), "routing")) {
        // Only the entries that give a line of the by-release map.
        if (!entry.is_object() || has(entry, "apiVersion") || has(entry, "default") ||
            !has(entry, "consumer")) {
            continue;
        }
        const Json& consumer = entry.at("consumer");
        if (!isString(consumer, "release") || has(consumer, "deploymentUnit")) {
            continue;
        }
        const std::string release = textOf(consumer, "release");
        const std::string field = "\"consumer.release\" " + inQuotes(release) + " ";
        // nginx: unexpected "..." after the quoted key ends early
        std::string problem = NginxSyntax::quotedProblem(release, '"');
        if (!problem.empty()) {
            addFailure(result, field + problem + where());
            continue;
        }
        // nginx: duplicate default map parameter; open() "...include" failed
        if (release == "default" || release == "include") {
            addFailure(result,
                       field + "is a word that nginx's map reads as its own parameter" + where());
            continue;
        }
        // nginx: pcre2_compile() failed (a key that begins with "~" is a regular expression)
        if (release[0] == '~') {
            problem = NginxSyntax::regexProblem(
                release.substr(release.size() > 1 && release[1] == '*' ? 2 : 1));
            if (!problem.empty()) {
                addFailure(result, field + "is a regular expression that " + problem + where());
                continue;
            }
        }
        // nginx: conflicting parameter "..." (map keys ignore letter case)
        if (!releases.insert(NginxSyntax::lowerAscii(release)).second) {
            addFailure(result, field + "is routed more than once (letter case aside)" + where());
        }
    }
    return result;
}

CheckResult NginxChecker::checkLocations() const {
    CheckResult result;
    for (const auto& apiVersion : arrayOrEmpty(json(), "apiVersions")) {
        for (const auto& location : arrayOrEmpty(apiVersion, "locations")) {
            result.addResult(checkLocation(location));
        }
    }
    return result;
}

bool NginxChecker::checkValue(CheckResult& result, const std::string& field,
                              const std::string& value, bool words) const {
    std::string problem =
        words ? NginxSyntax::wordsProblem(value) : NginxSyntax::wordProblem(value);
    if (problem.empty()) {
        problem = NginxSyntax::variablesProblem(value);
    }
    if (!problem.empty()) {
        addFailure(result, inQuotes(field) + " " + inQuotes(value) + " " + problem + where());
    }
    return problem.empty();
}

CheckResult NginxChecker::checkLocation(const Json& location) const {
    CheckResult result;
    if (!isString(location, "url")) {
        return result;
    }
    const std::string url = textOf(location, "url");
    if (!url.empty()) {
        // nginx: invalid location modifier, invalid number of arguments in "location", unknown
        // directive, pcre2_compile() failed, ...
        const std::string problem = NginxSyntax::locationProblem(url);
        if (!problem.empty()) {
            addFailure(result, "\"locations[i].url\" " + inQuotes(url) + " " + problem + where());
        }
    }
    if (has(location, "return")) {
        result.addResult(checkReturn(location.at("return")));
        // The custom headers follow the return line only when one is written.
        if (isString(location.at("return"), "code") && isString(location.at("return"), "body")) {
            result.addResult(checkHeaders(location));
        }
        return result;
    }
    if (has(location, "alias")) {
        result.addResult(checkAlias(location, url));
    } else {
        result.addResult(checkProxy(location));
        if (isString(location, "index")) {
            // Index locations of the older location builder.
            checkValue(result, "location[i].index", textOf(location, "index"), true);
        }
    }
    result.addResult(checkHeaders(location));
    return result;
}

CheckResult NginxChecker::checkReturn(const Json& answer) const {
    CheckResult result;
    if (!isString(answer, "code") || !isString(answer, "body")) {
        return result;  // nothing is written
    }
    const std::string code = textOf(answer, "code");
    if (!NginxSyntax::isStatusCode(code)) {
        // nginx: invalid return code "..."
        addFailure(result, "\"location[i].return.code\" " + inQuotes(code) +
                               " must be a number from 0 to 999" + where());
    }
    const std::string body = textOf(answer, "body");
    std::string problem = NginxSyntax::quotedProblem(body, '\'');
    if (problem.empty()) {
        // nginx: unknown "..." variable, invalid variable name
        problem = NginxSyntax::variablesProblem(body);
    }
    if (!problem.empty()) {
        addFailure(result,
                   "\"location[i].return.body\" " + inQuotes(body) + " " + problem + where());
    }
    return result;
}

CheckResult NginxChecker::checkAlias(const Json& location, const std::string& url) const {
    CheckResult result;
    if (!isString(location, "alias")) {
        return result;
    }
    if (NginxSyntax::isNamedLocation(url)) {
        // nginx: the "alias" directive cannot be used inside the named location
        addFailure(result, "\"location[i].alias\" cannot be used in the named location " +
                               inQuotes(url) + where());
    }
    checkValue(result, "location[i].alias", textOf(location, "alias"), false);
    if (isString(location, "index")) {
        checkValue(result, "location[i].index", textOf(location, "index"), true);
    }
    if (isString(location, "try_files")) {
        const std::string value = textOf(location, "try_files");
        if (checkValue(result, "location[i].try_files", value, true)) {
            const std::string::size_type blank = value.rfind(' ');
            const std::string last = value.substr(blank == std::string::npos ? 0 : blank + 1);
            if (blank == std::string::npos) {
                // nginx: invalid number of arguments in "try_files" directive
                addFailure(result, "\"location[i].try_files\" " + inQuotes(value) +
                                       " must name at least two alternatives" + where());
            } else if (last[0] == '=' && !NginxSyntax::isStatusCode(last.substr(1))) {
                // nginx: invalid code "=..."
                addFailure(result, "\"location[i].try_files\" " + inQuotes(value) +
                                       " must end in a code from =0 to =999 when it ends in "
                                       "\"=\"" +
                                       where());
            }
        }
    }
    if (isString(location, "proxy_cache_bypass")) {
        checkValue(result, "location[i].proxy_cache_bypass", textOf(location, "proxy_cache_bypass"),
                   true);
    }
    if (isString(location, "proxy_cache_revalidate")) {
        const std::string value = textOf(location, "proxy_cache_revalidate");
        if (value != "on" && value != "off") {
            // nginx: invalid value "..." in "proxy_cache_revalidate" directive, it must be "on"
            // or "off"
            addFailure(result, "\"location[i].proxy_cache_revalidate\" " + inQuotes(value) +
                                   " must be on or off" + where());
        }
    }
    if (isString(location, "expires")) {
        const std::string value = textOf(location, "expires");
        const std::string problem = NginxSyntax::expiresProblem(value);
        if (!problem.empty()) {
            // nginx: "expires" directive invalid value
            addFailure(result,
                       "\"location[i].expires\" " + inQuotes(value) + " " + problem + where());
        }
    }
    return result;
}

CheckResult NginxChecker::checkProxy(const Json& location) const {
    CheckResult result;
    if (has(location, "rewrite") && location.at("rewrite").is_object()) {
        const Json& rewrite = location.at("rewrite");
        if (isString(rewrite, "regex") && isString(rewrite, "replacement") &&
            isString(rewrite, "flag")) {
            const std::string regex = textOf(rewrite, "regex");
            // The first word of the rewrite line, which may be quoted.
            std::string problem = NginxSyntax::tokenProblem(regex);
            if (problem.empty()) {
                problem = NginxSyntax::regexProblem(NginxSyntax::unquoted(regex));
            }
            if (!problem.empty()) {
                // nginx: pcre2_compile() failed, invalid parameter, ...
                addFailure(result, "\"location[i].rewrite.regex\" " + inQuotes(regex) + " " +
                                       problem + where());
            }
            checkValue(result, "location[i].rewrite.replacement", textOf(rewrite, "replacement"),
                       false);
            const std::string flag = textOf(rewrite, "flag");
            if (flag != "last" && flag != "break" && flag != "redirect" && flag != "permanent") {
                // nginx: invalid parameter "..."
                addFailure(result, "\"location[i].rewrite.flag\" " + inQuotes(flag) +
                                       " must be last, break, redirect or permanent" + where());
            }
        }
    }
    if (isString(location, "proxyPass") && !textOf(location, "proxyPass").empty()) {
        const std::string value = textOf(location, "proxyPass");
        const unsigned char first = static_cast<unsigned char>(value[0]);
        if ((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z') ||
            (first >= '0' && first <= '9') || first == '_') {
            // nginx: unknown "..._by_release..." variable (the text continues the routing
            // variable's name)
            addFailure(result, "\"location[i].proxyPass\" " + inQuotes(value) +
                                   " must not begin with a letter, digit or \"_\"" + where());
        } else {
            checkValue(result, "location[i].proxyPass", value, false);
        }
    }
    return result;
}

CheckResult NginxChecker::checkHeaders(const Json& location) const {
    CheckResult result;
    for (const auto& header : arrayOrEmpty(location, "headers")) {
        if (!isString(header, "name") || !isString(header, "value")) {
            continue;  // no line is written
        }
        const std::string name = textOf(header, "name");
        if (!isHeaderName(name)) {
            // nginx: invalid parameter, unexpected "...", invalid number of arguments
            addFailure(result, "\"location[i].headers[j].name\" " + inQuotes(name) +
                                   " must be an HTTP header name" + where());
        }
        const std::string value = textOf(header, "value");
        std::string problem = NginxSyntax::quotedProblem(value, '"');
        if (problem.empty()) {
            problem = NginxSyntax::variablesProblem(value);
        }
        if (!problem.empty()) {
            addFailure(result, "\"location[i].headers[j].value\" " + inQuotes(value) + " " +
                                   problem + where());
        }
    }
    return result;
}
