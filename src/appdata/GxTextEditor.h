#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Opens a script file in the developer's text editor, the cursor on a given line. The editor is either a
// command template from the settings ("%file", "%line", "%pos") or the desktop's default application for
// plain text, started with the arguments of a known editor.
//
// Command lines are split into arguments by the quoting rules the templates are written in: blanks
// separate arguments, double quotes group, a backslash before a double quote makes it literal (2n
// backslashes before a quote give n backslashes, 2n + 1 give n and a literal quote; other backslashes are
// plain). Programs are started from an argument vector, never through a shell, and never waited for: the
// main loop collects the exit of those that have ended (PfProcess).
class GxTextEditor
{
public:
    // The template with every "%line" replaced by the line in decimal, then every "%pos" by 0, then every
    // "%file" by the file path.
    static std::wstring BuildCommandLine(const std::wstring& commandTemplate, const std::wstring& file, int32_t line);
    static std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);
    // The argument in double quotes, its quotes and the backslashes before them escaped, so that
    // SplitCommandLine gives it back whole.
    static std::wstring QuoteArgument(const std::wstring& argument);

    // Starts the program of the command line without waiting; the main loop collects its exit. False
    // when the line names no program or the program cannot be started.
    static bool RunCommandLine(const std::wstring& commandLine);
    static bool RunArguments(const std::vector<std::wstring>& arguments);
    // The settings' template: split first, then substituted inside each argument, so that a file path with
    // blanks or quotes stays one argument; then started as RunArguments does.
    static bool RunTemplate(const std::wstring& commandTemplate, const std::wstring& file, int32_t line);

    // The program of the desktop's default application for text/plain: the first entry of "text/plain"
    // in the "[Default Applications]" of the mimeapps.list files (user configuration, system
    // configuration, user data, system data, in this order) whose ".desktop" file exists, and of that
    // file's Exec command the program (TakeProgram). Empty when there is none.
    static std::wstring FindTxtEditor();
    // A command trimmed at both ends: its leading quoted part when it starts with a double quote, else
    // everything before the first blank.
    static std::wstring TakeProgram(const std::wstring& command);
    // The arguments that open the file at the line in the editor of that program name (the part after the
    // last "\\", "/" or ":"; ASCII case ignored; a name without ".exe" matches as well). Any other editor
    // gets the quoted file path alone.
    static std::wstring GetKnownEditorArguments(const std::wstring& file, const std::wstring& editor, int32_t line);
    // Opens a loose file (not one found only in a pack) in the desktop's text editor. False when the file
    // is not loose, no editor is found or it cannot be started.
    static bool OpenFileAtLine(const std::wstring& file, int32_t line);
};
