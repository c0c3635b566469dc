#pragma once

#include <cstdint>
#include <string>
#include <vector>

class GxINIFile;

// Entries of the system configuration's string table: folders, default files, the system sounds,
// the title, the save-folder name and the quick-save file name.
enum GxSystemString : int
{
    SYSSTR_DEFAULT_RULE = 0, // default transition rule image
    SYSSTR_SCRIPT_DIR = 1,
    SYSSTR_CG_DIR = 2,
    SYSSTR_BG_DIR = 3,
    SYSSTR_EV_DIR = 4,
    SYSSTR_NAME_DIR = 5,
    SYSSTR_STAND_DIR = 6,
    SYSSTR_UI_DIR = 7,
    SYSSTR_TR_DIR = 8,
    SYSSTR_ERROR_IMAGE = 9,
    SYSSTR_DATA_DIR = 10,
    SYSSTR_GNC_DIR = 11,
    SYSSTR_GIS_DIR = 12,
    SYSSTR_UIGIS_DIR = 13,
    SYSSTR_FONT_DIR = 14,
    SYSSTR_MODEL_DIR = 15,
    SYSSTR_MODEL_TEXTURE_DIR = 16,
    SYSSTR_MODEL_EXTRA_DIR = 17,
    SYSSTR_BGM_DIR = 18,
    SYSSTR_SOUND_DIR = 19,
    SYSSTR_SYSSOUND_DIR = 20,
    SYSSTR_SE_DIR = 21,
    SYSSTR_BGV_DIR = 22,
    SYSSTR_VOICE_DIR = 23,
    SYSSTR_BATTLE_VOICE_DIR = 24,
    SYSSTR_MOVIE_DIR = 25,
    SYSSTR_SYSSOUND_FIRST = 26, // system sound n is entry 26 + n, n = 0..9
    SYSSTR_APP_TITLE = 36,
    SYSSTR_SAVE_DIR = 37,
    SYSSTR_QUICKSAVE_FILE = 38,
    SYSSTR_COUNT = 39
};

// Everything fixed for one run: the developer switches of "setting.ini", the product settings of
// "system/sysconf.ini" and built-in defaults no file overrides. Filled once at start-up, then read-only
// (except the debug-console switch, which a debug key toggles).
class GxSystemConfig
{
public:
    static constexpr int kFontSizes = 6;
    static constexpr int kFrontEndMusic = 4; // title, gallery, replay mode, extra
    static constexpr int kPackKeys = 31;     // "PACK_FILE_00" .. "PACK_FILE_30"

    GxSystemConfig();
    virtual ~GxSystemConfig();

    // Reads "system/sysconf.ini" and mounts the packs it names, in key order. False when the file
    // cannot be read; the defaults then stay and nothing is mounted.
    bool LoadSysConf();
    // Reads "setting.ini" when it exists loose or in a mounted pack. False when it does not or cannot
    // be read; the defaults then stay.
    bool LoadSetting();
    // The settings files are read before the logs have their place in the save folder: what was wrong
    // with them (an empty or garbled file, lines no setting reads) is kept and written to the error log
    // here, one line a file, once the logs are placed.
    void ReportLoadProblems() const;

    // The values of an already read "system/sysconf.ini" / "setting.ini".
    void ApplySysConf(const GxINIFile& ini);
    void ApplySetting(const GxINIFile& ini);
    // The packs a "system/sysconf.ini" names, in mount order (empty values skipped).
    static std::vector<std::wstring> GetPackNames(const GxINIFile& ini);

