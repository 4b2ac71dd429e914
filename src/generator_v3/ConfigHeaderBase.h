#pragma once

#include <string>

// The two-line comment that opens every generated file: the program's version text and the
// name of the input schema that produced the file.
class ConfigHeaderBase {
public:
    virtual ~ConfigHeaderBase() = default;
    // The schema name written on the second header line.
    virtual std::string getScheme() const = 0;
    // "# " + version text + "\n" + "# " + getScheme() + "\n".
    std::string getConfigHeader() const;
};
