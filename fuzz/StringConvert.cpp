// Byte input through every text conversion: CP932, UTF-8 and UTF-16LE readers, and back out again.
// Round trips must hold where the forms are exact: wide -> UTF-8 -> wide, and UTF-16 -> wide -> UTF-16.
#include "core/GxString.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::wstring fromCp932 = GxString::ToWide(bytes);
    std::string backToCp932 = GxString::ToMultiByte(fromCp932);
    (void)backToCp932;

    std::wstring fromUtf8 = GxString::FromUtf8(bytes);
    if (GxString::FromUtf8(GxString::ToUtf8(fromUtf8)) != fromUtf8)
        std::abort();

    std::wstring fromUtf16 = GxString::FromUtf16LE(data, size);
    std::string utf16 = GxString::ToUtf16LE(fromUtf16);
    if (GxString::FromUtf16LE(utf16.data(), utf16.size()) != fromUtf16)
        std::abort();
    if (GxString::CountUtf16Units(fromUtf16) * 2 != utf16.size())
        std::abort();

    // The text of a format argument of any content.
    std::wstring formatted = GxString::Format(L"%s|%S|%.5s", fromUtf8.c_str(), bytes.c_str(), fromCp932.c_str());
    (void)formatted;
    return 0;
}
