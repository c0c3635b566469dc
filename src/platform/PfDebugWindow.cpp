#include "platform/PfDebugWindow.h"

#include "platform/PfFontconfigStart.h"
#include "platform/PfGLDriverOptions.h"

#include <SDL.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <vector>

namespace
{

constexpr int kWidth = 240;
constexpr int kHeight = 320;
constexpr int kPixelSize = 12;
constexpr int kMargin = 2;

PfDebugWindow* s_Open = nullptr;

// Decodes UTF-8 (the text comes from our own converter, so it is well formed).
std::vector<char32_t> Decode(const std::string& text)
{
    std::vector<char32_t> out;
    for (size_t i = 0; i < text.size();)
    {
        auto b = static_cast<unsigned char>(text[i]);
        int length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
        for (int k = 1; k < length && i + k < text.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(c);
        i += static_cast<size_t>(length);
    }
    return out;
}

} // namespace

PfDebugWindow::PfDebugWindow() = default;

PfDebugWindow::~PfDebugWindow()
{
    Destroy();
}

bool PfDebugWindow::Create()
{
    if (m_Window != nullptr)
        return true;
    // This window starts the video subsystem before the game's own does (at start-up it is made first).
    PfGLDriverOptions::Apply();
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0)
    {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            return false;
        m_OwnsVideo = true;
    }
    m_Window = SDL_CreateWindow("DebugWindow", 0, 0, kWidth, kHeight, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (m_Window == nullptr)
    {
        if (m_OwnsVideo)
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        m_OwnsVideo = false;
        return false;
    }
    m_WindowId = SDL_GetWindowID(m_Window);
    // A plain memory framebuffer: the window is small, and a renderer behind it would pull the GL
    // driver into a window that only shows text.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    m_Visible = false;
    m_NeedsPaint = true;
    s_Open = this;
    // The font is looked up when the window is first painted: fontconfig may still be loading then, or not
    // be loaded at all yet.
    m_FontTried = false;
    return true;
}

void PfDebugWindow::Destroy()
{
    if (s_Open == this)
        s_Open = nullptr;
    if (m_Face != nullptr)
        FT_Done_Face(m_Face);
    if (m_FontLibrary != nullptr)
        FT_Done_FreeType(m_FontLibrary);
    m_Face = nullptr;
    m_FontLibrary = nullptr;
    m_FontTried = false;
    if (m_Window != nullptr)
        SDL_DestroyWindow(m_Window);
    m_Window = nullptr;
    m_WindowId = 0;
    m_Visible = false;
    if (m_OwnsVideo)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    m_OwnsVideo = false;
}

bool PfDebugWindow::OpenFont()
{
    if (!PfFontconfigStart::Wait())
        return false;
    std::string file;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("monospace:lang=ja"));
    if (pattern != nullptr)
    {
        // The default configuration, shared with the game's own faces.
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        FcChar8* path = nullptr;
        if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr)
            file = reinterpret_cast<const char*>(path);
        if (match != nullptr)
            FcPatternDestroy(match);
        FcPatternDestroy(pattern);
    }
    if (file.empty() || FT_Init_FreeType(&m_FontLibrary) != 0)
        return false;
    if (FT_New_Face(m_FontLibrary, file.c_str(), 0, &m_Face) != 0)
    {
        m_Face = nullptr;
        return false;
    }
    FT_Set_Pixel_Sizes(m_Face, 0, kPixelSize);
    return true;
}

void PfDebugWindow::Toggle()
{
    if (m_Window == nullptr)
        return;
    if (m_Visible)
    {
        Hide();
        return;
    }
    // Shown without activation, as a tool window beside the game.
    const char* old = SDL_GetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN);
    std::string previous = old != nullptr ? old : "";
    SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, "1");
    SDL_ShowWindow(m_Window);
    SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, old != nullptr ? previous.c_str() : nullptr);
    m_Visible = true;
    m_NeedsPaint = true;
}

void PfDebugWindow::Hide()
{
    if (m_Window != nullptr)
        SDL_HideWindow(m_Window);
    m_Visible = false;
}

void PfDebugWindow::Paint(const std::string& text)
{
    m_NeedsPaint = false;
    if (m_Window == nullptr)
        return;
    SDL_Surface* surface = SDL_GetWindowSurface(m_Window);
    if (surface == nullptr)
        return;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 255, 255, 255));
    if (!m_FontTried)
    {
        m_FontTried = true;
        OpenFont();
    }
    if (m_Face != nullptr && SDL_LockSurface(surface) == 0)
    {
        int lineHeight = kPixelSize + 2;
        int x = kMargin;
        int y = kMargin;
        for (char32_t c : Decode(text))
        {
            if (c == U'\r')
                continue;
            if (c == U'\n')
            {
                x = kMargin;
                y += lineHeight;
                continue;
            }
            if (FT_Load_Char(m_Face, c, FT_LOAD_RENDER) != 0)
                continue;
            FT_GlyphSlot glyph = m_Face->glyph;
            int advance = static_cast<int>(glyph->advance.x >> 6);
            if (x + advance > surface->w - kMargin && x > kMargin)
            {
                x = kMargin;
                y += lineHeight;
            }
            if (y >= surface->h)
                break;
            const FT_Bitmap& bitmap = glyph->bitmap;
            int top = y + kPixelSize - glyph->bitmap_top;
            for (unsigned row = 0; row < bitmap.rows; ++row)
            {
                int py = top + static_cast<int>(row);
                if (py < 0 || py >= surface->h)
                    continue;
                auto* pixels = reinterpret_cast<uint8_t*>(surface->pixels) + py * surface->pitch;
                for (unsigned col = 0; col < bitmap.width; ++col)
                {
                    int px = x + glyph->bitmap_left + static_cast<int>(col);
                    if (px < 0 || px >= surface->w)
                        continue;
                    uint8_t coverage = bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + col];
                    auto level = static_cast<uint8_t>(255 - coverage);
                    Uint32 value = SDL_MapRGB(surface->format, level, level, level);
                    SDL_memcpy(pixels + px * surface->format->BytesPerPixel, &value, surface->format->BytesPerPixel);
                }
            }
            x += advance;
        }
        SDL_UnlockSurface(surface);
    }
    SDL_UpdateWindowSurface(m_Window);
}

bool PfDebugWindow::HandleEvent(const SDL_Event& event)
{
    uint32_t windowId = 0;
    switch (event.type)
    {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        windowId = event.key.windowID;
        break;
    case SDL_WINDOWEVENT:
        windowId = event.window.windowID;
        break;
    case SDL_MOUSEMOTION:
        windowId = event.motion.windowID;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        windowId = event.button.windowID;
        break;
    case SDL_MOUSEWHEEL:
        windowId = event.wheel.windowID;
        break;
    case SDL_TEXTINPUT:
        windowId = event.text.windowID;
        break;
    default:
        return false;
    }
    if (m_Window == nullptr || windowId != m_WindowId)
        return false;
    if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_F11 && (event.key.keysym.mod & KMOD_ALT) != 0 &&
        event.key.repeat == 0)
        Toggle();
    else if (event.type == SDL_WINDOWEVENT)
    {
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            Hide();
        else if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            m_NeedsPaint = true;
    }
    return true;
}

bool PfDebugWindow::DispatchEvent(const SDL_Event& event)
{
    return s_Open != nullptr && s_Open->HandleEvent(event);
}
