#include "checkers/LimitsChecker.h"

#include "common/ProcessingJson.h"

LimitsChecker::LimitsChecker(const Json& service) : CheckerBase(service) {}

CheckResult LimitsChecker::check() const {
    CheckResult result;
    result.addResult(checkSubsystem());
    result.addResult(checkDeploymentUnit());
    result.addResult(checkQuotas());
    return result;
}

CheckResult LimitsChecker::checkQuotas() const {
    CheckResult result;
    if (!has(json(), "quotas")) {
        return result;
    }
    const Json& quotas = json().at("quotas");
    if (!quotas.is_array()) {
        addFailure(result, "\"quotas\" must be array");
        return result;
    }
    for (const auto& quota : quotas) {
        result.addResult(checkQuota(quota));
    }
    return result;
}

CheckResult LimitsChecker::checkQuota(const Json& quota) const {
    CheckResult result;
    const CheckResult typeResult = checkQuotaType(quota);
    result.addResult(typeResult);
    if (typeResult.getIsOk() && getQuotaType(quota) == "rpsbyconsumer") {
        result.addResult(checkQuotaSubsystem(quota));
        result.addResult(checkQuotaDeploymentUnit(quota));
    }
    result.addResult(checkRpsLimit(quota));
    return result;
}

CheckResult LimitsChecker::checkQuotaType(const Json& quota) const {
    CheckResult result;
    if (!has(quota, "type")) {
        addFailure(result, "\"quota.type\" not exists");
    } else if (!quota.at("type").is_string()) {
        addFailure(result, "\"quota.type\" must be string");
    } else if (getQuotaType(quota) != "rpsbyconsumer" && getQuotaType(quota) != "rpsdefault") {
        addFailure(result,
                   "\"quota.type\" has invalid value. Fill in the field with value: "
                   "\"rpsbyconsumer\" or \"rpsdefault\".");
    }
    return result;
}

std::string LimitsChecker::getQuotaType(const Json& quota) const {
    return ProcessingJson().getStringVal(quota, "type");
}

CheckResult LimitsChecker::checkQuotaSubsystem(const Json& quota) const {
    CheckResult result;
    if (!has(quota, "subsystem")) {
        addFailure(result, "\"quota.subsystem\" not exists");
    } else if (!quota.at("subsystem").is_string()) {
        addFailure(result, "\"quota.subsystem\" must be string");
    }
    return result;
}

CheckResult LimitsChecker::checkQuotaDeploymentUnit(const Json& quota) const {
    CheckResult result;
    if (!has(quota, "deploymentUnit")) {
        addFailure(result, "\"quota.deploymentUnit\" not exists");
    } else if (!quota.at("deploymentUnit").is_string()) {
        addFailure(result, "\"quota.deploymentUnit\" must be string");
    }
    return result;
}

CheckResult LimitsChecker::checkRpsLimit(const Json& quota) const {
    CheckResult result;
    if (!has(quota, "rpslimit")) {
        addFailure(result, "\"rpslimit\" not exists");
    } else if (!quota.at("rpslimit").is_number_unsigned()) {
        addFailure(result, "\"rpslimit\" must be unsigned number");
    } else if (isAboveInt32(quota.at("rpslimit"))) {
        addFailure(result, "\"rpslimit\" must be <= 2147483647");
    }
    return result;
}
