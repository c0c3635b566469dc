#pragma once

#include <cstdint>
#include <string>

class GxBit32;
class GxMoaVariable;

// The bodies of the strategy game's "zor_" script builtins. The script's builtin dispatcher hands a
// "zor_" name with its argument (one Array value, element i argument i) and its result value to Call.
// Integer results are stored as 64-bit integers, strings as strings; builtins without a result leave
// it alone. Every builtin succeeds except those keyed by a name that no table row holds, a reinforcement
// class outside 0..23, and names that are no "zor_" builtin.
class ZorScriptBuiltins
{
public:
    // False for an unknown name (the dispatcher's answer) or a failing builtin.
    static bool Call(const std::wstring& name, GxMoaVariable& args, GxMoaVariable& result);
    static bool IsBuiltin(const std::wstring& name);
    static int32_t GetCount();

    // The permanent-progress flag word the builtins set bits in (start-up gives GxUserDataPerman's
    // m_ExtraOption; null keeps a word of their own), and the save folder (with its trailing separator)
    // of the take-over file.
    static void SetExtraOption(GxBit32* word);
    static GxBit32* GetExtraOption();
    static void SetSaveFolder(const std::wstring& folder);
    static const std::wstring& GetSaveFolder();
};
