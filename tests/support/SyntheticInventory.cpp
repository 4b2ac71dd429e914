#include "support/SyntheticInventory.h"

#include <fstream>
#include <vector>

using json = Json;

namespace testsupport {

namespace {

const char* const k_subsystems[] = {"PAY", "SHOP", "CRM", "NTF", "BIL", "DOC", "ACC", "LOG"};
const char* const k_words[] = {"orders", "billing", "front", "api", "hub", "core", "gate"};

std::string deploymentUnitOf(int index, bool foreign) {
    return (foreign ? "ext-" : "svc-") + std::to_string(index) + "." +
           k_words[index % (sizeof(k_words) / sizeof(k_words[0]))];
}

std::string subsystemOf(int index) {
    return k_subsystems[(index * 7) % (sizeof(k_subsystems) / sizeof(k_subsystems[0]))];
}

std::string twoDigits(int value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

json keys(const std::string& subsystem, const std::string& unit) {
    return json{{"subsystem", subsystem}, {"deploymentUnit", unit}};
}

// Entries of one service in the nodes, routing or limits document, in their order there.
struct Entries {
    std::vector<json> nodes;
    std::vector<json> routing;
    std::vector<json> limits;
};

}  // namespace

SyntheticInventory::SyntheticInventory(int serviceCount, std::uint64_t seed)
    : state(seed), count(serviceCount) {
    servicesDocument = {{"schema_version", "3"}, {"services", json::array()}};
    nodesDocument = {
        {"schema_version", "3"},
        {"protocols",
         {{"http", {{"port", 8080}}}, {"https", {{"port", 8443}, {"cn", "gateway.example.local"}}}}},
        {"services", json::array()}};
    routingDocument = {{"schema_version", "3"}, {"services", json::array()}};
    limitsDocument = {{"schema_version", "3"}, {"services", json::array()}};
    for (int i = 0; i < serviceCount; ++i) {
        addService(i, false);
        if (i % 16 == 7) {
            addService(i, true);
        }
    }
    // The other documents list their entries in other orders than the services: routing in
    // reverse, limits rotated by a third.
    json& routes = routingDocument["services"];
    std::vector<json> reversed(routes.rbegin(), routes.rend());
    routes = json(reversed);
    // The rotation starts at the entries of a service, so each service's entries stay together.
    json& limits = limitsDocument["services"];
    if (!limitGroupStarts.empty()) {
        std::vector<json> rotated;
        const std::size_t shift = limitGroupStarts[limitGroupStarts.size() / 3];
        for (std::size_t k = 0; k < limits.size(); ++k) {
            rotated.push_back(limits[(k + shift) % limits.size()]);
        }
        limits = json(rotated);
    }
}

// splitmix64: small, fast and the same everywhere.
std::uint64_t SyntheticInventory::next() {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

int SyntheticInventory::number(int low, int high) {
    return low + static_cast<int>(next() % static_cast<std::uint64_t>(high - low + 1));
}

bool SyntheticInventory::chance(int percent) {
    return number(0, 99) < percent;
}

void SyntheticInventory::addService(int index, bool foreign) {
    const std::string unit = deploymentUnitOf(index, foreign);
    const std::string subsystem = subsystemOf(index);
    const int consumers = count < 3 ? 3 : count;

    json gateways;  // null: the service has no "usedGateways"
    if (foreign) {
        gateways = json::array({"gw-other"});
    } else {
        int kind = number(0, 99);
        if (kind < 10) {
            gateways = nullptr;
        } else if (kind < 25) {
            gateways = json::array({"gw-edge", gatewayName()});
        } else {
            gateways = json::array({gatewayName()});
        }
    }
    const bool hasGateways = !gateways.is_null();

    // The service itself.
    json service = keys(subsystem, unit);
    if (hasGateways) {
        service["usedGateways"] = gateways;
    }
    switch (number(0, 4)) {
        case 0:
            service["stickyOptions"] = {{"type", "consistent_hash"},
                                        {"stickyCookie", "sid-" + std::to_string(index)}};
            break;
        case 1:
            service["stickyOptions"] = {{"type", "sticky"},
                                        {"stickyHash", chance(50) ? "sha1" : "md5"}};
            break;
        case 2:
            service["stickyOptions"] = {{"type", "ip_hash"}};
            break;
        case 3:
            service["sticky"] = true;
            service["stickyCookie"] = "sid_" + std::to_string(index);
            break;
        default:
            break;
    }
    if (chance(60)) {
        json check = {{"enabled", true},     {"handler", "/health/"}, {"interval", 3000},
                      {"rise", number(1, 3)}, {"fall", number(2, 5)},  {"timeout", 1000}};
        if (chance(50)) {
            check["defaultDown"] = chance(50);
        }
        if (chance(30)) {
            check["port"] = 8081;
        }
        if (chance(30)) {
            check["disableFallCount"] = true;
        }
        service["healthcheck"] = check;
    }
    const std::string api = "/api/" + unit;
    json proxy = {{"url", api + "/v1/"}, {"proxyPass", "/" + unit + "/v1/"}};
    if (chance(50)) {
        proxy["headers"] = json::array({{{"name", "X-Frame-Options"}, {"value", "DENY"}},
                                        {{"name", "Cache-Control"}, {"value", "no-store"}}});
    }
    json legacy = {{"url", api + "/v1/legacy/"},
                   {"rewrite",
                    {{"regex", "^" + api + "/v1/legacy/(.*)$"},
                     {"replacement", "/" + unit + "/v1/$1"},
                     {"flag", chance(50) ? "break" : "last"}}}};
    json ping = {{"url", "= " + api + "/ping"}, {"return", {{"code", "200"}, {"body", "pong"}}}};
    if (chance(50)) {
        ping["headers"] = json::array({{{"name", "Content-Type"}, {"value", "text/plain"}}});
    }
    json files = {{"url", "/static/" + unit + "/"},
                  {"alias", "/var/www/" + unit + "/static/"},
                  {"index", "index.html"},
                  {"try_files", "$uri $uri/ =404"},
                  {"expires", "7d"}};
    const bool twoVersions = chance(30);
    json apiVersions = json::array(
        {{{"version", "1.0"}, {"locations", json::array({proxy, legacy, ping, files})}}});
    if (twoVersions) {
        apiVersions.push_back(
            {{"version", "2.0"},
             {"locations",
              json::array({{{"url", api + "/v2/"}, {"proxyPass", "/" + unit + "/v2/"}}})}});
    }
    service["apiVersions"] = apiVersions;
    servicesDocument["services"].push_back(service);

    Entries entries;

    // Node groups: data centers with nodes, and an OpenShift route.
    json dataCenters = json::array();
    const int centers = number(1, 2);
    for (int c = 0; c < centers; ++c) {
        json nodes = json::array();
        const int nodeCount = number(1, 3);
        for (int n = 0; n < nodeCount; ++n) {
            nodes.push_back("127.0." + std::to_string(index % 250) + "." + std::to_string(n + 1));
        }
        dataCenters.push_back({{"name", c == 0 ? "dc-north" : "dc-south"}, {"nodes", nodes}});
    }
    json mainGroup = {{"groupName", "Main-A"}, {"dataCenters", dataCenters}};
    if (chance(70)) {
        mainGroup["keepalive"] = number(2, 64);
    }
    if (chance(20)) {
        mainGroup["protocols"] = {{"http", {{"port", 9080}}}, {"https", {{"port", 9443}}}};
    }
    json routeGroup = {{"groupName", "Route"},
                       {"openshiftRoute", "localhost"},
                       {"protocols", {{"http", {{"port", 18080}}}, {"https", {{"port", 18443}}}}}};
    json nodeVersions;
    if (twoVersions) {
        nodeVersions = json::array({{{"version", "1.0"}, {"nodeGroups", json::array({mainGroup})}},
                                    {{"version", "2.0"}, {"nodeGroups", json::array({routeGroup})}}});
    } else {
        nodeVersions = json::array(
            {{{"version", "1.0"}, {"nodeGroups", json::array({mainGroup, routeGroup})}}});
    }
    if (chance(10)) {
        // Stale: a later entry for the same service overrides it.
        json stale = keys(subsystem, unit);
        stale["apiVersions"] = json::array(
            {{{"version", "1.0"},
              {"nodeGroups",
               json::array({{{"groupName", "Old"}, {"openshiftRoute", "localhost"}}})}}});
        entries.nodes.push_back(stale);
    }
    json nodesEntry = keys(subsystem, unit);
    if (hasGateways && chance(60)) {
        nodesEntry["usedGateways"] = gateways;
    }
    if (!hasGateways) {
        // Bound to a gateway that the service does not name: does not match, and leaves the
        // service with a null "usedGateways".
        json bound = keys(subsystem, unit);
        bound["usedGateways"] = json::array({gatewayName()});
        bound["apiVersions"] = json::array(
            {{{"version", "1.0"},
              {"nodeGroups",
               json::array({{{"groupName", "Bound"}, {"openshiftRoute", "localhost"}}})}}});
        entries.nodes.push_back(bound);
    }
    nodesEntry["apiVersions"] = nodeVersions;
    entries.nodes.push_back(nodesEntry);

    // Routing: consumer releases and a default.
    json table = json::array();
    const int releases = number(1, 3);
    for (int r = 0; r < releases; ++r) {
        json consumer = {{"release", "R" + std::to_string(2023 + r) + "." + twoDigits(number(1, 12))}};
        if (chance(30)) {
            consumer["distribVersion"] = std::to_string(2023 + r) + ".1." + std::to_string(r);
        }
        json route = {{"groupName", chance(50) ? "Main-A" : "Route"}};
        if (chance(30)) {
            route["quota"] = number(1, 100);
        }
        table.push_back({{"consumer", consumer}, {"routes", json::array({route})}});
    }
    if (chance(40)) {
        const int other = (index + 5) % consumers;
        table.push_back({{"consumer",
                          {{"release", "R2030.01"},
                           {"deploymentUnit", deploymentUnitOf(other, false)},
                           {"version", "1.0"}}},
                         {"routes", json::array({{{"groupName", "Route"}}})}});
    }
    table.push_back({{"default", true}, {"routes", json::array({{{"groupName", "Main-A"}}})}});
    if (chance(10)) {
        json stale = keys(subsystem, unit);
        stale["routing"] = json::array(
            {{{"default", true}, {"routes", json::array({{{"groupName", "Route"}}})}}});
        entries.routing.push_back(stale);
    }
    json routingEntry = keys(subsystem, unit);
    if (hasGateways && chance(50)) {
        routingEntry["usedGateways"] = gateways;
    }
    routingEntry["routing"] = table;
    entries.routing.push_back(routingEntry);

    // Quotas: per consumer and a default.
    json quotas = json::array();
    const int byConsumer = number(1, 2);
    for (int q = 1; q <= byConsumer; ++q) {
        const int other = (index + q) % consumers;
        quotas.push_back({{"type", "rpsbyconsumer"},
                          {"subsystem", subsystemOf(other)},
                          {"deploymentUnit", deploymentUnitOf(other, false)},
                          {"rpslimit", number(1, 100)}});
    }
    quotas.push_back({{"type", "rpsdefault"}, {"rpslimit", number(5, 500)}});
    if (chance(10)) {
        json stale = keys(subsystem, unit);
        stale["quotas"] = json::array({{{"type", "rpsdefault"}, {"rpslimit", 1}}});
        entries.limits.push_back(stale);
    }
    json limitsEntry = keys(subsystem, unit);
    // A service whose "usedGateways" the nodes merge made null shares no gateway with anyone.
    if (hasGateways && chance(50)) {
        limitsEntry["usedGateways"] = gateways;
    }
    limitsEntry["quotas"] = quotas;
    entries.limits.push_back(limitsEntry);
    if (chance(5)) {
        // Without quotas: takes no part and overrides nothing.
        entries.limits.push_back(keys(subsystem, unit));
    }

    // Entries of services that do not exist.
    if (index % 50 == 3) {
        const std::string gone = "gone-" + std::to_string(index) + ".old";
        json orphan = keys(subsystem, gone);
        orphan["apiVersions"] = nodeVersions;
        entries.nodes.push_back(orphan);
        orphan = keys(subsystem, gone);
        orphan["routing"] = table;
        entries.routing.push_back(orphan);
        orphan = keys(subsystem, gone);
        orphan["quotas"] = quotas;
        entries.limits.push_back(orphan);
    }

    for (auto& entry : entries.nodes) {
        nodesDocument["services"].push_back(std::move(entry));
    }
    // Reversed as a whole later: push in reverse so that each service's entries keep their order.
    for (auto it = entries.routing.rbegin(); it != entries.routing.rend(); ++it) {
        routingDocument["services"].push_back(std::move(*it));
    }
    limitGroupStarts.push_back(limitsDocument["services"].size());
    for (auto& entry : entries.limits) {
        limitsDocument["services"].push_back(std::move(entry));
    }
}

void SyntheticInventory::write(const std::string& dir) const {
    auto save = [&dir](const char* name, const json& document) {
        std::ofstream out(dir + "/" + name, std::ios::binary | std::ios::trunc);
        out << document.dump(2) << "\n";
    };
    save("services.json", servicesDocument);
    save("nodes.json", nodesDocument);
    save("routing.json", routingDocument);
    save("limits.json", limitsDocument);
}

}  // namespace testsupport
