#include "generator_v3/GenerationSteps.h"

#include <memory>
#include <utility>

#include "common/CompactJson.h"
#include "common/FileNames.h"
#include "common/LateRelease.h"
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
    // Each document is filtered where it is: the filter reports a document it cannot filter
    // before it changes anything.
    GWFilter filter(gw);
    ResultBase result = filter.filterDocument(input.servicesRef().editJson(), SERVICES_JSON);
    if (!result.getIsOk()) {
        return result;
    }
    if (input.routingRef().isPresent()) {
        result = filter.filterDocument(input.routingRef().editJson(), ROUTING_JSON);
        if (!result.getIsOk()) {
            return result;
        }
    }
    if (input.limitsRef().isPresent()) {
        result = filter.filterDocument(input.limitsRef().editJson(), LIMITS_JSON);
        if (!result.getIsOk()) {
            return result;
        }
    }
    if (input.nodesRef().isPresent()) {
        result = filter.filterDocument(input.nodesRef().editJson(), NODES_JSON);
        if (!result.getIsOk()) {
            return result;
        }
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

Merger takingMerger(InputData& input) {
    if (!input.nodesRef().isPresent() && !input.routingRef().isPresent()) {
        return Merger();
    }
    if (!input.limitsRef().isPresent()) {
        return Merger(std::move(input.nodesRef().editJson()),
                      std::move(input.routingRef().editJson()));
    }
    return Merger(std::move(input.nodesRef().editJson()), std::move(input.routingRef().editJson()),
                  std::move(input.limitsRef().editJson()));
}

ResultBase mergeServices(InputData& input, const MergerFactory& getMerger, Json& merged) {
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
    {
        // The merged document is built from the input's services document, which nothing reads
        // afterwards, with the values moved out of the merger's documents; the merger and what
        // is left of its documents go before validation begins.
        Merger merger = getMerger(input);
        MergeResult mergeResult = merger.mergeSpending(std::move(input.servicesRef().editJson()));
        if (!mergeResult.getIsOk()) {
            return ResultBase(false, mergeResult.getErrorMessage(), mergeResult.getErrorFname());
        }
        merged = mergeResult.takeJson();
        LateRelease::release(std::make_shared<Merger>(std::move(merger)));
    }
    return ResultBase::Ok();
}

ResultBase prepareServices(InputData& input, const MergerFactory& getMerger,
                           const Validator& validate, Json& merged) {
    ResultBase mergedOk = mergeServices(input, getMerger, merged);
    if (!mergedOk.getIsOk()) {
        return mergedOk;
    }
    CheckResult checked = validate(merged);
    if (!checked.getIsOk()) {
        return ResultBase::Fail(checked.getErrorMessage());
    }
    return ResultBase::Ok();
}

std::string cleanDeploymentUnit(const Json& service) {
    // The unit's compact JSON text without its quotes (a plain name is written straight, without
    // the library's serializer).
    const std::string text = compactJson(memberOrNull(service, "deploymentUnit"));
    std::string clean;
    clean.reserve(text.size());
    for (char c : text) {
        if (c != '"') {
            clean += c;
        }
    }
    return clean;
}

const Json& arrayOrEmpty(const Json& value) {
    static const Json empty = Json::array();
    return value.is_array() ? value : empty;
}

}  // namespace generation
