#include "checkers/LocationsChecker.h"

#include <string>

#include "common/ProcessingJson.h"

namespace {

// Adds "<prefix>.<key>" must be string when the object has key with a non-string value.
void requireStringIfPresent(CheckResult& result, const Json& object, const std::string& key,
                            const std::string& prefix) {
    if (ProcessingJson().exists(object, key) && !object.at(key).is_string()) {
        result.addResult(ResultBase::Fail("\"" + prefix + "." + key + "\" must be string"));
    }
}

}  // namespace

LocationsChecker::LocationsChecker(const Json& service) : CheckerBase(service) {}

CheckResult LocationsChecker::check() const {
    CheckResult result;
    result.addResult(checkSubsystem());
    result.addResult(checkDeploymentUnit());
    result.addResult(checkProtocols());
    result.addResult(checkLocations());
    return result;
}

CheckResult LocationsChecker::checkLocations() const {
    CheckResult result;
    if (!has(json(), "apiVersions")) {
        addFailure(result, "\"services[i].apiVersions\" not exists");
        return result;
    }
    for (const auto& apiVersion : json().at("apiVersions")) {
        if (!has(apiVersion, "locations")) {
            addFailure(result, "\"services[i].apiVersions[j].locations\" not exists");
            continue;
        }
        for (const auto& location : apiVersion.at("locations")) {
            result.addResult(checkLocationUrl(location));
            result.addResult(checkLocationProxyPass(location));
            result.addResult(checkLocationAlias(location));
            result.addResult(checkLocationIndex(location));
            result.addResult(checkLocationReturn(location));
            result.addResult(checkLocationRewrite(location));
            result.addResult(checkLocationHeaders(location));
            result.addResult(checkLocationFileOptions(location));
        }
    }
    return result;
}

CheckResult LocationsChecker::checkLocationUrl(const Json& location) const {
    CheckResult result;
    if (!has(location, "url")) {
        addFailure(result, "\"locations[i].url\" not exists");
    } else if (!location.at("url").is_string()) {
        addFailure(result, "\"locations[i].url\" must be string");
    } else if (!isNonEmptyString(location.at("url"))) {
        addFailure(result, "\"locations[i].url\" must be not empty string");
    }
    return result;
}

CheckResult LocationsChecker::checkLocationProxyPass(const Json& location) const {
    CheckResult result;
    requireStringIfPresent(result, location, "proxyPass", "location[i]");
    return result;
}

CheckResult LocationsChecker::checkLocationAlias(const Json& location) const {
    CheckResult result;
    requireStringIfPresent(result, location, "alias", "location[i]");
    return result;
}

CheckResult LocationsChecker::checkLocationIndex(const Json& location) const {
    CheckResult result;
    requireStringIfPresent(result, location, "index", "location[i]");
    return result;
}

CheckResult LocationsChecker::checkLocationReturn(const Json& location) const {
    CheckResult result;
    if (!has(location, "return")) {
        return result;
    }
    const Json& ret = location.at("return");
    if (!ret.is_object()) {
        addFailure(result, "\"locations[i].return\" must be object");
        return result;
    }
    if (!has(ret, "code")) {
        addFailure(result, "\"location[i].return.code\" not exists");
    } else if (!ret.at("code").is_string()) {
        addFailure(result, "\"location[i].return.code\" must be string");
    }
    requireStringIfPresent(result, ret, "body", "location[i].return");
    return result;
}

CheckResult LocationsChecker::checkLocationRewrite(const Json& location) const {
    CheckResult result;
    if (!has(location, "rewrite")) {
        return result;
    }
    const Json& rewrite = location.at("rewrite");
    if (!rewrite.is_object()) {
        addFailure(result, "\"locations[i].rewrite\" must be object");
        return result;
    }
    for (const char* key : {"regex", "replacement", "flag"}) {
        const std::string name = std::string("\"location[i].rewrite.") + key + "\"";
        if (!has(rewrite, key)) {
            addFailure(result, name + " not exists");
        } else if (!rewrite.at(key).is_string()) {
            addFailure(result, name + " must be string");
        } else if (!isNonEmptyString(rewrite.at(key))) {
            addFailure(result, name + " must be not empty string");
        }
    }
    return result;
}

CheckResult LocationsChecker::checkLocationHeaders(const Json& location) const {
    CheckResult result;
    if (!has(location, "headers")) {
        return result;
    }
    const Json& headers = location.at("headers");
    if (!headers.is_array()) {
        addFailure(result, "\"locations[i].headers\" must be array");
        return result;
    }
    for (const auto& header : headers) {
        if (!has(header, "name")) {
            addFailure(result, "\"location[i].headers[j].name\" not exists");
        } else if (!header.at("name").is_string()) {
            addFailure(result, "\"location[i].headers[j].name\" must be string");
        } else if (!isNonEmptyString(header.at("name"))) {
            addFailure(result, "\"location[i].headers[j].name\" must be not empty string");
        }
        if (has(header, "value") && !header.at("value").is_string()) {
            addFailure(result, "\"location[i]..headers[j].value\" must be string");
        }
    }
    return result;
}

CheckResult LocationsChecker::checkLocationFileOptions(const Json& location) const {
    CheckResult result;
    for (const char* key : {"try_files", "proxy_cache_bypass", "proxy_cache_revalidate", "expires"}) {
        requireStringIfPresent(result, location, key, "location[i]");
    }
    return result;
}
