#pragma once

#include <map>
#include <string>

#include "cli/ArgumentMap.h"
#include "cli/InputData.h"
#include "cli/InputJson.h"
#include "common/LoaderResult.h"
#include "common/ResultBase.h"
#include "generator_v3/ConfigGeneratorV3.h"

// One generation run: checks and loads the input files, agrees on their schema version, runs
// the generator of that version and logs the outcome. Returns true on success.
bool buildNginxConfFiles(const ArgumentMap& argumentMap);

// Reads "schema_version" of the file at path into version ("0" when the document has no such
// member) and returns true. Returns false, leaving version alone, when the file is missing,
// empty or not JSON (the loader reports those files later), or when "schema_version" is not a
// string; in that last case problem (when given) receives the message to report. On success
// parsed (when given) receives the load of the file, so that it need not be parsed again.
bool getSchemaVersionFromFile(const std::string& path, std::string& version,
                              std::string* problem = nullptr, LoaderResult* parsed = nullptr);

// Loads of input files by their option ("-s", "-r", "-n", "-l").
using ParsedDocuments = std::map<std::string, LoaderResult>;

// Sets version to the schema version that every input file of the command line agrees on.
// Files that give no version take no part; when none does, version keeps the value it came
// with. Logs and returns false when the files disagree or a version is not a string. The files
// it read and parsed go into parsed (when given), for the loading that follows.
bool getSchemaVersion(const ArgumentMap& argumentMap, std::string& version,
                      ParsedDocuments* parsed = nullptr);

// Reads the "protocols" section of the nodes document: which of HTTP and HTTPS to generate,
// their ports as decimal text and the HTTPS server name. Logs each problem as invalid input of
// "nodes.json" and returns false.
bool getProtocols(const InputJson& nodes, bool& isHttp, std::string& httpPort, bool& isHttps,
                  std::string& httpsPort, std::string& httpsCn);

// The schema-3 generator for the protocols that getProtocols found.
ConfigGeneratorV3 getConfigGeneratorV3(bool isHttp, const std::string& httpPort, bool isHttps,
                                       const std::string& httpsPort, const std::string& httpsCn);

// Runs the generator of the schema version on inputData, which the caller copies or moves in;
// schema "2" falls back to the legacy generator, on a fresh copy, when its own fails.
ResultBase callConfigGenerator(InputData inputData, const std::string& version);
