#include "checkers/CheckerBase.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {
constexpr std::int64_t k_int32Max = std::numeric_limits<std::int32_t>::max();
}  // namespace

CheckerBase::CheckerBase(const Json& json) : checkedJson(&json) {}

Json CheckerBase::getJson() const {
    return *checkedJson;
}

bool CheckerBase::isNonEmptyString(const Json& value) {
    return value.is_string() && !value.get_ref<const std::string&>().empty();
}

void CheckerBase::addFailure(CheckResult& result, const std::string& message) {
    result.addResult(ResultBase::Fail(message));
}

bool CheckerBase::isAboveInt32(const Json& number) {
    if (number.is_number_unsigned()) {
        return number.get<std::uint64_t>() > static_cast<std::uint64_t>(k_int32Max);
    }
    if (number.is_number_integer()) {
        return number.get<std::int64_t>() > k_int32Max;
    }
    if (number.is_number_float()) {
        // Written so that NaN also counts as out of range.
        return !(number.get<double>() < static_cast<double>(k_int32Max) + 1.0);
    }
    return false;
}

bool CheckerBase::isBelow(const Json& number, long long minimum) {
    if (number.is_boolean()) {
        return (number.get<bool>() ? 1 : 0) < minimum;
    }
    if (number.is_number_unsigned()) {
        return minimum > 0 && number.get<std::uint64_t>() < static_cast<std::uint64_t>(minimum);
    }
    if (number.is_number_integer()) {
        return number.get<std::int64_t>() < minimum;
    }
    if (number.is_number_float()) {
        return std::trunc(number.get<double>()) < static_cast<double>(minimum);
    }
    return false;
}

ResultBase CheckerBase::checkSubsystem() const {
    if (!has(json(), "subsystem")) {
        return ResultBase::Fail("\"subsystem\" not exists in one of the services");
    }
    if (!json().at("subsystem").is_string()) {
        return ResultBase::Fail("\"subsystem\" must be string");
    }
    return ResultBase::Ok();
}

CheckResult CheckerBase::checkDeploymentUnit() const {
    CheckResult result;
    if (!has(json(), "deploymentUnit")) {
        addFailure(result, "\"deploymentUnit\" not exists in one of the services");
    } else if (!json().at("deploymentUnit").is_string()) {
        addFailure(result, "\"deploymentUnit\" must be string");
    }
    return result;
}

CheckResult CheckerBase::checkProtocols() const {
    CheckResult result;
    if (!has(json(), "protocols")) {
        // Only schema-3 services must name their protocols.
        if (has(json(), "schema_version") && json().at("schema_version").is_string() &&
            json().at("schema_version").get_ref<const std::string&>() == "3") {
            addFailure(result, "\"protocols\" not exists");
        }
        return result;
    }
    const Json& protocols = json().at("protocols");
    const bool hasHttp = has(protocols, "http");
    const bool hasHttps = has(protocols, "https");
    if (!hasHttp && !hasHttps) {
        addFailure(result, "\"protocols.http\" and \"protocols.https\" not exists");
        return result;
    }
    if (hasHttp) {
        result.addResult(checkHttp(protocols.at("http")));
    }
    if (hasHttps) {
        result.addResult(checkHttps(protocols.at("https")));
    }
    return result;
}

CheckResult CheckerBase::checkHttp(const Json& http) const {
    CheckResult result;
    if (!has(http, "port")) {
        addFailure(result, "\"protocols.http.port\" not exists");
    } else if (!http.at("port").is_number_unsigned()) {
        addFailure(result, "\"protocols.http.port\" must be unsigned number");
    }
    return result;
}

CheckResult CheckerBase::checkHttps(const Json& https) const {
    CheckResult result;
    if (!has(https, "port")) {
        addFailure(result, "\"protocols.https.port\" not exists");
    } else if (!https.at("port").is_number_unsigned()) {
        addFailure(result, "\"protocols.https.port\" must be unsigned number");
    }
    if (!has(https, "cn")) {
        addFailure(result, "\"protocols.https.cn\" not exists");
    } else if (!https.at("cn").is_string()) {
        addFailure(result, "\"protocols.https.cn\" must be string");
    }
    return result;
}
