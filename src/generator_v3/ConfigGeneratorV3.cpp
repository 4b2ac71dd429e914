#include "generator_v3/ConfigGeneratorV3.h"

ConfigGeneratorV3::ConfigGeneratorV3(bool http, const std::string& hPort, bool https,
                                     const std::string& sPort, const std::string& cn)
    : isHttp(http), isHttps(https), httpPort(hPort), httpsPort(sPort), httpsCn(cn) {}

ConfigGeneratorV3::ConfigGeneratorV3(bool http, const std::string& hPort)
    : ConfigGeneratorV3(http, hPort, false, "", "") {}

ConfigGeneratorV3::ConfigGeneratorV3(bool https, const std::string& sPort, const std::string& cn)
    : ConfigGeneratorV3(false, "", https, sPort, cn) {}

ResultBase ConfigGeneratorV3::generate(InputData) {
    return ResultBase::Fail("schema 3 generation is not available in this build");
}
