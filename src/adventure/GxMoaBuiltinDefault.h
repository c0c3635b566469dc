#pragma once

#include "script/GxMoaBuiltinBase.h"

#include <cstdint>
#include <string>

class GxMoaBuiltinCall;

// The engine's general-purpose script builtins, addressed by a fixed index from 1 to 108: value
// conversion, logging, file queries, string handling, clock and calendar, label jumps and returns, and
// arithmetic. Exactly 47 indices are builtins (1-17, 20-32, 64-71, 100-108); any other index fails and
// changes nothing. The adventure dispatcher derives from this class and hands it indices 1 to 299.
//
//   GxMoaBuiltinDefault.cpp      the index table, values, strings, files, jumps and returns, arithmetic
//   GxMoaBuiltinDefaultTime.cpp  locale, time zone, clock and calendar
class GxMoaBuiltinDefault : public GxMoaBuiltinBase
{
public:
    static constexpr int32_t kLastIndex = 108;

    bool Call(const std::wstring& name, int32_t index, GxMoaVariable& args, GxMoaWorker* worker, GxMoaScript* script,
              GxMoaExecStack& execStack, GxMoaVariable& result) override;

    // Whether the index is one of the 47 builtins of this class.
    static bool IsBuiltinIndex(int32_t index);

    // The locale identifier for a POSIX locale name ("ja_JP.UTF-8" and the like give 1041, Japanese;
    // anything else 1033, English (United States)).
    static int32_t LocaleIdFromName(const std::wstring& localeName);
    // The locale name the process's environment chooses for messages: LC_ALL, LC_MESSAGES, then LANG,
    // the first that is set and not empty.
    static std::wstring GetEnvironmentLocaleName();

    // Calendar fields of a calendar time in the local time zone (index 24 + field, field 0 the year to
    // 7 the day of the year); 0 for a time the local-time conversion cannot represent.
    static int64_t GetLocalTimeField(int64_t time, int32_t field);

private:
    static bool CallTime(GxMoaBuiltinCall& call);
};
