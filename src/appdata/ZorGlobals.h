#pragma once

#include <cstdint>
#include <string>

// Names of the strategy game's facilities, units, enemy parties, towns and commands turned into table
// rows. Each answers the first row whose Name equals the name exactly, or 0, the "none" row, after a
// log line (enemy parties log nothing).
class ZorGlobals
{
public:
    static int32_t FindStruct(const std::wstring& name);
    static int32_t FindUnit(const std::wstring& name);
    static int32_t FindEnemy(const std::wstring& name);
    static int32_t FindTown(const std::wstring& name);
    static int32_t FindCommand(const std::wstring& name);
};
