#include "appdata/GxTextEditor.h"

#include "core/GxFile.h"
#include "core/GxString.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace
{

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to)
{
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

std::wstring Trim(const std::wstring& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && (IsBlank(text[begin]) || text[begin] == L'\r' || text[begin] == L'\n'))
        ++begin;
    while (end > begin && (IsBlank(text[end - 1]) || text[end - 1] == L'\r' || text[end - 1] == L'\n'))
        --end;
    return text.substr(begin, end - begin);
}

std::string Env(const char* name, const std::string& fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

std::vector<std::string> SplitPathList(const std::string& list)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= list.size())
    {
        size_t end = list.find(':', start);
        if (end == std::string::npos)
            end = list.size();
        if (end > start)
            out.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

// The value of a key in one section of a desktop-entry style file (UTF-8); empty when absent.
std::string ReadIniValue(const std::filesystem::path& path, const std::string& section, const std::string& key)
{
    // Only regular files: reading a folder through a stream throws.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::string();
    std::ifstream in(path);
    std::string line;
    bool inSection = false;
    while (std::getline(in, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[')
        {
            inSection = line == "[" + section + "]";
            continue;
        }
        if (!inSection)
            continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string name = line.substr(0, eq);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
            name.pop_back();
        if (name == key)
            return line.substr(eq + 1);
    }
    return std::string();
}

void ReapInBackground(pid_t pid)
{
    // The editor outlives the call; a detached waiter collects its exit status so that no zombie stays.
    std::thread(
        [pid]
        {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR)
            {
            }
        })
        .detach();
}

} // namespace

std::wstring GxTextEditor::BuildCommandLine(const std::wstring& commandTemplate, const std::wstring& file, int32_t line)
{
    std::wstring text = commandTemplate;
    ReplaceAll(text, L"%line", GxString::FromInt(line));
    ReplaceAll(text, L"%pos", L"0");
    ReplaceAll(text, L"%file", file);
    return text;
}

std::vector<std::wstring> GxTextEditor::SplitCommandLine(const std::wstring& commandLine)
{
    std::vector<std::wstring> arguments;
    std::wstring current;
    bool inArgument = false;
    bool quoted = false;
    for (size_t i = 0; i < commandLine.size();)
    {
        const wchar_t c = commandLine[i];
        if (c == L'\\')
        {
            size_t count = 0;
            while (i < commandLine.size() && commandLine[i] == L'\\')
            {
                ++count;
                ++i;
            }
            inArgument = true;
            if (i < commandLine.size() && commandLine[i] == L'"')
            {
                current.append(count / 2, L'\\');
                if (count % 2 == 1)
                {
                    current += L'"';
                    ++i;
                }
            }
            else
                current.append(count, L'\\');
            continue;
        }
        if (c == L'"')
        {
            quoted = !quoted;
            inArgument = true;
        }
        else if (IsBlank(c) && !quoted)
        {
            if (inArgument)
                arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
        }
        else
        {
            current += c;
            inArgument = true;
        }
        ++i;
    }
    if (inArgument)
        arguments.push_back(std::move(current));
    return arguments;
}

std::wstring GxTextEditor::QuoteArgument(const std::wstring& argument)
{
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument)
    {
        if (c == L'\\')
        {
            ++backslashes;
            continue;
        }
        if (c == L'"')
            out.append(backslashes * 2 + 1, L'\\');
        else
            out.append(backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    // Backslashes before the closing quote are doubled so that the quote still closes.
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

bool GxTextEditor::RunArguments(const std::vector<std::wstring>& arguments)
{
    if (arguments.empty() || arguments[0].empty())
        return false;
    std::vector<std::string> narrow;
    narrow.reserve(arguments.size());
    for (const std::wstring& argument : arguments)
        narrow.push_back(GxString::ToUtf8(argument));
    std::vector<char*> argv;
    for (std::string& argument : narrow)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    ReapInBackground(pid);
    return true;
}

bool GxTextEditor::RunCommandLine(const std::wstring& commandLine)
{
    return RunArguments(SplitCommandLine(commandLine));
}

bool GxTextEditor::RunTemplate(const std::wstring& commandTemplate, const std::wstring& file, int32_t line)
{
    std::vector<std::wstring> arguments = SplitCommandLine(commandTemplate);
    for (std::wstring& argument : arguments)
        argument = BuildCommandLine(argument, file, line);
    return RunArguments(arguments);
}

std::wstring GxTextEditor::TakeProgram(const std::wstring& command)
{
    const std::wstring text = Trim(command);
    if (!text.empty() && text[0] == L'"')
    {
        const size_t close = text.find(L'"', 1);
        return text.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    }
    size_t blank = 0;
    while (blank < text.size() && !IsBlank(text[blank]))
        ++blank;
    return text.substr(0, blank);
}

std::wstring GxTextEditor::FindTxtEditor()
{
    namespace fs = std::filesystem;
    const std::string home = Env("HOME", "");
    const std::string configHome = Env("XDG_CONFIG_HOME", home.empty() ? "" : home + "/.config");
    const std::string dataHome = Env("XDG_DATA_HOME", home.empty() ? "" : home + "/.local/share");
    std::vector<std::string> dataDirs = SplitPathList(Env("XDG_DATA_DIRS", "/usr/local/share:/usr/share"));
    dataDirs.insert(dataDirs.begin(), dataHome);

    std::vector<fs::path> lists;
    if (!configHome.empty())
        lists.push_back(fs::path(configHome) / "mimeapps.list");
    for (const std::string& dir : SplitPathList(Env("XDG_CONFIG_DIRS", "/etc/xdg")))
        lists.push_back(fs::path(dir) / "mimeapps.list");
    for (const std::string& dir : dataDirs)
        if (!dir.empty())
            lists.push_back(fs::path(dir) / "applications" / "mimeapps.list");

    std::error_code error;
    for (const fs::path& list : lists)
    {
        const std::string entries = ReadIniValue(list, "Default Applications", "text/plain");
        size_t start = 0;
        while (start < entries.size())
        {
            size_t end = entries.find(';', start);
            if (end == std::string::npos)
                end = entries.size();
            const std::string id = entries.substr(start, end - start);
            start = end + 1;
            if (id.empty())
                continue;
            for (const std::string& dir : dataDirs)
            {
                if (dir.empty())
                    continue;
                const fs::path desktop = fs::path(dir) / "applications" / id;
                if (!fs::is_regular_file(desktop, error))
                    continue;
                const std::string exec = ReadIniValue(desktop, "Desktop Entry", "Exec");
                return TakeProgram(GxString::FromUtf8(exec));
            }
        }
    }
    return std::wstring();
}

std::wstring GxTextEditor::GetKnownEditorArguments(const std::wstring& file, const std::wstring& editor, int32_t line)
{
    const size_t slash = editor.find_last_of(L"\\/:");
    const std::wstring name = GxString::ToLower(slash == std::wstring::npos ? editor : editor.substr(slash + 1));
    auto is = [&name](const wchar_t* known) { return name == known || name + L".exe" == known; };
    const std::wstring f = QuoteArgument(file);
    const int l = line;
    if (is(L"hidemaru.exe"))
        return GxString::Format(L"%ls /jx%d,%d", f.c_str(), l, 0);
    if (is(L"sakura.exe"))
        return GxString::Format(L"-Y=%d -X=%d -- %ls", l, 0, f.c_str());
    if (is(L"emeditor.exe"))
        return GxString::Format(L"/l %d %ls", l, f.c_str());
    if (is(L"terapad.exe"))
        return GxString::Format(L"/jl=%d %ls", l, f.c_str());
    if (is(L"apsaly.exe"))
        return GxString::Format(L"/j%d /c%d /d %ls", l, 0, f.c_str());
    if (is(L"k2editor.exe"))
        return GxString::Format(L"%ls /j%d", f.c_str(), l);
    if (is(L"wzeditor.exe"))
        return GxString::Format(L"/j%d %ls", l, f.c_str());
    if (is(L"gvim.exe"))
        return GxString::Format(L"--remote-tab-silent +%d %ls", l, f.c_str());
    return f;
}

bool GxTextEditor::OpenFileAtLine(const std::wstring& file, int32_t line)
{
    // Only a loose file can be edited: a script found only in a pack has no file of its own.
    std::error_code error;
    if (GxFile::Exists(file) != 1 || !std::filesystem::is_regular_file(GxString::ToUtf8(file), error))
        return false;
    const std::wstring editor = FindTxtEditor();
    if (editor.empty())
        return false;
    std::vector<std::wstring> arguments = SplitCommandLine(GetKnownEditorArguments(file, editor, line));
    arguments.insert(arguments.begin(), editor);
    return RunArguments(arguments);
}
