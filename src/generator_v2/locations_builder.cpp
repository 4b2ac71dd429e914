#include "generator_v2/locations_builder.h"

#include "common/Lexer.h"
#include "generator_v3/BuilderJson.h"
#include "generator_v3/NamesGenerator.h"

using json = Json;

locations_builder::locations_builder(std::shared_ptr<ConfigHeaderBase> header)
    : BuilderBase(std::move(header)) {}

std::string locations_builder::build(const json& service) const {
    NamesGenerator names;
    std::string unit = names.cleanName(BuilderJson::memberText(service, "deploymentUnit"));
    std::string subsystem = names.cleanName(BuilderJson::memberText(service, "subsystem"));
    std::string limitLines = build_limits(service);
    bool ssl = BuilderJson::isTrue(BuilderJson::member(service, "ssl"));
    return getConfigHeader() +
           LocationText::buildBlocks(
               service,
               [&](const json& apiVersion) { return build_shift_headers(apiVersion, unit); },
               [&](const json& location, const std::string& hostBlocks) {
                   return build_location(location, limitLines, unit, subsystem, hostBlocks, ssl);
               });
}

bool locations_builder::json_has(const json& value, const std::string& key) {
    return LocationText::jsonHas(value, key);
}

std::string locations_builder::build_limits(const json& service) const {
    return LocationText::buildLimits(service);
}

std::string locations_builder::build_shift_headers(const json& apiVersion,
                                                   const std::string& cleanUnit) const {
    return LocationText::buildShiftHeaders(apiVersion, cleanUnit, [](const json& nodeGroup) {
        return BuilderJson::memberText(nodeGroup, "openshiftRoute");
    });
}

std::string locations_builder::build_location(const json& location, const std::string& limitLines,
                                              const std::string& cleanUnit,
                                              const std::string& cleanSubsystem,
                                              const std::string& hostBlocks, bool ssl) const {
    return LocationText::buildBlock(location, limitLines, cleanUnit, cleanSubsystem,
                                    build_content(location, cleanUnit, hostBlocks, ssl));
}

std::string locations_builder::build_content(const json& location, const std::string& cleanUnit,
                                             const std::string& hostBlocks, bool ssl) const {
    if (json_has(location, "return")) {
        return LocationText::buildReturnContent(location);
    }
    if (json_has(location, "alias")) {
        return LocationText::buildDirectives(location, {"alias", "index"}) +
               build_custom_headers(location);
    }
    if (json_has(location, "index")) {
        return LocationText::buildDirectives(location, {"index"}) + build_custom_headers(location);
    }
    return LocationText::buildProxyContent(
        location, ssl, NamesGenerator().byReleaseVariable(cleanUnit), std::string(), hostBlocks);
}

std::string locations_builder::build_rewrite(const json& location) const {
    return LocationText::buildRewrite(location);
}

std::string locations_builder::build_custom_headers(const json& location) const {
    return LocationText::buildCustomHeaders(location);
}

std::string locations_builder::build_headers(const json& location,
                                             const std::string& hostBlocks) const {
    return LocationText::buildHeaders(location, hostBlocks);
}

std::string locations_builder::replaceAllCopy(const std::string& text, const std::string& pattern,
                                              const std::string& replacement) const {
    return Lexer().replaceAllCopy(text, pattern, replacement);
}
