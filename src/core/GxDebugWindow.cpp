#include "core/GxDebugWindow.h"

#include "core/GxString.h"
#include "platform/PfDebugWindow.h"

#include <memory>
#include <mutex>

namespace
{

struct DebugWindowState
{
    std::mutex lock; // guards the ring and the dirty flag
    std::wstring lines[GxDebugWindow::LineCount];
    int next = 0; // ring position of the next line (the oldest one)
    bool dirty = false;
    std::unique_ptr<PfDebugWindow> window;
};

DebugWindowState& State()
{
    // Never destroyed: the window must not be touched after the platform layer has shut down.
    static DebugWindowState* s_State = new DebugWindowState();
    return *s_State;
}

} // namespace

void GxDebugWindow::Clear()
{
    DebugWindowState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    for (std::wstring& line : state.lines)
        line.clear();
    state.next = 0;
    state.dirty = false;
    if (state.window)
        state.window->Hide();
}

bool GxDebugWindow::Create()
{
    DebugWindowState& state = State();
    if (!state.window)
        state.window = std::make_unique<PfDebugWindow>();
    if (!state.window->Create())
    {
        state.window.reset();
        return false;
    }
    return true;
}

bool GxDebugWindow::Exists()
{
    return State().window != nullptr;
}

bool GxDebugWindow::IsVisible()
{
    return State().window != nullptr && State().window->IsVisible();
}

bool GxDebugWindow::IsDirty()
{
    DebugWindowState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.dirty;
}

void GxDebugWindow::Toggle()
{
    if (State().window)
        State().window->Toggle();
}

void GxDebugWindow::Hide()
{
    if (State().window)
        State().window->Hide();
}

void GxDebugWindow::Destroy()
{
    DebugWindowState& state = State();
    if (state.window)
    {
        state.window->Hide();
        state.window->Destroy();
    }
    state.window.reset();
}

void GxDebugWindow::AddLine(const std::wstring& text)
{
    DebugWindowState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    state.lines[state.next] = text.substr(0, LineLength);
    state.next = (state.next + 1) % LineCount;
    state.dirty = true;
}

std::wstring GxDebugWindow::GetText()
{
    DebugWindowState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    std::wstring text;
    for (int i = 0; i < LineCount; ++i)
        text += state.lines[(state.next + i) % LineCount];
    return text;
}

void GxDebugWindow::Paint()
{
    std::wstring text = GetText();
    {
        DebugWindowState& state = State();
        std::lock_guard<std::mutex> guard(state.lock);
        state.dirty = false;
    }
    if (State().window)
        State().window->Paint(GxString::ToUtf8(text));
}

void GxDebugWindow::PaintIfDirty()
{
    DebugWindowState& state = State();
    // A hidden window is painted when it is shown (showing it asks for a paint): nobody sees it before.
    if (state.window && state.window->IsVisible() && (IsDirty() || state.window->NeedsPaint()))
        Paint();
}
