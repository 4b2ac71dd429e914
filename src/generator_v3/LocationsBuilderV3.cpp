#include "generator_v3/LocationsBuilderV3.h"

#include "generator_v3/BuilderJson.h"
#include "generator_v3/NamesGenerator.h"

using json = Json;

LocationsBuilderV3::LocationsBuilderV3(const std::string& port, bool ignorePorts,
                                       std::shared_ptr<ConfigHeaderBase> header)
    : LocationsBuilderV3(false, std::string(), port, ignorePorts, std::move(header)) {}

LocationsBuilderV3::LocationsBuilderV3(bool https, const std::string& sslName,
                                       const std::string& port, bool ignorePorts,
                                       std::shared_ptr<ConfigHeaderBase> header)
    : BuilderBase(std::move(header)),
      https(https),
      sslName(sslName),
      port(port),
      ignorePorts(ignorePorts) {}

std::string LocationsBuilderV3::build(const json& service) {
    NamesGenerator names;
    std::string unit = names.cleanName(BuilderJson::memberText(service, "deploymentUnit"));
    std::string subsystem = names.cleanName(BuilderJson::memberText(service, "subsystem"));
    std::string limitLines = buildLimits(service);
    return getConfigHeader() +
           buildBlocks(
               service, [&](const json& apiVersion) { return buildShiftHeaders(apiVersion, unit); },
               [&](const json& location, const std::string& hostBlocks) {
                   return buildLocation(location, limitLines, unit, subsystem, hostBlocks);
               });
}

std::string LocationsBuilderV3::buildShiftHeaders(const json& apiVersion,
                                                  const std::string& cleanUnit) {
    const std::string unit =
        (https && !httpFilesWritten) ? NamesGenerator().genUpstreamHttpsName(cleanUnit, true)
                                     : cleanUnit;
    return LocationText::buildShiftHeaders(apiVersion, unit, [this](const json& nodeGroup) {
        overridePort(nodeGroup);
        std::string host = BuilderJson::memberText(nodeGroup, "openshiftRoute");
        return ignorePorts ? host : host + ":" + port;
    });
}

void LocationsBuilderV3::setHttpFilesWritten(bool written) {
    httpFilesWritten = written;
}

void LocationsBuilderV3::overridePort(const json& nodeGroup) {
    const json& protocols = BuilderJson::member(nodeGroup, "protocols");
    const json& settings = BuilderJson::member(protocols, https ? "https" : "http");
    if (jsonHas(settings, "port")) {
        port = BuilderJson::int32Text(settings.at("port"));
    }
}

std::string LocationsBuilderV3::buildLocation(const json& location, const std::string& limitLines,
                                              const std::string& cleanUnit,
                                              const std::string& cleanSubsystem,
                                              const std::string& hostBlocks) const {
    return buildBlock(location, limitLines, cleanUnit, cleanSubsystem,
                      buildContent(location, cleanUnit, hostBlocks));
}

std::string LocationsBuilderV3::buildContent(const json& location, const std::string& cleanUnit,
                                             const std::string& hostBlocks) const {
    if (jsonHas(location, "return")) {
        return buildReturnContent(location);
    }
    if (jsonHas(location, "alias")) {
        return buildDirectives(location, {"alias", "index", "try_files", "proxy_cache_bypass",
                                          "proxy_cache_revalidate", "expires"}) +
               buildCustomHeaders(location);
    }
    NamesGenerator names;
    std::string variable = names.byReleaseVariable(names.genUpstreamHttpsName(cleanUnit, https));
    std::string sslLine = https ? "    proxy_ssl_name \"" + sslName + "\";\n" : std::string();
    return buildProxyContent(location, https, variable, sslLine, hostBlocks);
}
