#include "script/GxMoaHost.h"

#include "core/GxBinBuffer.h"
#include "core/GxContentBinaryReader.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "platform/PfFileSystem.h"
#include "platform/PfProcess.h"
#include "script/GxMoaBuiltinBase.h"
#include "script/GxMoaEx.h"
#include "script/GxMoaWorkerEx.h"

#include <filesystem>
#include <vector>

GxMoaEx* g_MoaInstance = nullptr;
GxMoaWorkerEx* g_MoaMainWorker = nullptr;
GxMoaBuiltinBase* g_MoaBuiltin = nullptr;
GxMoaBuiltinCreator g_MoaBuiltinCreator = nullptr;

static bool s_MoaCodeUnreadable = false;

void CreateMoa(GxCore* core)
{
    DestroyMoa();
    s_MoaCodeUnreadable = false;
    g_MoaInstance = new GxMoaEx();
    g_MoaMainWorker = new GxMoaWorkerEx(g_MoaInstance, core);
    g_MoaBuiltin = g_MoaBuiltinCreator ? g_MoaBuiltinCreator(core) : nullptr;
    if (!g_MoaBuiltin)
        g_MoaBuiltin = new GxMoaBuiltinBase();
}

void DestroyMoa()
{
    delete g_MoaBuiltin;
    g_MoaBuiltin = nullptr;
    delete g_MoaMainWorker;
    g_MoaMainWorker = nullptr;
    delete g_MoaInstance;
    g_MoaInstance = nullptr;
    s_MoaCodeUnreadable = false;
}

int CompileScripts(const std::wstring& compilerName)
{
    const std::string current = PfFileSystem::GetCurrentFolder();
    const bool noFolder = current.empty();
    std::filesystem::path cwd(current);
    std::filesystem::path compiler(GxString::ToUtf8(compilerName));
    if (!compiler.is_absolute())
        compiler = cwd / compiler;
    std::string base = cwd.generic_string();
    if (base.empty() || base.back() != '/')
        base += '/';

    std::vector<std::string> args = {compiler.lexically_normal().string(), base + "scripts", base + "bincode", "-a",
                                     "-mc"};
    int exitCode = -1;
    if (noFolder || !PfProcess::Run(args, exitCode))
    {
        GxLog::Error(L"スクリプトコンパイラの起動に失敗しました\n");
        return 1;
    }
    // A compiler that did not exit by itself (killed by a signal) counts as a failed compile.
    const int code = exitCode >= 0 ? exitCode : 1;
    if (code != 0)
    {
        GxLog::Error(L"コンパイル時にエラーが発生したため古いスクリプトを実行しています\n");
        return code;
    }
    return 0;
}

bool LoadMoaCode(const std::wstring& path)
{
    if (!g_MoaInstance)
        return false;
    GxBinBuffer buffer;
    // A missing or unreadable file has been named by the file layer; an empty one reads without error
    // and is named here like a cut one.
    const bool read = GxFile::LoadToBuffer(buffer, path, false);
    bool ok = read && buffer.GetSize() > 0;
    if (ok)
    {
        GxContentBinaryReader* reader = new GxContentBinaryReader(buffer.GetData(), buffer.GetSize());
        ok = g_MoaInstance->Read(reader);
        delete reader;
    }
    if (read && !ok)
        GxLog::Error(L"LoadMoaCode/スクリプトプログラムが壊れているため読み込めません(%s)\n", path.c_str());
    s_MoaCodeUnreadable = !ok;
    // After a failure the runtime is empty, so this leaves no EXTERN, GLOBAL or STATIC variable.
    g_MoaInstance->CreateExternVariables();
    if (g_MoaMainWorker)
        g_MoaMainWorker->CreateGlobalVariables();
    buffer.Free();
    return ok;
}

bool IsMoaCodeUnreadable()
{
    return s_MoaCodeUnreadable;
}
