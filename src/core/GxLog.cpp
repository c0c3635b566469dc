#include "core/GxLog.h"

#include "core/GxDebugListenerBase.h"
#include "core/GxDebugWindow.h"
#include "core/GxString.h"
#include "platform/PfFileSystem.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
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

// One log file, kept open from its first line. Every line goes to the system at once (no buffering in
// the process), so a crash loses nothing already logged. A line that comes again right after itself is
// counted instead of written; the count goes out as a line of its own when another line comes, when
// the file is left or at exit.
struct LogFile
{
    std::string path; // native path the descriptor was opened at
    int fd = -1;
    uint64_t size = 0;
    uint64_t device = 0, inode = 0;
    // Whether the log may be moved aside when full: only a regular file that its path names directly.
    // A device (a harness pointing a log at /dev/null, run as root) or a link must never be renamed, or
    // the rename would move the device or the link and leave a new regular file in its place.
    bool rotatable = false;
    std::wstring lastLine; // the last whole line written ("\n"-ended), empty after other text
    uint32_t repeats = 0;  // times lastLine came again since it was written
};

// Process-wide state. The paths are set on the main thread but read by any thread that logs, so they
// sit behind a lock; the count, the console and the switch are atomics.
struct LogState
{
    std::mutex pathLock;
    std::wstring paths[kLogCount] = {L"error.log", L"debug.log", L"device.log"};
    // Serialises the appends so two threads never both see a new file and both write the mark, and
    // one line is never split by another. Guards the open files.
    std::mutex writeLock;
    LogFile files[kLogCount];
};

void FlushRepeatsAtExit();

LogState& State()
{
    static LogState* s_State = []
    {
        std::atexit(FlushRepeatsAtExit);
        return new LogState(); // never destroyed: logging works during static shut-down
    }();
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

std::string ToFileText(const std::wstring& text)
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
    return GxString::ToUtf16LE(lines);
}

// The following work under the write lock.

void CloseLog(LogFile& file)
{
    if (file.fd >= 0)
        PfFileSystem::Close(file.fd);
    file.fd = -1;
    file.path.clear();
    file.size = 0;
    file.rotatable = false;
}

// True when the descriptor still stands for the file at its path (not removed or replaced meanwhile).
bool StillThere(const LogFile& file)
{
    PfFileInfo info;
    return PfFileSystem::GetInfo(file.path, info) && info.m_Device == file.device && info.m_Inode == file.inode;
}

// True when the path itself, a link not followed, is the regular file the descriptor writes to.
bool PathIsOpenRegularFile(const LogFile& file)
{
    PfFileInfo info;
    return PfFileSystem::GetLinkInfo(file.path, info) && info.m_IsRegular && info.m_Device == file.device &&
           info.m_Inode == file.inode;
}

bool OpenLog(LogFile& file, const std::string& native)
{
    CloseLog(file);
    const int fd = PfFileSystem::OpenWrite(native, PfFileSystem::WriteMode::Append);
    if (fd < 0)
        return false;
    PfFileInfo info;
    if (!PfFileSystem::GetInfo(fd, info))
    {
        PfFileSystem::Close(fd);
        return false;
    }
    file.fd = fd;
    file.path = native;
    file.size = info.m_Size;
    file.device = info.m_Device;
    file.inode = info.m_Inode;
    file.rotatable = info.m_IsRegular && PathIsOpenRegularFile(file);
    return true;
}

