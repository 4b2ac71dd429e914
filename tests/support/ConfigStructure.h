#pragma once

#include <string>

namespace testsupport {

// Reads a generated nginx file the way nginx's configuration reader splits text into words and
// statements (blanks, quoted strings, backslash escapes, "${" inside a word, "#" comments), and
// checks that it has the shape every generated file has: each line is empty, a comment, a lone
// "}" or exactly one statement that ends on that line with ";" or "{" (a comment may follow),
// and the blocks close. A value that ended a statement early, opened or closed a block, started
// a comment or a new line, or left a quote open breaks that shape.
//
// Returns an empty text when the file has the shape, otherwise the line number and the reason.
std::string configStructureProblem(const std::string& text);

}  // namespace testsupport
