#pragma once

#include <memory>
#include <string>

#include "common/Json.h"
#include "generator_v3/BuilderBase.h"
#include "generator_v3/LocationText.h"

// Location file of one service for the schema-2 generator. The same blocks as the schema-3
// location file, except that the service's "ssl" flag chooses the proxy scheme, the proxy
// variable has no HTTPS form, hosts carry no port, alias locations write only "index" and a
// location with "index" alone serves an index instead of proxying.
class locations_builder : public BuilderBase, private LocationText {
public:
    explicit locations_builder(std::shared_ptr<ConfigHeaderBase> header);

    std::string build(const Json& service) const;
    static bool json_has(const Json& value, const std::string& key);
    std::string build_limits(const Json& service) const;
    std::string build_shift_headers(const Json& apiVersion, const std::string& cleanUnit) const;
    std::string build_location(const Json& location, const std::string& limitLines,
                               const std::string& cleanUnit, const std::string& cleanSubsystem,
                               const std::string& hostBlocks, bool ssl) const;
    // Return, alias, proxy or index content, chosen in that order.
    std::string build_content(const Json& location, const std::string& cleanUnit,
                              const std::string& hostBlocks, bool ssl) const;
    std::string build_rewrite(const Json& location) const;
    std::string build_custom_headers(const Json& location) const;
    std::string build_headers(const Json& location, const std::string& hostBlocks) const;
    std::string replaceAllCopy(const std::string& text, const std::string& pattern,
                               const std::string& replacement) const;
};
