#include "adventure/GxDebugKeys.h"

#include "adventure/GxMoaDumpFile.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxTextEditor.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "core/GxPath.h"
#include "core/GxString.h"
#include "core/GxTime.h"
#include "script/GxMoa.h"
#include "script/GxMoaEx.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorkerEx.h"
#include "task/GxTaskManage.h"

namespace
{
constexpr const wchar_t* kWorkerDumpName = L"vardump.txt";
constexpr const wchar_t* kRuntimeDumpName = L"vardump_extern.txt";
} // namespace

bool GxDebugKeys::OnKey(GxCore* core, uint32_t key)
{
    GxSystemConfig* config = core ? core->m_SystemConfig : nullptr;
    if (config == nullptr || !config->m_DebugModeFlag)
        return false;
    switch (key)
    {
    case kKeyF1:
        WriteWorkerDump(core, g_MoaMainWorker);
        break;
    case kKeyF2:
        WriteRuntimeDump(core, g_MoaInstance);
        break;
    case kKeyF8:
        config->m_DebugConsoleFlag = !config->m_DebugConsoleFlag;
        break;
    case kKeyF11:
    {
        std::wstring path;
        int32_t line = 1;
        if (!GetEditorTarget(config, g_MoaMainWorker, g_MoaInstance, path, line))
            break;
        // The editor's own failures are its to report.
        if (config->m_TextEditorCommand.empty())
            GxTextEditor::OpenFileAtLine(path, line);
        else
            GxTextEditor::RunTemplate(config->m_TextEditorCommand, path, line); // a path with blanks stays whole
        break;
    }
    default:
        break;
    }
    return false;
}

std::wstring GxDebugKeys::DumpHeader(const GxTaskManage* tasks, int64_t time)
{
    const std::wstring name = tasks ? tasks->GetCurrentSequenceName() : std::wstring();
    const int32_t param0 = tasks ? static_cast<int32_t>(tasks->GetCurrentParam(0)) : 0;
    const int32_t param1 = tasks ? static_cast<int32_t>(tasks->GetCurrentParam(1)) : 0;
    return GxString::Format(L"Sequence:%s(%d,%d):%s\n", name.c_str(), param0, param1,
                            GxTime::FormatDateTime(time).c_str());
}

bool GxDebugKeys::WriteWorkerDump(GxCore* core, const GxMoaWorker* worker)
{
    if (core == nullptr)
        return false;
    const std::wstring path = core->m_SavePath + kWorkerDumpName;
    std::wstring text = DumpHeader(core->m_TaskManage, GxTime::GetNow());
    if (worker)
        worker->Dump(text, 0);
    if (!GxMoaDumpFile::Write(path, text))
        return false;
    GxLog::Debug(L"%sに通常変数をダンプしました\n", path.c_str());
    return true;
}

bool GxDebugKeys::WriteRuntimeDump(GxCore* core, const GxMoa* moa)
{
    if (core == nullptr)
        return false;
    const std::wstring path = core->m_SavePath + kRuntimeDumpName;
    std::wstring text = DumpHeader(core->m_TaskManage, GxTime::GetNow());
    if (moa)
        moa->Dump(text, 0);
    if (!GxMoaDumpFile::Write(path, text))
        return false;
    GxLog::Debug(L"%sに永続&広域変数をダンプしました\n", path.c_str());
    return true;
}

bool GxDebugKeys::GetEditorTarget(const GxSystemConfig* config, const GxMoaWorker* worker, const GxMoa* moa,
                                  std::wstring& path, int32_t& line)
{
    if (worker == nullptr)
        return false;
    const std::wstring script = worker->GetCurrentScriptName();
    if (script.empty())
        return false;
    const std::wstring folder = config ? config->GetString(SYSSTR_SCRIPT_DIR) : std::wstring(L"scripts/");
    path = GxPath::GetFullPath(folder + script);
    line = worker->GetCurrentLine();
    if (line < 1)
        line = 1;
    // After an error halt the worker still names the line before the one that failed.
    if (moa && moa->m_ErrorStop)
        ++line;
    return true;
}

bool GxDebugKeys::ShouldDrawOverlay(const GxSystemConfig* config, const GxMoa* moa)
{
    if (config && config->m_DebugConsoleFlag)
        return true;
    const bool halted = moa && moa->m_ErrorStop;
    return GxLog::GetErrorCount() > 0 && (!(config && config->m_SkipSlightError) || halted);
}
