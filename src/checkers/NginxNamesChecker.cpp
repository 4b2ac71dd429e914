#include "checkers/NginxNamesChecker.h"

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "checkers/NginxSyntax.h"
#include "common/JsonMembers.h"
#include "common/Lexer.h"

using json_members::arrayOrEmpty;
using json_members::isString;
using json_members::memberOf;
using json_members::textOf;

namespace {

std::string clean(const std::string& text) {
    return Lexer().cleanDashes(text);
}

std::string groupKey(const std::string& groupName) {
    Lexer lexer;
    return lexer.toLower(lexer.cleanAllNotAlphabeticCharacters(groupName));
}

// The services whose files remain: of several with the same "deploymentUnit", the last one
// writes the location and routing files that remain. Services without a string
// "deploymentUnit" fail other rules and are left out, as are those without the member required
// when one is named.
std::vector<const Json*> lastPerUnit(const Json& services, std::string_view required = {}) {
    // Units are looked up as views of the document's own strings, which outlive the check.
    std::unordered_map<std::string_view, std::size_t> position;
    position.reserve(services.size());
    std::vector<const Json*> result;
    for (const auto& service : services) {
        if (!isString(service, "deploymentUnit") ||
            (!required.empty() && memberOf(service, required) == nullptr)) {
            continue;
        }
        const std::string_view unit = service.at("deploymentUnit").get_ref<const std::string&>();
        auto known = position.try_emplace(unit, result.size());
        if (known.second) {
            result.push_back(&service);
        } else {
            result[known.first->second] = &service;
        }
    }
    return result;
}

// Records name for owner; reports a second, different owner of the same name. Lookups only:
// the order of the reports is that of the services. An owner is a file (its text) or the service
// that remains for its "deploymentUnit" (distinct services are distinct owners, spelled out only
// for a report); a value-initialised Owner means none.
template <class Owner>
class NameTable {
public:
    void reserve(std::size_t names) { owners.reserve(names); }

    // Returns the earlier owner when name already has another owner, else Owner().
    Owner claim(const std::string& name, const Owner& owner) {
        auto known = owners.try_emplace(name, owner);
        if (!known.second && known.first->second != owner) {
            return known.first->second;
        }
        return Owner();
    }

private:
    std::unordered_map<std::string, Owner> owners;
};

// The names every upstream of a unit starts with, and its routing variable: the cleaned unit
// for HTTP and the same with "_https".
std::array<std::string, 2> nameBases(const std::string& unit) {
    std::string base = clean(unit);
    return {base, base + "_https"};
}

}  // namespace

NginxNamesChecker::NginxNamesChecker(const Json& services) : CheckerBase(services) {}

CheckResult NginxNamesChecker::check() const {
    CheckResult result;
    result.addResult(checkPorts());
    result.addResult(checkDeploymentUnits());
    result.addResult(checkUpstreamNames());
    result.addResult(checkZones());
    result.addResult(checkLocations());
    return result;
}

CheckResult NginxNamesChecker::checkPorts() const {
    CheckResult result;
    if (!has(json(), "protocols") || !json().at("protocols").is_object()) {
        return result;
    }
    for (const char* protocol : {"http", "https"}) {
        const Json& protocols = json().at("protocols");
        if (!has(protocols, protocol) || !has(protocols.at(protocol), "port")) {
            continue;
        }
        const Json& port = protocols.at(protocol).at("port");
        // nginx: invalid port in upstream "host:0"
        if (port.is_number() && !isAboveInt32(port) &&
            (isBelow(port, 1) || port.get<double>() >= 65536.0)) {
            addFailure(result,
                       "\"protocols." + std::string(protocol) + ".port\" must be from 1 to 65535");
        }
    }
    // The TLS server name goes in quotes into every HTTPS proxy location's proxy_ssl_name,
    // whose value nginx compiles: nginx: unexpected "...", unknown "..." variable.
    const Json& protocols = json().at("protocols");
    if (has(protocols, "https") && isString(protocols.at("https"), "cn")) {
        const std::string cn = textOf(protocols.at("https"), "cn");
        std::string problem = NginxSyntax::quotedProblem(cn, '"');
        if (problem.empty()) {
            problem = NginxSyntax::variablesProblem(cn);
        }
        if (!problem.empty()) {
            addFailure(result, "\"protocols.https.cn\" \"" + cn + "\" " + problem);
        }
    }
    return result;
}

