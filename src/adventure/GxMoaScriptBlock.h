#pragma once

#include <string>
#include <vector>

class GxMoaBuiltinCall;

// The block of lines a builtin reads after its call ("text" ... "endtext", "stand" ... "endstand"): it is
// read from the calling worker's run position, which is moved past it so the worker goes on after the
// block.
class GxMoaScriptBlock
{
public:
    // Bare words, strings and text lines are taken as lines; command starts and line ends are passed over;
    // the builtin-name token endWord moves the position to the next line and ends the block, as does the
    // end of the script. Any other token (a builtin name among them, which would never advance) is
    // refused: false with its description in refused; the position then stands on it.
    static bool Read(GxMoaBuiltinCall& call, const wchar_t* endWord, std::vector<std::wstring>& lines,
                     std::wstring& refused);
};
