#include "generator_v3/NamesGenerator.h"

#include "common/Lexer.h"
#include "generator_v3/BuilderJson.h"

std::string NamesGenerator::genUpstreamHttpsName(const std::string& name, bool https) const {
    return https ? name + "_https" : name;
}

std::string NamesGenerator::upstreamPrefixFname(const std::string& prefix,
                                                const Json& nodeGroup) const {
    std::string group = BuilderJson::dump(BuilderJson::member(nodeGroup, "groupName"));
    group = Lexer().replaceAllCopy(group, "\"", "");
    return prefix + "." + groupKey(group);
}

std::string NamesGenerator::upstreamPostfixFname(bool https) const {
    return https ? ".upstream.https.vek.conf" : ".upstream.vek.conf";
}

std::string NamesGenerator::locationPostfixFname(bool https) const {
    return https ? ".location.https.vek.conf" : ".location.vek.conf";
}

std::string NamesGenerator::routingPostfixFname(bool https) const {
    return https ? ".routing.https.vek.conf" : ".routing.vek.conf";
}

std::string NamesGenerator::limitsPostfixFname() const {
    return ".limits.vek.conf";
}

std::string NamesGenerator::generateZoneNameForLimits(
    const std::string& serviceSubsystem, const std::string& serviceDeploymentUnit,
    const std::string& consumerSubsystem, const std::string& consumerDeploymentUnit) const {
    return cleanName(serviceSubsystem) + "_" + cleanName(serviceDeploymentUnit) + "_" +
           cleanName(consumerSubsystem) + "_" + cleanName(consumerDeploymentUnit);
}

std::string NamesGenerator::generateZoneNameForDefaultLimits(
    const std::string& serviceSubsystem, const std::string& serviceDeploymentUnit) const {
    return cleanName(serviceSubsystem) + "_" + cleanName(serviceDeploymentUnit);
}

std::string NamesGenerator::cleanName(const std::string& text) const {
    return Lexer().cleanDashes(text);
}

std::string NamesGenerator::groupKey(const std::string& groupName) const {
    Lexer lexer;
    return lexer.toLower(lexer.cleanAllNotAlphabeticCharacters(groupName));
}

std::string NamesGenerator::upstreamBaseName(const std::string& deploymentUnit, bool https) const {
    return genUpstreamHttpsName(cleanName(deploymentUnit), https);
}

std::string NamesGenerator::upstreamName(const std::string& upstreamBase,
                                         const std::string& groupName) const {
    return upstreamBase + "_" + groupKey(groupName);
}

std::string NamesGenerator::byReleaseVariable(const std::string& upstreamBase) const {
    return "$" + upstreamBase + "_by_release";
}

std::string NamesGenerator::consumerZone(const std::string& serviceSubsystem,
                                         const std::string& serviceDeploymentUnit,
                                         const std::string& consumerSubsystem,
                                         const std::string& consumerDeploymentUnit) const {
    return generateZoneNameForLimits(serviceSubsystem, serviceDeploymentUnit, consumerSubsystem,
                                     consumerDeploymentUnit) +
           "_req_zone";
}

std::string NamesGenerator::defaultZone(const std::string& serviceSubsystem,
                                        const std::string& serviceDeploymentUnit) const {
    return generateZoneNameForDefaultLimits(serviceSubsystem, serviceDeploymentUnit) +
           "_default_req_zone";
}
