#include "support/InventoryGenerator.h"

#include <set>

using json = Json;

namespace testsupport {

namespace {

const std::vector<std::string> k_subsystems = {"PAY", "Shop.Front", "crm-Core", "ntf",
                                               "Ops.Team-X"};
const std::vector<std::string> k_groupNames = {"Main-A",
                                               "canary.2",
                                               "Gr\xc3\xbcne Gruppe",
                                               "\xc3\x9c"
                                               "BER",
                                               "blue green",
                                               "Next",
                                               "Stable_1",
                                               "\xce\xb2-test",
                                               "EDGE.West-1",
                                               "x"};
const std::vector<std::string> k_releases = {
    "R2024.10", "r2025-01", "Release.X", "R\xc3\xa9lease-\xc3\xbc", "v1.2.3-RC", "default-2"};
const std::vector<std::string> k_hosts = {"127.0.0.1", "127.0.0.2", "127.0.1.7", "localhost"};
const std::vector<std::string> k_codes = {"200", "204", "301", "302", "404", "418", "503"};
const std::vector<std::string> k_bodies = {"pong",
                                           "/moved/",
                                           "\xc3\xbcn\xc3\xaf"
                                           "code $request_id",
                                           "",
                                           "up at $host",
                                           "${uri}x"};
const std::vector<std::string> k_expires = {"7d",  "1h30m",       "-1",   "epoch", "max",
                                            "off", "modified 1d", "@15h", "30"};
const std::vector<std::string> k_headerNames = {"X-Frame-Options", "Cache-Control", "X-Gw.Tag",
                                                "x_custom"};
const std::vector<std::string> k_headerValues = {"DENY", "no-store", "\xc3\xbcn\xc3\xaf $host", "",
                                                 "a 'quoted' word"};
const std::vector<std::string> k_proxyPasses = {"/", "/pay/v1/", "/x?y=$arg_y", ":8080/in/",
                                                "/\xc3\xbc/$1"};
const std::vector<std::string> k_flags = {"last", "break", "redirect", "permanent"};

}  // namespace

InventoryGenerator::InventoryGenerator(std::uint32_t seed) : random(seed) {}

int InventoryGenerator::number(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

bool InventoryGenerator::chance(int percent) {
    return number(1, 100) <= percent;
}

// Letters only, in mixed case, so that the numbers in generated names stay apart.
std::string InventoryGenerator::word() {
    static const std::vector<std::string> words = {"pay", "Gate", "MAIN", "front", "Core",
                                                   "api", "Hub",  "west", "Orders"};
    return pick(words);
}

Inventory InventoryGenerator::make(int serviceCount) {
    Inventory inventory;
    json protocols = json::object();
    const int protocolChoice = number(0, 2);  // HTTP only, HTTPS only, both
    if (protocolChoice != 1) {
        protocols["http"] = {{"port", number(1, 65535)}};
    }
    if (protocolChoice != 0) {
        protocols["https"] = {{"port", number(1, 65535)},
                              {"cn", pick(std::vector<std::string>{
                                         "gw.local", "Gateway.Example-1.local", "gw.example"})}};
    }
    if (chance(20)) {
        inventory.options.push_back("-ignore_ports");
    }
    json services = json::array();
    json nodes = json::array();
    json routings = json::array();
    json limits = json::array();
    for (int i = 0; i < serviceCount; ++i) {
        const std::string subsystem = pick(k_subsystems);
        const std::string unit = word() + "-" + std::to_string(i) + "." + word();
        const json key = {{"subsystem", subsystem}, {"deploymentUnit", unit}};

        json service = key;
        // The limits merge gives quotas only to services that name their gateways.
        service["usedGateways"] =
            chance(50) ? json::array({"gw-a"}) : json::array({"gw-a", "gw-b"});
        addBalancing(service);
        addHealthcheck(service);
        json node = key;
        json versions = json::array();
        json nodeVersions = json::array();
        std::vector<std::string> groupNames;
        const int versionCount = number(1, 3);
        for (int v = 0; v < versionCount; ++v) {
            const std::string version = std::to_string(v + 1) + ".0";
            json locations = json::array();
            const int locationCount = number(0, 4);
            for (int n = 0; n < locationCount; ++n) {
                locations.push_back(makeLocation(i, v * 10 + n, chance(10)));
            }
            versions.push_back({{"version", version}, {"locations", locations}});
            json groups = json::array();
            const int groupCount = number(1, 3);
            for (int g = 0; g < groupCount; ++g) {
                groups.push_back(makeNodeGroup(i, static_cast<int>(groupNames.size()), groupNames));
            }
            nodeVersions.push_back({{"version", version}, {"nodeGroups", groups}});
        }
        service["apiVersions"] = versions;
        node["apiVersions"] = nodeVersions;

        // Routing: consumer releases (unique whatever the letter case), consumers that name a
        // deployment unit (no map line), sometimes an external-gateway entry, and a default.
        json routing = json::array();
        std::set<std::string> releases;
        const int releaseCount = number(0, 4);
        for (int r = 0; r < releaseCount; ++r) {
            std::string release = pick(k_releases) + "-" + std::to_string(r);
            if (chance(10)) {
                release = "~^R" + std::to_string(i) + "_" + std::to_string(r) + "\\.[0-9]+$";
            }
            json consumer = {{"release", release}};
            if (chance(20)) {
                consumer["distribVersion"] = "2024.10.3";
            }
            json entry = {{"consumer", consumer},
                          {"routes", json::array({{{"groupName", pick(groupNames)}}})}};
            if (chance(20)) {
                entry["routes"][0]["quota"] = number(0, 1000);
            }
            routing.push_back(entry);
            releases.insert(release);
        }
        if (chance(30)) {
            routing.push_back(
                {{"consumer",
                  {{"release", "R1"}, {"deploymentUnit", "shop-front"}, {"version", "1.0"}}},
                 {"routes", json::array({{{"groupName", pick(groupNames)}}})}});
        }
        if (chance(10)) {
            routing.push_back({{"apiVersion", "ext"},
                               {"routes", json::array({{{"groupName", pick(groupNames)}}})}});
        }
        routing.push_back({{"default", !chance(5)},
                           {"routes", json::array({{{"groupName", pick(groupNames)}}})}});
        json routed = key;
        routed["routing"] = routing;

        if (chance(50)) {
            json quotas = json::array();
            std::set<std::string> consumers;
            const int consumerCount = number(0, 3);
            for (int q = 0; q < consumerCount; ++q) {
                const std::string consumerSubsystem =
                    pick(std::vector<std::string>{"SHOP", "crm.Core", "A", "Ops-Team"});
                const std::string consumerUnit = word() + "-" + std::to_string(q);
                quotas.push_back({{"type", "rpsbyconsumer"},
                                  {"subsystem", consumerSubsystem},
                                  {"deploymentUnit", consumerUnit},
                                  {"rpslimit", chance(10) ? 2147483647 : number(1, 1000)}});
            }
            if (chance(90)) {
                quotas.push_back({{"type", "rpsdefault"}, {"rpslimit", number(1, 100000)}});
                if (chance(5)) {
                    quotas.push_back({{"type", "rpsdefault"}, {"rpslimit", 7}});
                }
            }
            json limited = key;
            if (chance(50)) {
                limited["usedGateways"] = service["usedGateways"];
            }
            limited["quotas"] = quotas;
            limits.push_back(limited);
        }
        services.push_back(service);
        nodes.push_back(node);
        routings.push_back(routed);
    }
    inventory.services = {{"schema_version", "3"}, {"services", services}};
    inventory.nodes = {{"schema_version", "3"}, {"protocols", protocols}, {"services", nodes}};
    inventory.routing = {{"schema_version", "3"}, {"services", routings}};
    inventory.limits = {{"schema_version", "3"}, {"services", limits}};
    return inventory;
}

json InventoryGenerator::makeNodeGroup(int service, int group, std::vector<std::string>& names) {
    // Distinct group names give distinct upstream names within the service.
    std::string name = pick(k_groupNames);
    if (group > 0) {
        name += " " + std::to_string(group);
    }
    names.push_back(name);
    json nodeGroup = {{"groupName", name}};
    if (chance(25)) {
        nodeGroup["openshiftRoute"] = chance(50) ? "localhost" : "127.0.0.1";
        if (chance(20)) {
            nodeGroup["dataCenters"] = json::array({{{"name", "dc"}, {"nodes", {"127.0.0.9"}}}});
        }
    } else {
        json dataCenters = json::array();
        const int dataCenterCount = number(1, 2);
        for (int d = 0; d < dataCenterCount; ++d) {
            json hosts = json::array();
            const int hostCount = number(1, 3);
            for (int h = 0; h < hostCount; ++h) {
                hosts.push_back(chance(5) ? std::string("[::1]") : pick(k_hosts));
            }
            dataCenters.push_back({{"name", d == 0 ? "dc-north" : "Dc.South"}, {"nodes", hosts}});
        }
        nodeGroup["dataCenters"] = dataCenters;
    }
    if (chance(60)) {
        nodeGroup["keepalive"] = chance(10) ? 65535 : number(1, 64);
    }
    if (chance(30)) {
        json protocols = json::object();
        if (chance(70)) {
            protocols["http"] = {{"port", number(1, 65535)}};
        }
        if (chance(70)) {
            protocols["https"] = {{"port", number(1, 65535)}};
        }
        nodeGroup["protocols"] = protocols;
    }
    (void)service;
    return nodeGroup;
}

json InventoryGenerator::makeLocation(int service, int index, bool named) {
    const std::string id = std::to_string(service) + "_" + std::to_string(index);
    std::string url;
    bool regex = false;
    if (named) {
        url = "@n" + id;
    } else {
        switch (number(0, 6)) {
            case 0:
                url = "= /exact/" + id;
                break;
            case 1:
                url = "=/exact1/" + id;
                break;
            case 2:
                url = "^~ /static/" + id + "/";
                break;
            case 3:
                url = "~ ^/re/" + id + "/(.*)$";
                regex = true;
                break;
            case 4:
                url = "~* \\.x" + id + "$";
                regex = true;
                break;
            case 5:
                url = "/\xc3\xbcn\xc3\xaf/" + id + "/";
                break;
            default:
                url = "/" + word() + "/" + id + "/v1/";
                break;
        }
    }
    json location = {{"url", url}};
    const int kind = named ? number(0, 1) : number(0, 2);  // return, proxy, alias
    if (kind == 0) {
        json answer = {{"code", pick(k_codes)}};
        if (chance(85)) {
            answer["body"] = pick(k_bodies);
        }
        location["return"] = answer;
    } else if (kind == 1) {
        if (chance(70)) {
            std::string proxyPass = pick(k_proxyPasses);
            if (!regex && proxyPass.find("$1") != std::string::npos) {
                proxyPass = "/";
            }
            location["proxyPass"] = proxyPass;
        }
        if (chance(30)) {
            location["rewrite"] = {{"regex", "^/old/" + id + "/(.*)$"},
                                   {"replacement", "/new/$1"},
                                   {"flag", pick(k_flags)}};
        }
    } else {
        location["alias"] = chance(80) ? "/tmp/ostrel-alias/" : "/srv/$host/";
        if (chance(50)) {
            location["index"] =
                pick(std::vector<std::string>{"index.html", "index.html index.htm", "$host.html"});
        }
        if (chance(40)) {
            location["try_files"] =
                pick(std::vector<std::string>{"$uri $uri/ =404", "$uri /index.html", "$uri =0"});
        }
        if (chance(40)) {
            location["expires"] = pick(k_expires);
        }
        if (chance(20)) {
            location["proxy_cache_revalidate"] = chance(50) ? "on" : "off";
        }
        if (chance(20)) {
            location["proxy_cache_bypass"] = "$cookie_nocache $arg_nocache";
        }
    }
    if (chance(40)) {
        json headers = json::array();
        const int headerCount = number(1, 3);
        for (int h = 0; h < headerCount; ++h) {
            json header = {{"name", pick(k_headerNames)}};
            if (chance(90)) {
                header["value"] = pick(k_headerValues);
            }
            headers.push_back(header);
        }
        location["headers"] = headers;
    }
    return location;
}

void InventoryGenerator::addBalancing(json& service) {
    switch (number(0, 7)) {
        case 0:
            service["sticky"] = true;
            service["stickyCookie"] = pick(std::vector<std::string>{"shop.sid", "S-ID", "x"});
            break;
        case 1:
            service["sticky"] = true;  // hashes on $zul_session
            break;
        case 2:
            service["sticky"] = false;
            service["stickyCookie"] = "unused";
            break;
        case 3:
            service["stickyOptions"] = {{"type", "ip_hash"}};
            break;
        case 4:
            service["stickyOptions"] = {
                {"type", "consistent_hash"},
                {"stickyCookie", pick(std::vector<std::string>{"pay-session", "Route.Id", "c"})}};
            break;
        case 5: {
            json options = {{"type", "sticky"}};
            if (chance(50)) {
                options["stickyCookie"] = "route-id.x";
            }
            if (chance(50)) {
                options["stickyHash"] = chance(50) ? "md5" : "sha1";
            }
            service["stickyOptions"] = options;
            break;
        }
        default:
            break;  // no balancing method
    }
}

void InventoryGenerator::addHealthcheck(json& service) {
    if (chance(50)) {
        return;
    }
    json healthcheck = {{"enabled", chance(70)}, {"handler", chance(50) ? "/health/" : "/st"}};
    if (healthcheck["enabled"].get<bool>() || chance(50)) {
        healthcheck["interval"] = number(1000, 10000);
        healthcheck["rise"] = number(1, 5);
        healthcheck["fall"] = number(1, 5);
        healthcheck["timeout"] = number(500, 5000);
    }
    if (chance(30)) {
        healthcheck["port"] = number(1, 65535);
    }
    if (chance(30)) {
        healthcheck["defaultDown"] = chance(50);
    }
    if (chance(30)) {
        healthcheck["disableFallCount"] = chance(50);
    }
    service["healthcheck"] = healthcheck;
}

}  // namespace testsupport
