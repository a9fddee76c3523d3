#pragma once
// A plain, memoised implementation of the parser's split rules, taken literally: every
// position of every operator is tried, in order, with both sides classified in full.
// It is slow on purpose and serves to check the fast split search on random text.

#include "engine/parser.h"

namespace orvek::test {

// Parses Text with the rules above, using Parser's variables, functions and number
// format, and evaluates it in the parser's record order. Raises what the parser would.
long double ReferenceEvaluate(const TParser& Parser, const QString& Text);

} // namespace orvek::test
