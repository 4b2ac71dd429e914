#pragma once

#include <string>

#include "cli/InputData.h"
#include "common/ResultBase.h"

// Schema-3 generator: filter, merge, validate, then write location, upstream, routing and
// limits files for the protocols of the run.
class ConfigGeneratorV3 {
public:
    ConfigGeneratorV3(bool isHttp, const std::string& httpPort, bool isHttps,
                      const std::string& httpsPort, const std::string& httpsCn);
    // HTTP only.
    ConfigGeneratorV3(bool isHttp, const std::string& httpPort);
    // HTTPS only.
    ConfigGeneratorV3(bool isHttps, const std::string& httpsPort, const std::string& httpsCn);

    ResultBase generate(InputData inputData);

private:
    bool isHttp;
    bool isHttps;
    std::string httpPort;
    std::string httpsPort;
    std::string httpsCn;
};
