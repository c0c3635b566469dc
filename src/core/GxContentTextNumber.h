#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Numbers of the content text form, parsed and printed the way the C runtime does in the "C" locale,
// whatever the process locale is (a German locale must not turn 0.5 into "0,500000"). Parsing follows
// the runtime functions the format was defined with, over fields that are not NUL-terminated: leading
// white space, an optional sign, digits up to the first other character, no digits giving 0, and
// saturation on overflow at the width of the original platform's long (32 bits).
class GxContentTextNumber
{
public:
    static int32_t ParseInt(std::string_view text);   // atoi
    static uint32_t ParseU32(std::string_view text);  // strtoul, base 10
    static int64_t ParseS64(std::string_view text);   // strtoll, base 10
    static uint64_t ParseU64(std::string_view text);  // strtoull, base 10
    static int32_t ParseHex(std::string_view text);   // strtol, base 16 ("0x" allowed)
    static double ParseDouble(std::string_view text); // atof

    static void AppendInt(std::string& out, int64_t value);   // "%d", "%I64d"
    static void AppendUInt(std::string& out, uint64_t value); // "%u", "%I64u"
    static void AppendFloat(std::string& out, double value);  // "%f"
    static void AppendTag(std::string& out, uint32_t tag);    // "%02x"
};