CheckResult NginxNamesChecker::checkDeploymentUnits() const {
    CheckResult result;
    // The routing variable $U_by_release and every upstream, with U the cleaned unit or the
    // cleaned unit and "_https". Two units that differ but give the same U would share them:
    // nginx: duplicate upstream "...", or one map silently replacing the other.
    const std::vector<const Json*> services = lastPerUnit(arrayOrEmpty(json(), "services"));
    NameTable<const Json*> names;
    names.reserve(2 * services.size());
    auto ownerOf = [](const Json& service) {
        return "\"" + textOf(service, "deploymentUnit") + "\" of " +
               NginxSyntax::serviceName(service);
    };
    for (const Json* service : services) {
        const std::string unit = textOf(*service, "deploymentUnit");
        for (const std::string& base : nameBases(unit)) {
            const Json* other = names.claim(base, service);
            if (other != nullptr) {
                addFailure(result, "\"deploymentUnit\" " + ownerOf(*other) + " and " +
                                       ownerOf(*service) + " give the same nginx name " + base);
                break;
            }
        }
    }
    return result;
}

CheckResult NginxNamesChecker::checkUpstreamNames() const {
    CheckResult result;
    // Upstream files are one per node group: a later file of the same unit and group key
    // replaces an earlier one, so the owner is the file.
    const Json& services = arrayOrEmpty(json(), "services");
    NameTable<std::string> names;
    names.reserve(4 * services.size());
    for (const auto& service : services) {
        if (!isString(service, "deploymentUnit")) {
            continue;
        }
        const std::string unit = textOf(service, "deploymentUnit");
        const std::array<std::string, 2> bases = nameBases(unit);
        for (const auto& apiVersion : arrayOrEmpty(service, "apiVersions")) {
            for (const auto& nodeGroup : arrayOrEmpty(apiVersion, "nodeGroups")) {
                if (!isString(nodeGroup, "groupName")) {
                    continue;
                }
                const std::string group = groupKey(textOf(nodeGroup, "groupName"));
                const std::string file = unit + "." + group;
                for (const std::string& base : bases) {
                    const std::string name = base + "_" + group;
                    // nginx: duplicate upstream "..."
                    const std::string other = names.claim(name, file);
                    if (!other.empty()) {
                        const std::string owner = "node group \"" + textOf(nodeGroup, "groupName") +
                                                  "\" of " + NginxSyntax::serviceName(service);
                        addFailure(result, "upstream name " + name + " of " + owner +
                                               " is also the name of another upstream file, " +
                                               other);
                        break;
                    }
                }
            }
        }
    }
    return result;
}

CheckResult NginxNamesChecker::checkZones() const {
    CheckResult result;
    // The limits file that remains for a unit is the last one written: of the last service with
    // "quotas" among those with that unit.
    const std::vector<const Json*> services =
        lastPerUnit(arrayOrEmpty(json(), "services"), "quotas");
    NameTable<const Json*> zones;
    zones.reserve(2 * services.size());
    for (const Json* last : services) {
        const Json& service = *last;
        const std::string unit = textOf(service, "deploymentUnit");
        const std::string prefix = clean(textOf(service, "subsystem")) + "_" + clean(unit) + "_";
        std::vector<std::string> names = {prefix + "default_req_zone"};
        for (const auto& quota : arrayOrEmpty(service, "quotas")) {
            if (textOf(quota, "type") == "rpsbyconsumer") {
                names.push_back(prefix + clean(textOf(quota, "subsystem")) + "_" +
                                clean(textOf(quota, "deploymentUnit")) + "_req_zone");
            }
        }
        for (const auto& name : names) {
            // nginx: limit_req_zone "..." is already bound to key "..."
            const Json* other = zones.claim(name, &service);
            if (other != nullptr) {
                addFailure(result, "zone " + name + " of the quotas of " +
                                       NginxSyntax::serviceName(service) + " is also a zone of " +
                                       NginxSyntax::serviceName(*other));
            }
        }
    }
    return result;
}

CheckResult NginxNamesChecker::checkLocations() const {
    CheckResult result;
    // Every location file goes into the same server, so two locations with the same key
    // anywhere in the run clash: nginx: duplicate location "...".
    std::unordered_map<std::string, const Json*> owners;
    for (const Json* service : lastPerUnit(arrayOrEmpty(json(), "services"))) {
        for (const auto& apiVersion : arrayOrEmpty(*service, "apiVersions")) {
            for (const auto& location : arrayOrEmpty(apiVersion, "locations")) {
                if (!isString(location, "url")) {
                    continue;
                }
                const std::string url = textOf(location, "url");
                const std::string key = NginxSyntax::locationKey(url);
                if (key.empty() || !NginxSyntax::locationProblem(url).empty()) {
                    continue;
                }
                auto known = owners.try_emplace(key, service);
                if (!known.second) {
                    addFailure(result, "\"locations[i].url\" \"" + url + "\" of " +
                                           NginxSyntax::serviceName(*service) +
                                           " repeats a location of " +
                                           NginxSyntax::serviceName(*known.first->second));
                }
            }
        }
    }
    return result;
}