// Appends bytes to the log at native, opening it when it is not the open one; a new file starts with
// the mark when markNewFile. A file that would grow past the limit is first moved to "<name>.1" (in
// place of the older part) and a new one started, so each log keeps at most two parts. Only a regular
// file named directly by its path is moved; anything else (a device, a link) is written on as it is.
bool WriteLog(LogFile& file, const std::string& native, const std::string& bytes, bool markNewFile)
{
    if (native.empty())
        return false;
    if ((file.fd < 0 || file.path != native || !StillThere(file)) && !OpenLog(file, native))
        return false;
    // The path is looked at again just before the rename: it may have been replaced since the open.
    if (file.rotatable && file.size > 0 && file.size + bytes.size() > GxLog::kMaxFileBytes &&
        PathIsOpenRegularFile(file))
    {
        CloseLog(file);
        PfFileSystem::Rename(native, native + ".1");
        if (!OpenLog(file, native))
            return false;
    }
    std::string out;
    if (markNewFile && file.size == 0)
        out = "\xFF\xFE";
    out += bytes;
    const bool ok = PfFileSystem::WriteAll(file.fd, out.data(), out.size());
    file.size += out.size();
    return ok;
}

// Writes the count of a run of repeated lines, if any, to the file the run was written to.
void FlushRepeats(LogFile& file)
{
    if (file.repeats > 0 && file.fd >= 0 && StillThere(file))
        WriteLog(file, file.path, ToFileText(GxString::Format(L"(repeated %u more times)\n", file.repeats)), true);
    file.repeats = 0;
}

void FlushRepeatsAtExit()
{
    LogState& state = State();
    std::lock_guard<std::mutex> guard(state.writeLock);
    for (LogFile& file : state.files)
        FlushRepeats(file);
}

// One message of a log: written, or counted when it is the same whole line as the one before.
bool AppendMessage(LogKind kind, const std::wstring& text)
{
    const std::string native = GxString::ToUtf8(GetPath(kind));
    LogState& state = State();
    std::lock_guard<std::mutex> guard(state.writeLock);
    LogFile& file = state.files[kind];
    const bool wholeLine = !text.empty() && text.back() == L'\n';
    if (wholeLine && text == file.lastLine && file.path == native && file.fd >= 0)
    {
        ++file.repeats;
        return true;
    }
    if (file.path != native || !wholeLine || text != file.lastLine)
        FlushRepeats(file);
    file.lastLine = wholeLine ? text : std::wstring();
    return WriteLog(file, native, ToFileText(text), true);
}

// Bytes for one of the logs outside a message (the start-up mark, raw bytes): they end a run of repeats.
bool AppendToLog(LogKind kind, const std::string& bytes, bool markNewFile)
{
    const std::string native = GxString::ToUtf8(GetPath(kind));
    LogState& state = State();
    std::lock_guard<std::mutex> guard(state.writeLock);
    LogFile& file = state.files[kind];
    if (!bytes.empty())
    {
        FlushRepeats(file);
        file.lastLine.clear();
    }
    return WriteLog(file, native, bytes, markNewFile);
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
    AppendMessage(kLogError, text);
    GxDebugWindow::AddLine(text);
    Echo(text, echoKind);
}

void DeleteFile(LogKind kind)
{
    std::string native = GxString::ToUtf8(GetPath(kind));
    LogState& state = State();
    std::lock_guard<std::mutex> guard(state.writeLock);
    LogFile& file = state.files[kind];
    // A run of repeats in the file that goes is not counted into the next one.
    file.repeats = 0;
    file.lastLine.clear();
    CloseLog(file);
    if (!native.empty())
        PfFileSystem::Remove(native);
}

} // namespace

bool GxLog::AppendText(const std::wstring& path, const std::wstring& text)
{
    // One of the logs goes through its open file; any other file is opened for this text alone.
    for (int kind = 0; kind < kLogCount; ++kind)
        if (path == GetPath(static_cast<LogKind>(kind)))
            return AppendToLog(static_cast<LogKind>(kind), ToFileText(text), true);
    LogFile once;
    const bool ok = WriteLog(once, GxString::ToUtf8(path), ToFileText(text), true);
    CloseLog(once);
    return ok;
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
    AppendToLog(kLogError, std::string(static_cast<const char*>(bytes), length), false);
}

void GxLog::Debug(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = GxString::FormatV(format, args);
    va_end(args);
    AppendMessage(kLogDebug, text);
    Echo(text, 2);
}

void GxLog::Device(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = GxString::FormatV(format, args);
    va_end(args);
    AppendMessage(kLogDevice, text);
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
