#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "common/Json.h"

namespace testsupport {

// One random schema-3 inventory: the four documents and the command-line options of its run.
struct Inventory {
    Json services;
    Json nodes;
    Json routing;
    Json limits;
    std::vector<std::string> options;  // extra options such as -ignore_ports
};

// Makes random inventories that are valid by construction, the same ones for the same seed:
// names with dots, dashes, upper case and non-ASCII bytes; both balancing forms; health checks;
// return, alias and proxy locations of every location kind; consumer and default routing;
// quotas. Upstream hosts are loopback addresses or localhost, which resolve on any machine.
class InventoryGenerator {
public:
    explicit InventoryGenerator(std::uint32_t seed);

    // An inventory of serviceCount services.
    Inventory make(int serviceCount);

private:
    int number(int low, int high);
    bool chance(int percent);
    template <typename T>
    const T& pick(const std::vector<T>& values) {
        return values[static_cast<size_t>(number(0, static_cast<int>(values.size()) - 1))];
    }
    std::string word();

    Json makeNodeGroup(int service, int group, std::vector<std::string>& names);
    Json makeLocation(int service, int index, bool named);
    void addBalancing(Json& service);
    void addHealthcheck(Json& service);

    std::mt19937 random;
};

}  // namespace testsupport
