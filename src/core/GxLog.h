#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class GxDebugListenerBase;

// All diagnostics of the program: three append-only logs, the error count, the echo to the debug
// console and the switch that silences minor errors.
//
//   Error, ErrorA, SlightError -> "error.log", counted, echoed (kinds 1, 1, 0)
//   ErrorBinary                -> "error.log", counted, raw bytes, no echo
//   Debug                      -> "debug.log", not counted, echoed (kind 2)
//   Device                     -> "device.log", not counted, no echo
//
// Logs are UTF-16LE text: a new file starts with the byte-order mark FF FE and every "\n" of a
// message is written as CR LF. A log is opened at its first line and kept open (opened again when its
// path changes or the file was removed or replaced meanwhile); each line reaches the file at once. A
// file that cannot be opened loses that line silently, while the count and the echo still happen.
// Counted lines also enter the debug window's ring. A message that is the same whole line as the one
// just before it in the same log is not written again: the run is counted and written as one line,
// "(repeated N more times)", when another line comes (or at exit). A log that would grow past
// kMaxFileBytes is moved to "<name>.1" (replacing the older part) and started anew. The paths start as
// the bare names (current directory) until start-up points them into the save folder.
// Formats are the Microsoft-style wide formats of GxString::Format; pass strings as .c_str().
class GxLog
{
public:
    static constexpr uint64_t kMaxFileBytes = 2 * 1024 * 1024;

    static void Error(const wchar_t* format, ...);
    // Does nothing at all (no count, no write, no echo) while minor errors are switched off.
    static void SlightError(const wchar_t* format, ...);
    // Narrow format; the text is converted from the ANSI code page.
    static void ErrorA(const char* format, ...);
    // Appends the bytes as they are.
    static void ErrorBinary(const void* bytes, size_t length);
    static void Debug(const wchar_t* format, ...);
    static void Device(const wchar_t* format, ...);

    static void ResetErrorCount();
    static uint32_t GetErrorCount();
    static void SetConsole(GxDebugListenerBase* console);
    static GxDebugListenerBase* GetConsole();
    static void SetSkipSlightError(bool skip);
    static bool GetSkipSlightError();

    static void SetErrorLogPath(const std::wstring& path);
    static void SetDebugLogPath(const std::wstring& path);
    static void SetDeviceLogPath(const std::wstring& path);
    static std::wstring GetErrorLogPath();
    static std::wstring GetDebugLogPath();
    static std::wstring GetDeviceLogPath();
    // Delete the file at the current path; a missing file is no error.
    static void DeleteErrorLog();
    static void DeleteDebugLog();
    static void DeleteDeviceLog();

    // Appends text to a UTF-16LE log file as the logs do (mark on a new file, CR LF line ends).
    // Returns false when the file cannot be opened or written.
    static bool AppendText(const std::wstring& path, const std::wstring& text);
};
