#pragma once

#include <string>

#include "common/Json.h"

// A quicker parser for well-formed JSON documents, giving exactly the value the JSON library's
// own parser gives: the same types (a non-negative integer is unsigned, a negative one signed,
// an integer beyond 64 bits and any fraction or exponent a double read with strtod), the same
// strings (escapes decoded, UTF-8 checked as strictly), the last of repeated keys kept.
//
// Returns false, leaving value unspecified, for anything it does not take: malformed text,
// a byte order mark, arrays and objects nested deeper than maxDepth. The caller then parses
// the text with the library, which also words the error, so what is accepted and every message
// stays the library's.
bool parsePlainJson(const std::string& text, int maxDepth, Json& value);
