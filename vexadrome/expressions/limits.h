// Bounds that keep every input, however deep or large, from exhausting the
// stack or the memory. Exceeding one is reported as ErrorCode::TooComplex.
#pragma once

namespace Vexadrome::Expressions {

// The greatest height of an unlinked tree (see Prelink::height: chains of
// sums and products count as one level): parentheses nested 1,000 deep with
// operators inside fit, and so does a sum of any length.
constexpr int MaxExpressionHeight = 1100;
// The deepest nesting of calls and literals while parsing.
constexpr int MaxCallNesting = 256;
// The deepest recursion of one link, summed over the nested definitions it expands.
constexpr int MaxLinkDepth = 4000;
// The most linked nodes that one link may create (each use of a definition
// links its own copy of the body, so nested definitions multiply).
constexpr int MaxLinkedNodes = 250000;

}
