// Feeds arbitrary bytes to the adventure save-slot reader as a numbered slot and as the quick save (both
// are the same format): the slot-plate header, the full check the load screens run, and a load of the
// slot's own fields. Every read must end, refuse or take the file, never write outside its fields.
#include "FuzzSupport.h"
#include "appdata/GxSaveSlotHeader.h"
#include "appdata/GxUserData.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    static const FuzzScratchFile s_Slot("kv_fuzz_slot_", ".gd");
    if (!s_Slot.Write(data, size))
        return 0;
    const std::wstring path = s_Slot.WidePath();
    GxUserData slot(nullptr);
    GxSaveSlotHeader header;
    slot.ReadHeader(path, header);
    slot.CheckFile(path);
    slot.Load(path, false);
    return 0;
}
