#pragma once

#include <memory>
#include <string>

#include "common/Json.h"
#include "generator_v3/BuilderBase.h"
#include "generator_v3/LocationText.h"

// Text of the location file of one service for one protocol: the header and one location block
// per location of every API version. Proxied locations pass requests to the routing map's
// variable; limit lines name the zones of the limits file. Made for one service and protocol.
class LocationsBuilderV3 : public BuilderBase, private LocationText {
public:
    // HTTP builder.
    LocationsBuilderV3(const std::string& port, bool ignorePorts,
                       std::shared_ptr<ConfigHeaderBase> header);
    LocationsBuilderV3(bool https, const std::string& sslName, const std::string& port,
                       bool ignorePorts, std::shared_ptr<ConfigHeaderBase> header);

    std::string build(const Json& service);
    // Limit lines, rewrite, proxy headers, custom headers and key presence: the same text in
    // every generation of location builder.
    using LocationText::buildCustomHeaders;
    using LocationText::buildHeaders;
    using LocationText::buildLimits;
    using LocationText::buildRewrite;
    using LocationText::jsonHas;
    // May replace the port: a node group's own port stays for the rest of the builder's life.
    std::string buildShiftHeaders(const Json& apiVersion, const std::string& cleanUnit);
    void overridePort(const Json& nodeGroup);
    // Whether the run also writes the HTTP files. The openshift host blocks of an HTTPS file
    // test the HTTP routing variable against the HTTP upstream names; in a run without HTTP
    // files nothing defines that variable and nginx refuses the configuration, so an HTTPS
    // builder told so tests its own variable against the HTTPS upstream names instead.
    void setHttpFilesWritten(bool written);
    std::string buildLocation(const Json& location, const std::string& limitLines,
                              const std::string& cleanUnit, const std::string& cleanSubsystem,
                              const std::string& hostBlocks) const;
    // Return, alias or proxy content, chosen in that order.
    std::string buildContent(const Json& location, const std::string& cleanUnit,
                             const std::string& hostBlocks) const;

private:
    bool https;
    std::string sslName;
    std::string port;
    bool ignorePorts;
    bool httpFilesWritten = true;
};
