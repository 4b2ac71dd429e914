#pragma once

#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/Json.h"

// Positions of services by their ("subsystem", "deploymentUnit") pair, so that a merge step
// finds the services of one entry without scanning every service. The index refers to the
// strings of the indexed services: that document must stay alive and unchanged while the index
// is used.
class MergeKeyIndex {
public:
    // Adds the service at the given position; both members must be strings. Positions added in
    // increasing order come back in that order.
    void add(const Json& service, std::size_t position);
    // Positions of the services whose keys equal the entry's (both members must be strings);
    // empty when there are none.
    const std::vector<std::size_t>& find(const Json& entry) const;

private:
    using Key = std::pair<std::string_view, std::string_view>;
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    static Key keyOf(const Json& value);

    std::unordered_map<Key, std::vector<std::size_t>, KeyHash> positions;
};
