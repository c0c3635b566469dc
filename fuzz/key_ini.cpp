// Feeds arbitrary bytes to the key-assignment reader as "key.ini", from the file and from memory: every
// assignment must stay inside its range (a key code 0..255, a button 0..127) whatever the file says. A
// device type outside 0..2 is no device, which the input layer reads as nothing held.
#include "FuzzSupport.h"
#include "core/GxKeyAssignment.h"

#include <cstdint>
#include <cstdlib>

namespace
{
void Check(const GxKeyAssignment& keys)
{
    for (int c = 0; c < GxKeyAssignment::kColumns; ++c)
    {
        for (int32_t code : {keys.m_Up[c], keys.m_Down[c], keys.m_Right[c], keys.m_Left[c]})
            if (code < 0 || code >= GxKeyAssignment::kKeyCodes)
                std::abort();
        for (int b = 0; b < GxKeyAssignment::kButtons; ++b)
        {
            if (keys.m_Button[c][b] < 0 || keys.m_Button[c][b] >= GxKeyAssignment::kKeyCodes)
                std::abort();
            if (keys.m_PadButton[c][b] < 0 || keys.m_PadButton[c][b] >= GxKeyAssignment::kPadButtons)
                std::abort();
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    static const FuzzScratchFile s_File("kv_fuzz_key_", ".ini");
    GxKeyAssignment memory;
    memory.Parse(reinterpret_cast<const char*>(data), size);
    Check(memory);
    if (!s_File.Write(data, size))
        return 0;
    GxKeyAssignment file;
    file.Load(s_File.Path().c_str());
    Check(file);
    return 0;
}
