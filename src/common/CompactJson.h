#pragma once

#include <string>

#include "common/Json.h"

// The compact JSON text of a value, non-ASCII characters unchanged and invalid UTF-8 replaced
// rather than thrown about: exactly value.dump(-1, ' ', false, replace). Null, booleans,
// integers, plain strings (printable ASCII without quote or backslash) and arrays of such values
// are written directly; everything else goes through the library's serializer, which costs far
// more to set up than these few bytes (it looks up the locale on every call).
std::string compactJson(const Json& value);
