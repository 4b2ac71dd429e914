#include "cli/RunDriver.h"

#include <climits>
#include <cstdint>
#include <future>
#include <utility>
#include <vector>

#include "checkers/NginxSyntax.h"
#include "checkers/SafetyChecker.h"
#include "cli/InputFlags.h"
#include "cli/InputLoading.h"
#include "cli/JsonLoader.h"
#include "common/FileNames.h"
#include "common/Json.h"
#include "common/Logger.h"
#include "common/ProcessingJson.h"
#include "common/RunAside.h"
#include "common/TypeConvertor.h"
#include "generator_v2/ConfigGenerator.h"
#include "generator_v2/ConfigGeneratorLegacy.h"
#include "generator_v2/ConfigGeneratorV0.h"

namespace {

enum class PortRead { Ok, NotNumber, OutOfRange };

// A port is a JSON number read as a signed 32-bit integer (a fraction is dropped). Values that
// do not fit are refused rather than wrapped into some other port.
PortRead readPort(const Json& value, int& port) {
    if (value.is_number_unsigned()) {
        auto number = value.get<std::uint64_t>();
        if (number > static_cast<std::uint64_t>(INT_MAX)) {
            return PortRead::OutOfRange;
        }
        port = static_cast<int>(number);
        return PortRead::Ok;
    }
    if (value.is_number_integer()) {
        auto number = value.get<std::int64_t>();
        if (number < INT_MIN || number > INT_MAX) {
            return PortRead::OutOfRange;
        }
        port = static_cast<int>(number);
        return PortRead::Ok;
    }
    if (value.is_number_float()) {
        double number = value.get<double>();
        if (!(number > static_cast<double>(INT_MIN) - 1.0 &&
              number < static_cast<double>(INT_MAX) + 1.0)) {
            return PortRead::OutOfRange;
        }
        port = static_cast<int>(number);
        return PortRead::Ok;
    }
    return PortRead::NotNumber;
}

bool notValidNodes(const std::string& message) {
    Logger::logNotValidInputJson(NODES_JSON, message);
    return false;
}

// Reads "port" of one protocol object whose presence the caller has tested.
bool readProtocolPort(const Json& protocol, const std::string& name, std::string& port) {
    int number = 0;
    switch (readPort(protocol.at("port"), number)) {
        case PortRead::Ok:
            port = TypeConvertor().intToString(number);
            return true;
        case PortRead::NotNumber:
            return notValidNodes("\"protocols." + name + ".port\" must be number");
        case PortRead::OutOfRange:
            return notValidNodes("\"protocols." + name + ".port\" is out of range");
    }
    return false;
}

// Loads the document of option into loaded; logs the loader's message on failure. A document
// that reading the schema versions has already loaded is taken from parsed instead of being
// read and parsed a second time.
bool loadDocument(const std::string& option, const ArgumentMap& argumentMap, LoaderResult& loaded,
                  ParsedDocuments& parsed) {
    auto found = parsed.find(option);
    if (found != parsed.end()) {
        loaded = std::move(found->second);
        parsed.erase(found);
    } else {
        loaded = loadJson(option, argumentMap);
    }
    if (!loaded.getIsOk()) {
        Logger::logError(loaded.getErrorMessage());
        return false;
    }
    return true;
}

}  // namespace

bool getSchemaVersionFromFile(const std::string& path, std::string& version, std::string* problem,
                              LoaderResult* parsed) {
    if (!checkFileNotEmpty(path)) {
        return false;
    }
    LoaderResult loaded = JsonLoader(path).load();
    if (!loaded.getIsOk()) {
        return false;
    }
    const Json& document = loaded.jsonRef();
    if (!ProcessingJson().exists(document, "schema_version")) {
        version = "0";
        if (parsed != nullptr) {
            *parsed = std::move(loaded);
        }
        return true;
    }
    const Json& value = document.at("schema_version");
    if (!value.is_string()) {
        if (problem != nullptr) {
            *problem = "\"schema_version\" must be string";
        }
        return false;
    }
    version = value.get<std::string>();
    if (parsed != nullptr) {
        *parsed = std::move(loaded);
    }
    return true;
}

