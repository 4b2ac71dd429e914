#include "mergers/MergeKeyIndex.h"

#include <functional>
#include <string>

std::size_t MergeKeyIndex::KeyHash::operator()(const Key& key) const {
    std::size_t first = std::hash<std::string_view>()(key.first);
    std::size_t second = std::hash<std::string_view>()(key.second);
    return first ^ (second + 0x9e3779b9u + (first << 6) + (first >> 2));
}

MergeKeyIndex::Key MergeKeyIndex::keyOf(const Json& value) {
    return Key(value.at("subsystem").get_ref<const std::string&>(),
               value.at("deploymentUnit").get_ref<const std::string&>());
}

void MergeKeyIndex::add(const Json& service, std::size_t position) {
    positions[keyOf(service)].push_back(position);
}

const std::vector<std::size_t>& MergeKeyIndex::find(const Json& entry) const {
    static const std::vector<std::size_t> none;
    auto it = positions.find(keyOf(entry));
    return it == positions.end() ? none : it->second;
}