    // File names written without extension (GxSystemConfigResolve.cpp). Each leaves the path as it is and
    // answers true when a file of that name exists (loose or in a mounted pack); otherwise the first name
    // with an extension appended that exists replaces the path. False, with the path unchanged, when none
    // exists.
    static bool ResolveImagePath(std::wstring& path); // ".png", ".dds", ".tga", ".jpg", ".bmp"
    static bool ResolveSoundPath(std::wstring& path); // ".ogg", ".wav"
    static bool ResolveMoviePath(std::wstring& path); // ".mpg", ".avi"
    static bool ResolveGncPath(std::wstring& path);   // ".gnc"
    // Tries the voice folder of each character (DBAvgChar rows 1 to 79 whose VoicePath is neither empty
    // nor "*"): the folder followed directly by the name, then with ".ogg", then with ".wav". The first
    // that exists replaces the name and its character row is returned; 0 with the name unchanged when no
    // folder holds it.
    static int32_t ResolveVoicePath(std::wstring& name);

    const std::wstring& GetString(int id) const;
    const std::wstring& GetAppTitle() const { return m_Strings[SYSSTR_APP_TITLE]; }
    const std::wstring& GetSaveDirName() const { return m_Strings[SYSSTR_SAVE_DIR]; }
    const std::wstring& GetFontDir() const { return m_Strings[SYSSTR_FONT_DIR]; }
    const std::wstring& GetGncDir() const { return m_Strings[SYSSTR_GNC_DIR]; }
    const std::wstring& GetGisDir() const { return m_Strings[SYSSTR_GIS_DIR]; }

    // "setting.ini"
    bool m_DebugModeFlag = false;
    bool m_DebugConsoleFlag = false;
    bool m_AutoCompile = false;
    bool m_SaveToMyDocuments = true;
    std::wstring m_TextEditorCommand;
    bool m_SkipSlightError = true;
    bool m_CleanErrorLog = false;
    bool m_DisableMovie = false;
    bool m_ErrorStopNotFound_BGM = false;
    bool m_ErrorStopNotFound_BGV = false;
    bool m_ErrorStopNotFound_SE = false;
    bool m_ErrorStopNotFound_VO = false;
    bool m_ErrorStopNotFound_BG = false;
    bool m_ErrorStopNotFound_EV = false;

    // Built-in colours (ARGB).
    uint32_t m_MessageTextColor = 0xFFFFFFFF;
    uint32_t m_ReadTextColor = 0xFFAAEEFF;
    uint32_t m_MessageSecondColor = 0x80000000;
    uint32_t m_WidgetSecondColor = 0x80000000;
    uint32_t m_SpareColor0 = 0xFFFFFFFF;
    uint32_t m_ChoiceTextColor = 0xFFFFFFFF;
    uint32_t m_ChosenChoiceColor = 0xFFAAEEFF;
    uint32_t m_SpareColor1 = 0xFF808080;
    uint32_t m_ScreenFillColor = 0xFF000000;

    // Built-in effect times (ms).
    int32_t m_CharEffectTime = 800;
    int32_t m_PictureEffectTime = 1000;
    int32_t m_SequenceLeaveTime = 400;

    // Built-in text-layout characters.
    wchar_t m_RubyOpen = L'\u226A';
    wchar_t m_RubyClose = L'\u226B';
    wchar_t m_RubySeparator = L'\uFF0F';
    wchar_t m_WidgetLineBreak = L'|';
    std::wstring m_NameSplitChars;
    std::wstring m_LineStartProhibited;
    std::wstring m_LineEndProhibited;

    // "system/sysconf.ini"
    int32_t m_FontSize[kFontSizes] = {11, 15, 23, 24, 22, 38};

    int32_t m_ChoiceLimit = 10;
    int32_t m_MessageLogLimit = 100;
    int32_t m_BacklogPageSize = 5;

    std::wstring m_BGMName[kFrontEndMusic];
    int32_t m_BGMLoop[kFrontEndMusic] = {};
    std::wstring m_MovieOpening;
    std::wstring m_LabelExtra;
    std::wstring m_StrategyUIDir;

private:
    std::wstring m_Strings[SYSSTR_COUNT];

private:
    void NoteProblems(const wchar_t* path, const GxINIFile& ini);
    std::vector<std::wstring> m_LoadProblems;
};
