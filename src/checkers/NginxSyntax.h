#pragma once

#include <string>
#include <vector>

#include "common/Json.h"

// What nginx accepts in the places where the generated files copy input values. The checkers
// use these tests to reject, before anything is written, the values that would make nginx
// refuse the whole configuration. Every test returns an empty text when the value is fine and
// otherwise a short reason ("contains a blank", ...) that the checkers put into their messages.
class NginxSyntax {
public:
    // `service "SUBSYSTEM:DEPLOYMENTUNIT"`, naming a service in messages; members that are not
    // strings are shown as "?".
    static std::string serviceName(const Json& service);

    // A name that the files turn into parts of nginx variable, upstream and zone names: ASCII
    // letters, digits, ".", "-" and "_" only (the dots and dashes become "_").
    static std::string nameProblem(const std::string& value);
    // A host name or address written into a server line: letters, digits, ".", "-", "_", ":"
    // and the brackets of an IPv6 address; not empty.
    static std::string hostProblem(const std::string& value);
    // One unquoted nginx word: not empty, no blank or control character, none of ; { } " '
    // and no backslash at the end.
    static std::string wordProblem(const std::string& value);
    // One word that nginx reads from its start: a word as above, or a whole word that the
    // author put in double or single quotes, as nginx needs for a regular expression with
    // braces ("^/v\d{2}/"). A quoted word ends with its quote, holds no other unescaped quote
    // of its kind and no control character, and no backslash escapes its closing quote.
    static std::string tokenProblem(const std::string& value);
    // The text between the quotes of a quoted word (escapes kept); any other value unchanged.
    static std::string unquoted(const std::string& value);
    // Words separated by single blanks, each a word as above.
    static std::string wordsProblem(const std::string& value);
    // Text placed between quote characters: no quote character and no backslash at the end.
    static std::string quotedProblem(const std::string& value, char quote);
    // Variable references ($name, ${name}) of a value that nginx compiles: every "$" must start
    // a well-formed name of a variable that nginx or the gateway defines.
    static std::string variablesProblem(const std::string& value);
    // A regular expression: closed brackets and parentheses, no dangling backslash and no
    // quantifier without something to repeat.
    static std::string regexProblem(const std::string& value);
    // The text of a location: [modifier blank] path, or one word; regular expressions checked.
    static std::string locationProblem(const std::string& url);
    // The key that tells two locations apart for nginx ("=" + path for exact locations, the
    // path for prefix locations); empty for regular-expression and named locations, which
    // nginx lets repeat.
    static std::string locationKey(const std::string& url);
    static bool isNamedLocation(const std::string& url);
    // expires: [modified] epoch | max | off | [@][-]time.
    static std::string expiresProblem(const std::string& value);
    // A return code: decimal digits, at most 999.
    static bool isStatusCode(const std::string& value);
    // The value with ASCII letters in lower case (nginx map keys ignore letter case).
    static std::string lowerAscii(std::string value);

    // Names of variables that nginx 1.22 or the gateway's configuration defines, and prefixes
    // of the families of variables ($http_..., $arg_..., ...).
    static const std::vector<std::string>& knownVariables();
    static const std::vector<std::string>& knownVariablePrefixes();
};
