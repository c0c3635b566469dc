#pragma once
// Runs the tokens of one built expression through the runtime's own expression parser, so that a line
// the runtime would refuse when it reaches it is refused by the builder instead, with the parser's message.

#include "script/GxMoaToken.h"

#include <cstdint>
#include <string>
#include <vector>

class MoaExpressionCheck
{
public:
    // Parses tokens[begin..] as the runtime does. True when the expression parses and ends exactly at
    // end (the token count for a whole statement, the index of a condition's ")"); otherwise message
    // (UTF-8) says where and why.
    static bool Check(const std::vector<GxMoaToken>& tokens, size_t begin, size_t end, std::string& message);
};
