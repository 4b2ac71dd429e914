#include "generator_v3/GenerationSteps.h"

#include "common/FileNames.h"
#include "mergers/GWFilter.h"

namespace generation {

ResultBase checkDocumentsPresence(const InputData& input) {
    bool nodes = input.nodesRef().isPresent();
    bool routing = input.routingRef().isPresent();
    if (nodes && !routing) {
        return ResultBase::Fail("routing.json must be not empty");
    }
    if (routing && !nodes) {
        return ResultBase::Fail("nodes.json must be not empty");
    }
    return ResultBase::Ok();
}

ResultBase filterByGateway(const std::string& gw, InputData& input) {
    GWFilter filter(gw);
    auto apply = [&filter](const InputJson& source, const std::string& fileName,
                           InputJson& target) {
        nlohmann::json document = source.json();
        ResultBase result = filter.filterDocument(document, fileName);
        if (result.getIsOk()) {
            target = InputJson(source.getFileName(), std::move(document));
        }
        return result;
    };

    InputJson filtered;
    ResultBase result = apply(input.servicesRef(), SERVICES_JSON, filtered);
    if (!result.getIsOk()) {
        return result;
    }
    input.setServices(filtered);
    if (input.routingRef().isPresent()) {
        if (!(result = apply(input.routingRef(), ROUTING_JSON, filtered)).getIsOk()) {
            return result;
        }
        input.setRouting(filtered);
    }
    if (input.limitsRef().isPresent()) {
        if (!(result = apply(input.limitsRef(), LIMITS_JSON, filtered)).getIsOk()) {
            return result;
        }
        input.setLimits(filtered);
    }
    if (input.nodesRef().isPresent()) {
        if (!(result = apply(input.nodesRef(), NODES_JSON, filtered)).getIsOk()) {
            return result;
        }
        input.setNodes(filtered);
    }
    return ResultBase::Ok();
}

Merger defaultMerger(const InputData& input) {
    if (!input.nodesRef().isPresent() && !input.routingRef().isPresent()) {
        return Merger();
    }
    if (!input.limitsRef().isPresent()) {
        return Merger(input.nodesRef().json(), input.routingRef().json());
    }
    return Merger(input.nodesRef().json(), input.routingRef().json(), input.limitsRef().json());
}

ResultBase prepareServices(InputData& input, const MergerFactory& getMerger,
                           const Validator& validate, nlohmann::json& merged) {
    ResultBase presence = checkDocumentsPresence(input);
    if (!presence.getIsOk()) {
        return presence;
    }
    const std::string gw = input.flagsRef().getGW();
    if (!gw.empty()) {
        ResultBase filtered = filterByGateway(gw, input);
        if (!filtered.getIsOk()) {
            return filtered;
        }
    }
    Merger merger = getMerger(input);
    MergeResult mergeResult = merger.merge(input.servicesRef().json());
    if (!mergeResult.getIsOk()) {
        return ResultBase(false, mergeResult.getErrorMessage(), mergeResult.getErrorFname());
    }
    merged = mergeResult.takeJson();
    CheckResult checked = validate(merged);
    if (!checked.getIsOk()) {
        return ResultBase::Fail(checked.getErrorMessage());
    }
    return ResultBase::Ok();
}

std::string cleanDeploymentUnit(const nlohmann::json& service) {
    std::string text = memberOrNull(service, "deploymentUnit")
                           .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    std::string clean;
    clean.reserve(text.size());
    for (char c : text) {
        if (c != '"') {
            clean += c;
        }
    }
    return clean;
}

const nlohmann::json& arrayOrEmpty(const nlohmann::json& value) {
    static const nlohmann::json empty = nlohmann::json::array();
    return value.is_array() ? value : empty;
}

const nlohmann::json& memberOrNull(const nlohmann::json& value, const std::string& key) {
    static const nlohmann::json null;
    if (!value.is_object()) {
        return null;
    }
    auto it = value.find(key);
    return it == value.end() ? null : *it;
}

}  // namespace generation
