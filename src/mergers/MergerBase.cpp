#include "mergers/MergerBase.h"

#include <string_view>
#include <utility>

#include "common/ProcessingJson.h"
#include "mergers/MergeKeyIndex.h"

namespace {

MergeResult presence(const Json& value, const char* key, const char* message,
                     const std::string& fileName) {
    if (ProcessingJson().exists(value, key)) {
        return MergeResult();
    }
    return MergeResult(message, fileName);
}

bool isStringMember(const Json& value, std::string_view key) {
    auto it = value.find(key);
    return it != value.end() && it->is_string();
}

}  // namespace

MergerBase::MergerBase(const Json& sourceJson) : sourceJson(sourceJson) {}

MergerBase::MergerBase(Json&& sourceJson) : sourceJson(std::move(sourceJson)) {}

MergeResult MergerBase::mergeInPlace(Json& services) {
    MergeResult result = merge(services);
    if (!result.getIsOk()) {
        return result;
    }
    services = result.takeJson();
    return MergeResult();
}

Json MergerBase::takeOrCopy(const Json& value) const {
    if (!spendSource) {
        return value;
    }
    // value lies in sourceJson, which this step owns and does not hold as const.
    return std::move(const_cast<Json&>(value));
}

MergeResult MergerBase::isServicesExists(const Json& value, const std::string& fileName) const {
    return presence(value, "services", "\"services\" section does not exists", fileName);
}

MergeResult MergerBase::isSubsystemExists(const Json& value, const std::string& fileName) const {
    return presence(value, "subsystem", "\"subsystem\" does not exists in service", fileName);
}

MergeResult MergerBase::isDeploymentUnitExists(const Json& value,
                                               const std::string& fileName) const {
    return presence(value, "deploymentUnit", "\"deploymentUnit\" does not exists in service",
                    fileName);
}

MergeResult MergerBase::isApiVersionsExists(const Json& value, const std::string& fileName) const {
    return presence(value, "apiVersions", "\"apiVersions\" does not exists in service", fileName);
}

MergeResult MergerBase::isVersionInApiVersionsExists(const Json& value,
                                                     const std::string& fileName) const {
    ProcessingJson processing;
    if (!processing.exists(value, "apiVersions")) {
        return MergeResult("\"apiVersions\" does not exists in service", fileName);
    }
    for (const auto& apiVersion : value.at("apiVersions")) {
        if (!processing.exists(apiVersion, "version")) {
            return MergeResult("\"apiVersions.version\" does not exists in service", fileName);
        }
    }
    return MergeResult();
}

MergeResult MergerBase::isUsedGatewaysExists(const Json& value, const std::string& fileName) const {
    return presence(value, "usedGateways", "\"usedGateways\" does not exists in service", fileName);
}

bool MergerBase::equalsUsedGW(const Json& a, const Json& b) const {
    for (const auto& left : a) {
        if (!left.is_string()) {
            continue;
        }
        const auto& leftText = left.get_ref<const std::string&>();
        for (const auto& right : b) {
            if (right.is_string() && right.get_ref<const std::string&>() == leftText) {
                return true;
            }
        }
    }
    return false;
}

MergeResult MergerBase::walkServices(const Json& list, const Check& presence, const Check& typesOf,
                                     MergeResult& types, MergeKeyIndex* index) const {
    const bool inArray = list.is_array();
    std::size_t position = 0;
    for (const auto& value : list) {
        MergeResult present = presence(value);
        if (!present.getIsOk()) {
            return present;
        }
        if (inArray && types.getIsOk()) {
            types = typesOf(value);
            if (index != nullptr && types.getIsOk()) {
                index->add(value, position);
            }
        }
        ++position;
    }
    return MergeResult();
}

MergeResult MergerBase::isServicesArray(const Json& value, const std::string& fileName) const {
    auto services = value.find("services");
    if (services != value.end() && services->is_array()) {
        return MergeResult();
    }
    return MergeResult("\"services\" section must be array", fileName);
}

MergeResult MergerBase::checkKeyTypes(const Json& value, const std::string& fileName) const {
    if (!isStringMember(value, "subsystem")) {
        return MergeResult("\"subsystem\" must be string", fileName);
    }
    if (!isStringMember(value, "deploymentUnit")) {
        return MergeResult("\"deploymentUnit\" must be string", fileName);
    }
    return MergeResult();
}

MergeResult MergerBase::checkApiVersionsTypes(const Json& value,
                                              const std::string& fileName) const {
    auto apiVersions = value.find("apiVersions");
    if (apiVersions == value.end() || !apiVersions->is_array()) {
        return MergeResult("\"apiVersions\" must be array", fileName);
    }
    for (const auto& apiVersion : *apiVersions) {
        if (!apiVersion.is_object() || !isStringMember(apiVersion, "version")) {
            return MergeResult("\"apiVersions.version\" must be string", fileName);
        }
    }
    return MergeResult();
}

MergeResult MergerBase::checkUsedGatewaysTypes(const Json& value,
                                               const std::string& fileName) const {
    auto usedGateways = value.find("usedGateways");
    if (usedGateways == value.end()) {
        return MergeResult();
    }
    for (const auto& gateway : *usedGateways) {
        if (!gateway.is_string()) {
            return MergeResult("\"usedGateways\" elements must be strings", fileName);
        }
    }
    return MergeResult();
}