bool getSchemaVersion(const ArgumentMap& argumentMap, std::string& version,
                      ParsedDocuments* parsed) {
    struct Source {
        const char* option;
        const char* fileName;
        std::string version;
    };
    // The order of the comparison: services, routing, nodes, limits.
    Source services{"-s", SERVICES_JSON, ""};
    Source routing{"-r", ROUTING_JSON, ""};
    Source nodes{"-n", NODES_JSON, ""};
    Source limits{"-l", LIMITS_JSON, ""};
    std::vector<Source*> sources = {&services, &routing, &nodes, &limits};

    // The documents are read and parsed at the same time, each on a thread of its own (they
    // are independent, and parsing is most of the run's work besides the files); what they
    // show is then taken in the order above.
    struct Reading {
        bool ok = false;
        std::string problem;
        LoaderResult loaded{true, Json()};
    };
    std::vector<Reading> readings(sources.size());
    std::vector<std::future<void>> pending;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (!hasArgument(argumentMap, sources[i]->option)) {
            continue;
        }
        auto read = [&argumentMap, &readings, &sources, i] {
            Reading& reading = readings[i];
            reading.ok =
                getSchemaVersionFromFile(argumentText(argumentMap, sources[i]->option),
                                         sources[i]->version, &reading.problem, &reading.loaded);
        };
        pending.push_back(runAside(read));
    }
    for (auto& reading : pending) {
        reading.get();
    }

    bool typesOk = true;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        Source* source = sources[i];
        if (!hasArgument(argumentMap, source->option)) {
            continue;
        }
        Reading& reading = readings[i];
        if (reading.ok && parsed != nullptr) {
            parsed->emplace(source->option, std::move(reading.loaded));
        }
        if (!reading.problem.empty()) {
            Logger::logNotValidInputJson(source->fileName, reading.problem);
            typesOk = false;
        }
    }
    if (!typesOk) {
        return false;
    }

    const std::string* reference = nullptr;
    for (const Source* source : sources) {
        if (source->version.empty()) {
            continue;
        }
        if (reference == nullptr) {
            reference = &source->version;
        } else if (source->version != *reference) {
            Logger::logError("\"schema_version\" invalid: ");
            Logger::logError("\"schema_version\" in routing.json:  " + routing.version);
            Logger::logError("\"schema_version\" in nodes.json:    " + nodes.version);
            Logger::logError("\"schema_version\" in services.json: " + services.version);
            return false;
        }
    }
    // With no file giving a version, the default stays and the loaders report the files.
    if (reference != nullptr) {
        version = *reference;
    }
    return true;
}

bool getProtocols(const InputJson& nodes, bool& isHttp, std::string& httpPort, bool& isHttps,
                  std::string& httpsPort, std::string& httpsCn) {
    ProcessingJson pj;
    isHttp = false;
    isHttps = false;
    const Json& document = nodes.json();
    if (!pj.exists(document, "protocols")) {
        return notValidNodes("\"protocols\" section is not exists");
    }
    const Json& protocols = document.at("protocols");

    isHttp = pj.exists(protocols, "http");
    if (isHttp) {
        const Json& http = protocols.at("http");
        if (!pj.exists(http, "port")) {
            return notValidNodes("\"protocols.http.port\" is not exists");
        }
        if (!readProtocolPort(http, "http", httpPort)) {
            return false;
        }
    }

    isHttps = pj.exists(protocols, "https");
    if (isHttps) {
        const Json& https = protocols.at("https");
        if (!pj.exists(https, "port")) {
            return notValidNodes("\"protocols.https.port\" is not exists");
        }
        if (!pj.exists(https, "cn")) {
            return notValidNodes("\"protocols.https.cn\" is not exists");
        }
        if (!readProtocolPort(https, "https", httpsPort)) {
            return false;
        }
        if (!https.at("cn").is_string()) {
            return notValidNodes("\"protocols.https.cn\" must be string");
        }
        httpsCn = https.at("cn").get<std::string>();
        // Written between double quotes: proxy_ssl_name "CN";
        if (SafetyChecker::hasControlCharacter(httpsCn)) {
            return notValidNodes("\"protocols.https.cn\" must not contain control characters");
        }
        const std::string problem = NginxSyntax::quotedProblem(httpsCn, '"');
        if (!problem.empty()) {
            return notValidNodes("\"protocols.https.cn\" " + problem);
        }
    }

    if (isHttp || isHttps) {
        return true;
    }
    return notValidNodes("\"protocols.http\" and/or \"protocols.https\" are not exists");
}

