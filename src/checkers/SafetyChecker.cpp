#include "checkers/SafetyChecker.h"

#include "checkers/NginxSyntax.h"
#include "common/CompactJson.h"

#include <utility>
#include <vector>

SafetyChecker::SafetyChecker(const Json& service) : CheckerBase(service) {}

CheckResult SafetyChecker::check() const {
    CheckResult result = checkDeploymentUnitAsFileName();
    result.addResult(checkControlCharacters());
    result.addResult(checkContainers());
    result.addResult(checkQuotedValues());
    return result;
}

CheckResult SafetyChecker::checkDeploymentUnitAsFileName() const {
    CheckResult result;
    if (!has(json(), "deploymentUnit") || !json().at("deploymentUnit").is_string()) {
        return result;
    }
    const std::string& unit = json().at("deploymentUnit").get_ref<const std::string&>();
    if (!isFileNameSafe(unit)) {
        addFailure(result,
                   "\"deploymentUnit\" must not contain \"/\" or control characters, "
                   "nor be \".\" or \"..\": " +
                       shown(unit) + " in " + serviceLabel(json()));
    }
    return result;
}

CheckResult SafetyChecker::checkControlCharacters() const {
    CheckResult result;
    if (!json().is_object()) {
        return result;
    }
    // Walked depth first in document order with an explicit stack of the containers on the
    // way (documents may nest deeper than the call stack allows). A value's path is spelled out
    // only when the value is reported.
    struct Level {
        const Json* container;
        Json::const_iterator member;  // objects
        std::size_t index;            // arrays
        bool started;
    };
    auto startOf = [](const Json& container) {
        return Level{&container, container.begin(), 0, false};
    };
    auto pathOf = [](const std::vector<Level>& levels) {
        std::string path;
        for (std::size_t i = 0; i < levels.size(); ++i) {
            if (levels[i].container->is_object()) {
                path += (i == 0 ? "" : ".") + levels[i].member.key();
            } else {
                path += "[" + std::to_string(levels[i].index) + "]";
            }
        }
        return path;
    };
    std::vector<Level> levels{startOf(json())};
    while (!levels.empty()) {
        Level& level = levels.back();
        const bool object = level.container->is_object();
        if (level.started) {
            if (object) {
                ++level.member;
            } else {
                ++level.index;
            }
        }
        level.started = true;
        if (object ? level.member == level.container->end()
                   : level.index >= level.container->size()) {
            levels.pop_back();
            continue;
        }
        if (levels.size() == 1 && level.member.key() == "deploymentUnit") {
            continue;
        }
        const Json& value = object ? *level.member : (*level.container)[level.index];
        if (value.is_string()) {
            if (hasControlCharacter(value.get_ref<const std::string&>())) {
                addFailure(result, shown(pathOf(levels)) +
                                       " must not contain control characters in " +
                                       serviceLabel(json()));
            }
        } else if (value.is_array() || value.is_object()) {
            levels.push_back(startOf(value));
        }
    }
    return result;
}

CheckResult SafetyChecker::checkContainers() const {
    CheckResult result;
    const std::string where = " in " + serviceLabel(json());
    if (!has(json(), "apiVersions")) {
        return result;
    }
    const Json& apiVersions = json().at("apiVersions");
    if (!apiVersions.is_array()) {
        addFailure(result, "\"apiVersions\" must be array" + where);
        return result;
    }
    for (std::size_t i = 0; i < apiVersions.size(); ++i) {
        const Json& apiVersion = apiVersions[i];
        const std::string path = "apiVersions[" + std::to_string(i) + "]";
        for (const char* key : {"locations", "nodeGroups"}) {
            if (has(apiVersion, key) && !apiVersion.at(key).is_array()) {
                addFailure(result, "\"" + path + "." + key + "\" must be array" + where);
            }
        }
        if (!has(apiVersion, "nodeGroups") || !apiVersion.at("nodeGroups").is_array()) {
            continue;
        }
        const Json& nodeGroups = apiVersion.at("nodeGroups");
        for (std::size_t j = 0; j < nodeGroups.size(); ++j) {
            if (!has(nodeGroups[j], "protocols")) {
                continue;
            }
            const std::string name = path + ".nodeGroups[" + std::to_string(j) + "].protocols";
            const Json& protocols = nodeGroups[j].at("protocols");
            if (!protocols.is_object()) {
                addFailure(result, "\"" + name + "\" must be object" + where);
                continue;
            }
            for (const char* protocol : {"http", "https"}) {
                if (has(protocols, protocol) && !protocols.at(protocol).is_object()) {
                    addFailure(result, "\"" + name + "." + protocol + "\" must be object" + where);
                }
            }
        }
    }
    return result;
}

CheckResult SafetyChecker::checkQuotedValues() const {
    CheckResult result;
    auto check = [&](const std::string& field, const Json& value) {
        if (!value.is_string()) {
            return;
        }
        const std::string problem =
            NginxSyntax::quotedProblem(value.get_ref<const std::string&>(), '"');
        if (!problem.empty()) {
            addFailure(result, "\"" + field + "\" " + shown(value.get_ref<const std::string&>()) +
                                   " " + problem + " in " + serviceLabel(json()));
        }
    };
    if (has(json(), "healthcheck") && has(json().at("healthcheck"), "handler")) {
        check("healthcheck.handler", json().at("healthcheck").at("handler"));
    }
    if (has(json(), "routing") && json().at("routing").is_array()) {
        const Json& routing = json().at("routing");
        for (std::size_t i = 0; i < routing.size(); ++i) {
            const Json& entry = routing[i];
            if (!has(entry, "apiVersion") || has(entry, "default") || !has(entry, "consumer")) {
                continue;
            }
            const Json& consumer = entry.at("consumer");
            if (has(consumer, "release") && !has(consumer, "deploymentUnit")) {
                check("routing[" + std::to_string(i) + "].consumer.release",
                      consumer.at("release"));
            }
        }
    }
    return result;
}

bool SafetyChecker::isFileNameSafe(const std::string& unit) {
    return unit != "." && unit != ".." && unit.find('/') == std::string::npos &&
           !hasControlCharacter(unit);
}

bool SafetyChecker::hasControlCharacter(const std::string& text) {
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7f) {
            return true;
        }
    }
    return false;
}

std::string SafetyChecker::shown(const std::string& text) {
    return compactJson(Json(text));
}

std::string SafetyChecker::serviceLabel(const Json& service) {
    auto part = [&](const char* key) {
        if (service.is_object() && service.find(key) != service.end() &&
            service.at(key).is_string()) {
            return service.at(key).get<std::string>();
        }
        return std::string("?");
    };
    return "service " + shown(part("subsystem") + ":" + part("deploymentUnit"));
}
