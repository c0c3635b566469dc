#include "core/GxLog.h"

#include "core/GxDebugListenerBase.h"
#include "core/GxDebugWindow.h"
#include "core/GxString.h"
#include "platform/PfFileSystem.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace
{

enum LogKind
{
    kLogError,
    kLogDebug,
    kLogDevice,
    kLogCount
};

// Process-wide state. The paths are set on the main thread but read by any thread that logs, so they
// sit behind a lock; the count, the console and the switch are atomics.
struct LogState
{
    std::mutex pathLock;
    std::wstring paths[kLogCount] = {L"error.log", L"debug.log", L"device.log"};
    // Serialises the appends so two threads never both see a new file and both write the mark, and
    // one line is never split by another.
    std::mutex writeLock;
};

LogState& State()
{
    static LogState* s_State = new LogState(); // never destroyed: logging works during static shut-down
    return *s_State;
}

std::atomic<uint32_t> g_ErrorCount{0};
std::atomic<GxDebugListenerBase*> g_Console{nullptr};
std::atomic<bool> g_SkipSlightError{false};

std::wstring GetPath(LogKind kind)
{
    LogState& state = State();
    std::lock_guard<std::mutex> guard(state.pathLock);
    return state.paths[kind];
}

void SetPath(LogKind kind, const std::wstring& path)
{
    LogState& state = State();
    std::lock_guard<std::mutex> guard(state.pathLock);
    state.paths[kind] = path;
}

bool AppendBytes(const std::wstring& path, const std::string& bytes, bool markNewFile)
{
    std::string native = GxString::ToUtf8(path);
    if (native.empty())
        return false;
    std::lock_guard<std::mutex> guard(State().writeLock);
    int fd = PfFileSystem::OpenWrite(native, PfFileSystem::WriteMode::Append);
    if (fd < 0)
        return false;
    std::string out;
    PfFileInfo info;
    if (markNewFile && PfFileSystem::GetInfo(fd, info) && info.m_Size == 0)
        out = "\xFF\xFE";
    out += bytes;
    bool ok = PfFileSystem::WriteAll(fd, out.data(), out.size());
    ok = PfFileSystem::Close(fd) && ok;
    return ok;
}

void Echo(const std::wstring& text, int kind)
{
    GxDebugListenerBase* console = g_Console.load();
    if (console != nullptr)
        console->OnOutput(text.c_str(), kind);
}

void CountedWrite(const std::wstring& text, int echoKind)
{
    // Counted before the file is opened, so a line that cannot be written still counts.
    ++g_ErrorCount;
    GxLog::AppendText(GetPath(kLogError), text);
    GxDebugWindow::AddLine(text);
    Echo(text, echoKind);
}

void DeleteFile(LogKind kind)
{
    std::string native = GxString::ToUtf8(GetPath(kind));
    if (!native.empty())
        PfFileSystem::Remove(native);
}

} // namespace

bool GxLog::AppendText(const std::wstring& path, const std::wstring& text)
{
    // Text mode of the wide stream: each "\n" goes out as CR LF.
    std::wstring lines;
    lines.reserve(text.size() + 8);
    for (wchar_t c : text)
    {
        if (c == L'\n')
            lines += L"\r\n";
        else
            lines.push_back(c);
    }
    return AppendBytes(path, GxString::ToUtf16LE(lines), true);
}

void GxLog::Error(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = GxString::FormatV(format, args);
    va_end(args);
    CountedWrite(text, 1);
}

void GxLog::SlightError(const wchar_t* format, ...)
{
    if (g_SkipSlightError.load())
        return;
    va_list args;
    va_start(args, format);
    std::wstring text = GxString::FormatV(format, args);
    va_end(args);
    CountedWrite(text, 0);
}

void GxLog::ErrorA(const char* format, ...)
{
    // The narrow text is formatted whole (never cut at a fixed buffer) and then converted.
    va_list args;
    va_start(args, format);
    std::wstring text = GxString::FormatAV(format, args);
    va_end(args);
    CountedWrite(text, 1);
}

void GxLog::ErrorBinary(const void* bytes, size_t length)
{
    ++g_ErrorCount;
    if (bytes == nullptr || length == 0)
        return;
    AppendBytes(GetPath(kLogError), std::string(static_cast<const char*>(bytes), length), false);
}

void GxLog::Debug(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = GxString::FormatV(format, args);
    va_end(args);
    AppendText(GetPath(kLogDebug), text);
    Echo(text, 2);
}

void GxLog::Device(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = GxString::FormatV(format, args);
    va_end(args);
    AppendText(GetPath(kLogDevice), text);
}

void GxLog::ResetErrorCount()
{
    g_ErrorCount = 0;
}

uint32_t GxLog::GetErrorCount()
{
    return g_ErrorCount.load();
}

void GxLog::SetConsole(GxDebugListenerBase* console)
{
    g_Console = console;
}

GxDebugListenerBase* GxLog::GetConsole()
{
    return g_Console.load();
}

void GxLog::SetSkipSlightError(bool skip)
{
    g_SkipSlightError = skip;
}

bool GxLog::GetSkipSlightError()
{
    return g_SkipSlightError.load();
}

void GxLog::SetErrorLogPath(const std::wstring& path)
{
    SetPath(kLogError, path);
}

void GxLog::SetDebugLogPath(const std::wstring& path)
{
    SetPath(kLogDebug, path);
}

void GxLog::SetDeviceLogPath(const std::wstring& path)
{
    SetPath(kLogDevice, path);
}

std::wstring GxLog::GetErrorLogPath()
{
    return GetPath(kLogError);
}

std::wstring GxLog::GetDebugLogPath()
{
    return GetPath(kLogDebug);
}

std::wstring GxLog::GetDeviceLogPath()
{
    return GetPath(kLogDevice);
}

void GxLog::DeleteErrorLog()
{
    DeleteFile(kLogError);
}

void GxLog::DeleteDebugLog()
{
    DeleteFile(kLogDebug);
}

void GxLog::DeleteDeviceLog()
{
    DeleteFile(kLogDevice);
}
