#include "appdata/GxSystemConfig.h"

#include "core/GxFile.h"
#include "core/GxINIFile.h"
#include "core/GxLog.h"
#include "core/GxString.h"

static const wchar_t* const kSysConfPath = L"system/sysconf.ini";
static const wchar_t* const kSettingPath = L"setting.ini";

// Front-end music keys, in the order of the music table.
static const wchar_t* const kBGMNameKeys[GxSystemConfig::kFrontEndMusic] = {L"BGM_NAME_TITLE", L"BGM_NAME_CGMODE",
                                                                            L"BGM_NAME_RPMODE", L"BGM_NAME_EXTRA"};
static const wchar_t* const kBGMLoopKeys[GxSystemConfig::kFrontEndMusic] = {L"BGM_LOOP_TITLE", L"BGM_LOOP_CGMODE",
                                                                            L"BGM_LOOP_RPMODE", L"BGM_LOOP_EXTRA"};

static const wchar_t* const kDefaultStrings[SYSSTR_COUNT] = {
    L"フェード.png",
    L"scripts/",
    L"cg/",
    L"cg/bg/",
    L"cg/ev/",
    L"cg/name/",
    L"cg/stand/",
    L"cg/ui/",
    L"cg/tr/",
    L"cg/error.png",
    L"data/",
    L"gnc/",
    L"gnc/gis/",
    L"uigis/",
    L"fonts/",
    L"models/",
    L"models/textures/",
    L"models/extras/",
    L"bgms/",
    L"sounds/",
    L"sounds/sys/",
    L"sounds/se/",
    L"sounds/bgvs/",
    L"voices/",
    L"voices/battle/",
    L"movies/",
    L"sounds/sys/push.wav",
    L"sounds/sys/cancel.wav",
    L"sounds/sys/open.wav",
    L"sounds/sys/close.wav",
    L"sounds/sys/drop.wav",
    L"sounds/sys/decide.wav",
    L"",
    L"",
    L"",
    L"",
    L"Kestrelvane",
    L"Kestrelvane_SAVE",
    L"gamedata_quick.gd",
};

GxSystemConfig::GxSystemConfig()
    : m_NameSplitChars(L"「（"),
      m_LineStartProhibited(L"!),.:;?]}°’”‰′″℃、。々〉》」』】〕゛゜ゝゞ・ヽヾ！），．：；？］｝｡｣､･ﾞﾟ"),
      m_LineEndProhibited(L"‘“〈《「『【〔（［｛｢"), m_StrategyUIDir(L"cg/uizor/")
{
    for (int i = 0; i < SYSSTR_COUNT; ++i)
        m_Strings[i] = kDefaultStrings[i];
}

GxSystemConfig::~GxSystemConfig() = default;

const std::wstring& GxSystemConfig::GetString(int id) const
{
    static const std::wstring s_Empty;
    if (id < 0 || id >= SYSSTR_COUNT)
        return s_Empty;
    return m_Strings[id];
}

void GxSystemConfig::ApplySysConf(const GxINIFile& ini)
{
    m_Strings[SYSSTR_APP_TITLE] = ini.GetString(L"APP_TITLE", L"Kestrelvane");
    m_Strings[SYSSTR_SAVE_DIR] = ini.GetString(L"APP_SAVEDIR", L"Kestrelvane_SAVE");
    static const int32_t kDefaultFontSize[kFontSizes] = {11, 15, 23, 24, 22, 38};
    for (int i = 0; i < kFontSizes; ++i)
        m_FontSize[i] = ini.GetInt(GxString::Format(L"FONTSIZE_%d", i), kDefaultFontSize[i]);
    for (int i = 0; i < kFrontEndMusic; ++i)
    {
        m_BGMName[i] = ini.GetString(kBGMNameKeys[i], L"");
        m_BGMLoop[i] = ini.GetInt(kBGMLoopKeys[i], 0);
    }
    m_MovieOpening = ini.GetString(L"MOV_NAME_OPENING", L"");
    m_LabelExtra = ini.GetString(L"LABEL_NAME_EXTRA", L"");
}

std::vector<std::wstring> GxSystemConfig::GetPackNames(const GxINIFile& ini)
{
    std::vector<std::wstring> names;
    for (int n = 0; n < kPackKeys; ++n)
    {
        std::wstring name = ini.GetString(GxString::Format(L"PACK_FILE_%02d", n), L"");
        if (!name.empty())
            names.push_back(std::move(name));
    }
    return names;
}

void GxSystemConfig::ApplySetting(const GxINIFile& ini)
{
    m_DebugModeFlag = ini.GetBool(L"DebugModeFlag", false);
    m_DebugConsoleFlag = ini.GetBool(L"DebugConsoleFlag", false);
    m_AutoCompile = ini.GetBool(L"AutoCompile", false);
    m_SaveToMyDocuments = ini.GetBool(L"SaveToMyDocuments", true);
    m_TextEditorCommand = ini.GetString(L"TextEditorCommand", L"");
    m_SkipSlightError = ini.GetBool(L"SkipSlightError", true);
    m_CleanErrorLog = ini.GetBool(L"CleanErrorLog", false);
    m_DisableMovie = ini.GetBool(L"DisableMovie", false);
    m_ErrorStopNotFound_BGM = ini.GetBool(L"ErrorStopNotFound_BGM", false);
    m_ErrorStopNotFound_BGV = ini.GetBool(L"ErrorStopNotFound_BGV", false);
    m_ErrorStopNotFound_SE = ini.GetBool(L"ErrorStopNotFound_SE", false);
    m_ErrorStopNotFound_VO = ini.GetBool(L"ErrorStopNotFound_VO", false);
    m_ErrorStopNotFound_BG = ini.GetBool(L"ErrorStopNotFound_BG", false);
    m_ErrorStopNotFound_EV = ini.GetBool(L"ErrorStopNotFound_EV", false);
}

bool GxSystemConfig::LoadSysConf()
{
    // Without the file the defaults stand, as a game without one intends.
    if (!GxFile::Exists(kSysConfPath))
        return false;
    GxINIFile ini;
    if (!ini.Load(kSysConfPath))
        return false;
    ApplySysConf(ini);
    // Each pack is mounted as soon as its key is read, so earlier packs are searched first.
    for (const std::wstring& pack : GetPackNames(ini))
        GxFile::MountPack(pack);
    NoteProblems(kSysConfPath, ini);
    return true;
}

bool GxSystemConfig::LoadSetting()
{
    if (!GxFile::Exists(kSettingPath))
        return false;
    GxINIFile ini;
    if (!ini.Load(kSettingPath))
        return false;
    ApplySetting(ini);
    NoteProblems(kSettingPath, ini);
    return true;
}

void GxSystemConfig::NoteProblems(const wchar_t* path, const GxINIFile& ini)
{
    const std::wstring problems = ini.DescribeProblems();
    if (!problems.empty())
        m_LoadProblems.push_back(GxString::Format(L"GxSystemConfig/%s: %s\n", path, problems.c_str()));
}

void GxSystemConfig::ReportLoadProblems() const
{
    for (const std::wstring& line : m_LoadProblems)
        GxLog::Error(L"%s", line.c_str());
}
