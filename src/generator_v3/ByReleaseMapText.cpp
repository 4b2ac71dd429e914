#include "generator_v3/ByReleaseMapText.h"

#include "generator_v3/BuilderJson.h"
#include "generator_v3/NamesGenerator.h"

using json = Json;

std::string ByReleaseMapText::build(const json& routing, const std::string& upstreamBase,
                                    Entries entries) const {
    std::string lines;
    std::string defaultLine;
    const json emptyRouting = json::array();
    for (const json& entry : routing.is_array() ? routing : emptyRouting) {
        std::string upstream;
        if (!firstRouteUpstream(entry, upstreamBase, upstream)) {
            continue;
        }
        const json& consumer = BuilderJson::member(entry, "consumer");
        if (entries == Entries::DefaultConsumer) {
            if (BuilderJson::has(entry, "consumer") && BuilderJson::text(consumer) == "default") {
                defaultLine = "    default \"" + upstream + "\";\n";
            }
            continue;
        }
        if (entries == Entries::ByRelease && BuilderJson::has(entry, "apiVersion")) {
            continue;
        }
        // An entry with "default", true or false, is never a consumer line.
        if (BuilderJson::has(entry, "default")) {
            if (BuilderJson::isTrue(entry.at("default"))) {
                defaultLine = "    default \"" + upstream + "\";\n";
            }
        } else if (BuilderJson::has(consumer, "release") &&
                   !BuilderJson::has(consumer, "deploymentUnit")) {
            lines += "    \"" + BuilderJson::memberText(consumer, "release") + "\" \"" + upstream +
                     "\";\n";
        }
    }
    return "# by release map\n"
           "map $http_zul_Release " +
           NamesGenerator().byReleaseVariable(upstreamBase) + " {\n" + lines + defaultLine + "}";
}

bool ByReleaseMapText::firstRouteUpstream(const json& entry, const std::string& upstreamBase,
                                          std::string& upstream) const {
    const json& routes = BuilderJson::member(entry, "routes");
    if (!routes.is_array() || routes.empty() || !BuilderJson::has(routes.front(), "groupName")) {
        return false;
    }
    upstream = NamesGenerator().upstreamName(upstreamBase,
                                             BuilderJson::memberText(routes.front(), "groupName"));
    return true;
}
