#pragma once

#include "appdata/GxMessageLogElement.h"
#include "appdata/GxSelectMenuItem.h"
#include "appdata/GxSoundChannelRecord.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

class GxContentReaderBase;
class GxContentWriterBase;
class GxCore;
class GxSaveSlotHeader;

// The adventure state that a save slot captures: the slot's header, the choice being offered, the holds
// that stop the script, the speaker-name mode, the message log and the sound-channel records. Its file
// ("gamedata%03d.gd", the quick save) adds the script's saved state and the saved state of the adventure
// screen's layers, windows and choice buttons, found by name in the task tree.
//
//   GxUserData.cpp      the model: reset, choices, message log, leaving and resetting the adventure
//   GxUserDataFile.cpp  the save file: writing, checking, loading with a snapshot to fall back on
class GxUserData
{
public:
    explicit GxUserData(GxCore* core);
    virtual ~GxUserData();

    void Reset();
    void ResetSelectMenu();
    void ClearVoiceRecords();
    void AddMessageLog(const std::wstring& name, const std::wstring& message, bool ignoreKinsoku,
                       bool disableAutoNewline);
    void SetGameDataTitle(const std::wstring& text) { m_GameDataTitle = text; }
    void SetRestoreSequence(const std::wstring& name) { m_RestoreSequence = name; }
    std::wstring GetRestoreSequence() const { return m_RestoreSequence; }
    // Leaves the story for a clean scene (new game, load, replay).
    void ResetAdventure(bool stopBGM);
    // Suspends the story for the strategy screens: the music, log, choice and script stay.
    void LeaveAdventure();

    // Writes the slot through the atomic writer. False (logged) when a layer or window the file names is
    // missing or the file cannot be written; the old file then stays. Missing choice buttons (a game whose
    // UI table has none) leave their records out with a log line, and the save goes on.
    bool Save(const std::wstring& path, bool binary);
    // Saves a slot together with its strategy file (strategyBytes, already built) as one pair: both are
    // written before either replaces its old file, so a failure or a crash leaves the old pair whole
    // (GxUserDataPair). An empty strategyPath saves the slot alone.
    bool SavePair(const std::wstring& path, bool binary, const std::wstring& strategyPath,
                  const std::string& strategyBytes);
    // The slot's bytes as Save writes them, with Save's log lines; false when the scene lacks a layer or
    // window.
    bool WriteSlot(std::string& bytes, bool binary, const std::wstring& path);
    // Reads a slot of either form. The whole file is checked first; with restoreScene the script, the
    // sound records and the scene are read too, and when any of that fails what it replaced is put back
    // from a snapshot. On false nothing has changed. A restored scene's message and name windows take
    // the player's present window opacity, and the message on its page counts as read.
    bool Load(const std::wstring& path, bool restoreScene);
    // Items 1 and 2 only, for the slot plates; changes nothing else.
    bool ReadHeader(const std::wstring& path, GxSaveSlotHeader& header);
    // The checks of Load without taking anything: the load screens run it before their reset.
    bool CheckFile(const std::wstring& path);
    // Load and CheckFile over a slot already read into memory (path only names it in log lines), so a
    // load can check and then apply the very bytes it checked.
    bool LoadBytes(const std::string& bytes, const std::wstring& path, bool restoreScene);
    bool CheckBytes(const std::string& bytes, const std::wstring& path);

    // The record into memory as Save writes it; false when the scene lacks a task the file names (its
    // name in missing). The first choice button missing, whose record is left out, is named in skipped.
    bool WriteToMemory(std::string& bytes, bool binary, std::wstring& missing, std::wstring* skipped = nullptr) const;

    // The save time written into files; tests fix it, the game leaves it to the clock.
    static std::wstring (*s_SaveTimeSource)();

    int32_t GetChoiceLimit() const;
    int32_t GetMessageLogLimit() const;

    GxCore* m_Core;
    std::wstring m_GameDataTitle;
    std::wstring m_RestoreSequence;
    std::wstring m_RestoreSubParam;
    bool m_IsSelecting = false;
    int32_t m_LastSelectNum = 0;
    int32_t m_CancelSelectNum = 0;
    std::wstring m_SelectHash;
    std::vector<GxSelectMenuItem> m_SelectMenuItemList; // always the choice limit + 1 entries
    int32_t m_Hold_WaitClick = 0;
    int32_t m_Hold_WaitTime = 0;
    int32_t m_Hold_WaitTime_TimeLeft = 0;
    int32_t m_Hold_EndOfMovie = 0;
    int32_t m_Hold_EndOfLayerActionAll = 0;
    int32_t m_Hold_EndOfLayerActionSeparate = 0;
    std::wstring m_Hold_EndOfLayerActionSeparate_LayerName;
    int32_t m_Hold_EndOfBGM = 0;
    int32_t m_Hold_EndOfBGV = 0;
    int32_t m_Hold_EndOfSE = 0;
    int32_t m_Hold_EndOfVoice = 0;
    int32_t m_NameIdentifyMode = 2;
    bool m_IgnoreKinsoku = false;
    int32_t m_LastDialogResult = 0;
    std::deque<GxMessageLogElement> m_MessageLog; // oldest first
    bool m_ReplayMode = false;                    // not saved
    bool m_HideWindowByCommandFlag = false;

    // Sound-channel records: the music, the background voice, SE slots 0..3, voice slots 0..3.
    GxSoundChannelRecord m_BGMRecord;
    GxSoundChannelRecord m_BGVRecord;
    GxSoundChannelRecord m_SERecord[4];
    GxSoundChannelRecord m_VoiceRecord[4];

private:
    // Items 1 to 7 of the file.
    void WritePlain(GxContentWriterBase& writer) const;
    bool ReadPlain(GxContentReaderBase& reader, std::wstring* saveTime);
    // Takes items 1 to 7 from a checked scratch copy.
    void TakePlain(GxUserData& scratch);
    // Checks a slot read into bytes: the header, items 1 to 7 read into scratch, a walk over the rest to the
    // data's end. The reader (over bytes) stands after item 7; null after the log line.
    std::unique_ptr<GxContentReaderBase> OpenSlot(const std::wstring& path, const std::string& bytes, GxUserData& scratch,
                                                  const wchar_t* owner);

    // The ten sound-channel records, in file order BGM, BGV, SE 0..3, voice 0..3. Before a save the
    // records of ended sounds (not the voices) are emptied; after a restoring load every channel is
    // stopped and the music, the background voice and the effects restart from the records taken.
    void EmptyEndedSoundRecords();
    void WriteSoundRecords(GxContentWriterBase& writer) const;
    bool ReadSoundRecords(GxContentReaderBase& reader);
    void TakeSoundRecords(GxUserData& scratch);
    void RestartSounds();
    // The choice buttons' text colours after a restoring load.
    void ColourSelectButtons() const;
    // Voice record i's file and character for a log entry.
    void GetVoiceRecord(int slot, std::wstring& fileName, int32_t& charID) const;
};
