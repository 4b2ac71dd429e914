#include "generator_v3/UpstreamsBuilderV3.h"

#include <cstdint>
#include <limits>

#include "common/FileNames.h"
#include "common/Logger.h"
#include "common/ProcessingJson.h"
#include "common/TypeConvertor.h"
#include "generator_v3/BuilderJson.h"
#include "generator_v3/NamesGenerator.h"

using json = Json;

UpstreamsBuilderV3::UpstreamsBuilderV3(bool isHttps, const std::string& port, bool ignorePorts,
                                       std::shared_ptr<ConfigHeaderBase> header)
    : BuilderBase(std::move(header)), isHttps(isHttps), port(port), ignorePorts(ignorePorts) {}

bool UpstreamsBuilderV3::build(const json& service, const json& nodeGroup, bool /*verbose*/,
                               std::string& out) {
    return buildFile(
        getConfigHeader(), service,
        [&](std::string& block) { return buildUpstream(nodeGroup, service, block); }, out);
}

bool UpstreamsBuilderV3::buildUpstream(const json& nodeGroup, const json& service,
                                       std::string& out) {
    if (!checkGroupName(nodeGroup)) {
        return false;
    }
    overridePort(nodeGroup);
    std::string upstreamBase = NamesGenerator().upstreamBaseName(
        BuilderJson::memberText(service, "deploymentUnit"), isHttps);
    if (!buildBlockBody(nodeGroup, service, upstreamBase, serverPortSuffix(), false, out)) {
        return false;
    }
    if (ProcessingJson().exists(nodeGroup, "keepalive")) {
        std::string text;
        if (!buildKeepalive(nodeGroup, text)) {
            return false;
        }
        out += text;
    }
    out += "}";
    return true;
}

bool UpstreamsBuilderV3::buildOpenshiftRoute(const json& nodeGroup, std::string& out) const {
    UpstreamText::buildOpenshiftRoute(nodeGroup, serverPortSuffix(), false, out);
    return true;
}

bool UpstreamsBuilderV3::buildNodes(const json& nodeGroup, std::string& out) const {
    UpstreamText::buildNodes(nodeGroup, serverPortSuffix(), out);
    return true;
}

void UpstreamsBuilderV3::overridePort(const json& nodeGroup) {
    if (ProcessingJson().exists(nodeGroup, "protocols")) {
        setPortFrom(nodeGroup, isHttps ? "https" : "http");
    }
}

void UpstreamsBuilderV3::setPortFrom(const json& nodeGroup, const std::string& protocol) {
    ProcessingJson processing;
    const json& protocols = BuilderJson::member(nodeGroup, "protocols");
    const json& settings = BuilderJson::member(protocols, protocol);
    if (processing.exists(protocols, protocol) && processing.exists(settings, "port")) {
        port = BuilderJson::int32Text(settings.at("port"));
    }
}

bool UpstreamsBuilderV3::buildKeepalive(const json& nodeGroup, std::string& out) const {
    if (!ProcessingJson().exists(nodeGroup, "keepalive")) {
        Logger::logNotValidInputJson(NODES_JSON, "keepalive not exists");
        return false;
    }
    const json& value = nodeGroup.at("keepalive");
    if (!value.is_number_unsigned()) {
        Logger::logNotValidInputJson(NODES_JSON, "keepalive value needed number_unsigned type");
        return false;
    }
    // Written exactly: a value above the 32-bit range is not cut to its low bits.
    std::uint64_t number = value.get<std::uint64_t>();
    std::string text = number <= std::numeric_limits<std::uint32_t>::max()
                           ? TypeConvertor().uint32_tToString(static_cast<std::uint32_t>(number))
                           : std::to_string(number);
    out = indent() + "keepalive " + text + ";\n";
    return true;
}

std::string UpstreamsBuilderV3::serverPortSuffix() const {
    return ignorePorts ? std::string() : ":" + port;
}
