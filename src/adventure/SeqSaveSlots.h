#pragma once

#include <cstdint>
#include <string>

class GxSaveSlotHeader;
class SeqSavePair;
class GxTaskManage;

// What the save, load and quick-load screens share about slots: numbering, the plates' geometry, the
// slot files' names, the checked load and the switch to the sequence a save recorded.
//
// Slots are numbered 1 to 80; page p (0..9) holds slots 8p + 1 to 8p + 8 and plate i (0..7) of the page
// shows slot 8p + i + 1. Plates 0..3 form the left column, 4..7 the right one, top to bottom.
class SeqSaveSlots
{
public:
    static constexpr int32_t kPlates = 8;
    static constexpr int32_t kPages = 10;
    // The user-dialog key of the "a file could not be read or written" notice (a lone OK).
    static constexpr const wchar_t* kFileErrorKey = L"FILEERROR";

    static int32_t SlotOf(int32_t page, int32_t plate) { return kPlates * page + plate + 1; }
    static void ThumbnailPos(int32_t plate, int32_t& x, int32_t& y);
    static void TipNewPos(int32_t plate, int32_t& x, int32_t& y);
    // The plate's first text line: the save time and number, or the empty-slot text.
    static std::wstring FirstLine(const GxSaveSlotHeader& header, int32_t slot);

    // The slot's files in the save folder ("gamedata%03d.gd", "zordata%03d.gd", "thumb%03d.png"); empty
    // without a save folder.
    static std::wstring SaveFolder();
    static std::wstring GameDataPath(int32_t slot);
    static std::wstring ZorDataPath(int32_t slot);
    static std::wstring ThumbnailPath(int32_t slot);

    // Loads a save pair. Both files are checked before anything of the running game is touched: a file
    // that is missing, cut short or corrupt is refused (logged, the player told) and the game goes on as
    // it was. Then the story and the strategy game are reset (the latter's campaign units and pools
    // too) and both files, already checked, are read: the adventure file with its scene first.
    // A save of the files cut short is completed or dropped first (SeqSavePair::Recover), thumbnail
    // included.
    static bool LoadGame(const SeqSavePair& files);
    static bool LoadGame(const std::wstring& gameDataPath, const std::wstring& zorDataPath);
    // Switches to the sequence the loaded save recorded; the strategy game's loader is entered with
    // param0 2 (it then resumes a loaded game rather than starting a new one).
    static bool ChangeToRestoreSequence(GxTaskManage* manage, const std::wstring& sequence);
    static uint32_t RestoreParam(const std::wstring& sequence) { return sequence == L"SeqZorLoader" ? 2u : 0u; }
    // The lone-OK user dialog with the message, under kFileErrorKey.
    static void TellPlayer(GxTaskManage* manage, const wchar_t* message);
    // What the player is told when the story's program could not be read, naming its file; the title and
    // the loads say this in place of blaming a save.
    static std::wstring UnreadableProgramNotice();
};