ConfigGeneratorV3 getConfigGeneratorV3(bool isHttp, const std::string& httpPort, bool isHttps,
                                       const std::string& httpsPort, const std::string& httpsCn) {
    if (isHttp && isHttps) {
        return ConfigGeneratorV3(true, httpPort, true, httpsPort, httpsCn);
    }
    if (isHttp) {
        return ConfigGeneratorV3(true, httpPort);
    }
    return ConfigGeneratorV3(isHttps, httpsPort, httpsCn);
}

ResultBase callConfigGenerator(InputData inputData, const std::string& version) {
    if (version == "3") {
        bool isHttp = false;
        bool isHttps = false;
        std::string httpPort;
        std::string httpsPort;
        std::string httpsCn;
        if (!getProtocols(inputData.nodesRef(), isHttp, httpPort, isHttps, httpsPort, httpsCn)) {
            return ResultBase::Fail("could not get protocols", NODES_JSON);
        }
        return getConfigGeneratorV3(isHttp, httpPort, isHttps, httpsPort, httpsCn)
            .generate(std::move(inputData));
    }
    if (version == "2") {
        ResultBase result = ConfigGenerator().generate(inputData);
        if (result.getIsOk()) {
            return result;
        }
        // The schema-2 failure is not reported: the legacy form decides the run.
        return ConfigGeneratorLegacy().generate(std::move(inputData));
    }
    if (version == "0") {
        return ConfigGeneratorV0().generate(std::move(inputData));
    }
    return ResultBase::Fail("finished: has ERRORS - incorrect schema_version");
}

bool buildNginxConfFiles(const ArgumentMap& argumentMap) {
    std::string version = "3";
    checkInputFilesAsNotEmpty(argumentMap);
    ParsedDocuments parsed;
    if (!getSchemaVersion(argumentMap, version, &parsed)) {
        return false;
    }
    InputFlags flags(argumentMap);

    // The documents move from one stage to the next: none is copied on the way.
    LoaderResult loaded(true, Json());
    if (!loadDocument("-r", argumentMap, loaded, parsed)) {
        return false;
    }
    InputJson routing = getRoutingJson(std::move(loaded));
    if (!loadDocument("-n", argumentMap, loaded, parsed)) {
        return false;
    }
    InputJson nodes = getNodesJson(std::move(loaded));
    if (!loadDocument("-s", argumentMap, loaded, parsed)) {
        return false;
    }
    Json servicesDocument = loaded.takeJson();
    if (servicesDocument.empty()) {
        Logger::logError("services.json is  empty");
        return false;
    }
    InputJson services(SERVICES_JSON, std::move(servicesDocument));

    if (!hasArgument(argumentMap, "-o")) {
        Logger::logError("Output dir name not found");
        return false;
    }
    const std::string outputDir = argumentText(argumentMap, "-o");

    ResultBase result = ResultBase::Ok();
    if (!hasArgument(argumentMap, "-l")) {
        result = callConfigGenerator(
            InputData(flags, std::move(services), std::move(nodes), std::move(routing), outputDir),
            version);
    } else {
        if (!loadDocument("-l", argumentMap, loaded, parsed)) {
            return false;
        }
        // Present even when empty: the generator decides what an empty limits document means.
        InputJson limits(LIMITS_JSON, loaded.takeJson());
        result = callConfigGenerator(InputData(flags, std::move(services), std::move(nodes),
                                               std::move(routing), std::move(limits), outputDir),
                                     version);
    }

    if (!result.getIsOk()) {
        Logger::logError(result.getErrorMessage());
        return false;
    }
    Logger::logInfo("SUCCESS");
    return true;
}
