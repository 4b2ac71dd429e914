#include "mergers/GWFilter.h"

#include <cstddef>
#include <utility>

GWFilter::GWFilter(const std::string& gw) : gw(gw) {}

void GWFilter::filter(Json& document) {
    errorMessage.clear();
    if (!document.is_object() && !document.is_null()) {
        errorMessage = "document must be a JSON object";
        return;
    }
    Json services;
    if (document.is_object()) {
        auto found = document.find("services");
        if (found != document.end()) {
            if (!found->is_array() && !found->is_null()) {
                errorMessage = "\"services\" section must be array";
                return;
            }
            services = std::move(*found);
        }
    }
    Json kept = Json::array();
    for (auto& service : services) {
        auto usedGateways = service.find("usedGateways");
        if (usedGateways == service.end()) {
            kept.push_back(std::move(service));
            continue;
        }
        std::size_t count = 0;
        for (const auto& gateway : *usedGateways) {
            if (gateway.is_string() && gateway.get_ref<const std::string&>() == gw) {
                ++count;
            }
        }
        for (std::size_t i = 1; i < count; ++i) {
            kept.push_back(service);
        }
        if (count > 0) {
            kept.push_back(std::move(service));
        }
    }
    document["services"] = std::move(kept);
}

ResultBase GWFilter::filterDocument(Json& document, const std::string& fileName) {
    filter(document);
    if (isOk()) {
        return ResultBase::Ok();
    }
    return ResultBase::Fail(errorMessage, fileName);
}
