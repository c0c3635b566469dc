#include "platform/PfMessageBox.h"

#include <SDL.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <locale.h>
#include <optional>
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace
{

// The process showing a box, while it shows one (0 otherwise).
std::atomic<pid_t> s_BoxOwner{0};

// SDL draws an X11 box in a child it forks and waits for. That child must not outlive the program (a
// program ended by a signal while its box is open would leave the box on screen): it is killed when its
// parent ends, and ends at once when the parent has already gone. Only async-signal-safe calls here.
void TieBoxChildToParent()
{
    const pid_t owner = s_BoxOwner.load();
    if (owner == 0)
        return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != owner)
        _exit(0);
}

bool IsHeadlessDriver(const char* driver)
{
    return driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

bool WriteToStandardError(const std::string& caption, const std::string& text)
{
    std::string line = "[" + caption + "] " + text;
    if (line.empty() || line.back() != '\n')
        line += '\n';
    return std::fwrite(line.data(), 1, line.size(), stderr) == line.size() && std::fflush(stderr) == 0;
}

// Points the environment's character type at a locale for the life of the guard (SDL reads it through
// setlocale(LC_ALL, "") while it draws the box) and puts back what was there.
class ScopedCharacterType
{
public:
    explicit ScopedCharacterType(const char* locale)
    {
        if (!locale)
            return;
        m_Active = true;
        if (const char* old = std::getenv("LC_ALL"))
            m_Saved = old;
        setenv("LC_ALL", locale, 1);
    }
    ~ScopedCharacterType()
    {
        if (!m_Active)
            return;
        if (m_Saved)
            setenv("LC_ALL", m_Saved->c_str(), 1);
        else
            unsetenv("LC_ALL");
    }
    ScopedCharacterType(const ScopedCharacterType&) = delete;
    ScopedCharacterType& operator=(const ScopedCharacterType&) = delete;

private:
    bool m_Active = false;
    std::optional<std::string> m_Saved;
};

} // namespace

const char* PfMessageBox::LocaleForBox()
{
    // Ask what the environment names, then put the process's own character type back as it was.
    const char* current = setlocale(LC_CTYPE, nullptr);
    const std::string saved = current ? current : "C";
    bool utf8 = false;
    if (setlocale(LC_CTYPE, ""))
    {
        const char* codeset = nl_langinfo(CODESET);
        utf8 = codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
    }
    setlocale(LC_CTYPE, saved.c_str());
    return utf8 ? nullptr : "C.UTF-8";
}

bool PfMessageBox::CanShow()
{
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0 && IsHeadlessDriver(SDL_GetCurrentVideoDriver()))
        return false;
    if (IsHeadlessDriver(std::getenv("SDL_VIDEODRIVER")))
        return false;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && x11[0] != 0) || (wayland != nullptr && wayland[0] != 0);
}

bool PfMessageBox::Show(const std::string& caption, const std::string& text)
{
    if (CanShow())
    {
        static const bool s_Registered = pthread_atfork(nullptr, nullptr, TieBoxChildToParent) == 0;
        (void)s_Registered;
        s_BoxOwner = getpid();
        const ScopedCharacterType characterType(LocaleForBox());
        const bool shown =
            SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption.c_str(), text.c_str(), nullptr) == 0;
        s_BoxOwner = 0;
        if (shown)
            return true;
    }
    return WriteToStandardError(caption, text);
}
