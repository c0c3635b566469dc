// Feeds arbitrary bytes to the adventure save-slot reader as a numbered slot and as the quick save (both
// are the same format): the slot-plate header, the full check the load screens run, a load of the slot's
// own fields, and the whole load a player's click triggers: on top of the adventure scene and a running
// script, the script records, the sound records and every layer, window and choice button of the scene.
// Every read must end, refuse or take the file, never write outside its fields; a load that is refused
// must leave the scene as it was, and the scene is put back to its first state after a load that took.
#include "AdventureSlotScene.h"
#include "FuzzSupport.h"
#include "appdata/GxSaveSlotHeader.h"
#include "appdata/GxUserData.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{
std::string Dump(const GxUserData& data)
{
    std::string bytes;
    std::wstring missing;
    if (!data.WriteToMemory(bytes, true, missing))
        std::abort(); // the scene has every task a slot names
    return bytes;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    static const FuzzScratchFile s_Slot("kv_fuzz_slot_", ".gd");
    static AdventureSlotScene* s_Scene = new AdventureSlotScene();
    static GxUserData* s_Live = new GxUserData(&s_Scene->Core());
    static const std::string s_First = Dump(*s_Live);
    const std::string before = Dump(*s_Live);
    if (!s_Slot.Write(data, size))
        return 0;
    const std::wstring path = s_Slot.WidePath();
    GxUserData slot(nullptr);
    GxSaveSlotHeader header;
    slot.ReadHeader(path, header);
    slot.CheckFile(path);
    slot.Load(path, false);

    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (s_Live->LoadBytes(bytes, path, true))
    {
        if (!s_Live->LoadBytes(s_First, path, true))
            std::abort(); // the scene's own first state must load back
    }
    else if (Dump(*s_Live) != before)
        std::abort(); // a refused load changed the scene
    return 0;
}
