#pragma once

#include <cstddef>
#include <string>

// The ANSI code page CP932 through the system's iconv, never through the process locale. Each thread
// keeps its own conversion state.
class PfCodePage
{
public:
    // CP932 bytes as wide text. A byte or pair CP932 does not define (or a lead byte at the very end)
    // becomes U+30FB, the code page's default character, and the conversion goes on with the next byte.
    // Empty when the system has no CP932.
    static std::wstring Cp932ToWide(const char* bytes, size_t size);
    // Wide text as CP932; a character CP932 cannot hold becomes '?'. Empty when the system has no CP932.
    static std::string WideToCp932(const wchar_t* wide, size_t count);
};
