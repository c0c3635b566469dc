#pragma once

#include <cstdint>
#include <string>

class GxContentReaderBase;
class GxContentWriterBase;

// The player's options, kept in "userconf.dat" in the save folder (binary form only, root "BCD").
class GxUserConfig
{
public:
    static constexpr int kVoiceVolumeCount = 32;

    GxUserConfig();
    virtual ~GxUserConfig();

    // Every option but the save page and the last slot, which only the construction sets: the
    // configuration screen's "defaults" keeps them.
    void SetDefault();
    // Writes the options through the atomic writer; false (logged) keeps the old file. False without
    // writing for the file Load left alone.
    bool Save(const std::wstring& path);
    // Checks the whole file before taking anything: on false every field keeps its value. Percentages
    // are clamped to 0..100 and the window opacity to 0..255, so a damaged value cannot reach the sound
    // or drawing code. A damaged file is kept aside (GxUserFile::KeepAside); one that is there but
    // cannot be read, or kept aside, is the player's and is left alone: this object never writes over
    // it, and the run goes on with the fields as they were.
    bool Load(const std::wstring& path);
    // Whether Load has run and the player's file is either read or free to be written (none there: a
    // first run; a damaged one kept aside). Until then the fields are not the player's, and the
    // shut-down does not write them over the player's file.
    bool IsLoaded() const { return m_Loaded; }

    // The record after the header, in file order.
    void Write(GxContentWriterBase& writer) const;
    // Reads the record into this object; true when the reader reported no error.
    bool Read(GxContentReaderBase& reader);

    // Attenuations for the sound channels, in hundredths of a decibel, 0 (full) down to -9600.
    // A level L (percent, clamped to 0..100) gives -96 x truncate(100 - 100 x (L / 100)^0.25).
    static int32_t LevelToAttenuation(int32_t level);
    // The music with the restrain blend of g_BGMRestrainFactor.
    int32_t GetBGMVolume() const;
    int32_t GetBGVVolume(bool silent) const;
    int32_t GetSoundVolume() const;
    int32_t GetMovieVolume() const;
    // Through the character's voice-volume id in DBAvgChar (an unknown character reads as row 0).
    int32_t GetCharVoiceVolume(int32_t charID) const;
    // An id outside 0..31 reads as 0.
    int32_t GetVoiceVolume(int32_t voiceVolumeID) const;

    int32_t m_ScreenMode = 0; // index of the screen mode, 0 = window
    int32_t m_TextWaitTime = 60;
    int32_t m_TextLongWaitTime = 480;
    int32_t m_AutoWaitTime = 3000; // ms
    int32_t m_TextWindowOpacity = 255;
    bool m_AllowSkipUnreadText = false;
    bool m_FastShowReadedText = true;
    bool m_ChangeColorReadedText = true;
    bool m_ChangeColorSelectedMenu = true;
    bool m_KeepAutoModeAfterSelect = false;
    bool m_KeepSkipModeAfterSelect = false;
    bool m_StopScreenSaver = true;
    bool m_VoiceStopTiming = false;
    bool m_WaitVoiceEndOnAutoMode = true;
    int32_t m_GameDataPage = 0;
    int32_t m_LastGameDataFileNum = -1; // -1: no slot used yet
    // Volumes in percent.
    int32_t m_Volume_Master = 100;
    int32_t m_Volume_BGM = 80;
    int32_t m_Volume_BGV = 100;
    int32_t m_Volume_System = 100;
    int32_t m_Volume_Sound = 100;
    int32_t m_Volume_Movie = 100;
    int32_t m_Volume_RestrainBGM = 100;
    int32_t m_Volume_VoiceMaster = 100;
    int32_t m_Volume_Voice[kVoiceVolumeCount];
    bool m_Game_SkipBattleEffect = false;
    bool m_Game_SkipSpecialAttackEffect = false;
    bool m_Game_SkipBattleVoice = false;
    int32_t m_Game_MapScrollSpeed_ScreenEdge = 50;
    int32_t m_Game_MapScrollSpeed_CursorKey = 50;

private:
    void Clamp();

    bool m_Loaded = false;
    std::wstring m_LeftAlone; // the file Load could neither read nor keep aside
};
