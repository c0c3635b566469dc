#include "graphics/GxTextureTextEx.h"

#include "graphics/GxImageFontParam.h"
#include "graphics/GxPackedFont.h"

bool GxTextureTextEx::CreateTexture(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format,
                                    uint32_t mipLevels)
{
    const bool ok = GxTexture::CreateTexture(name, width, height, format, mipLevels);
    SetLayoutRect(nullptr);
    return ok;
}

void GxTextureTextEx::SetLayoutRect(const PfRect* rect)
{
    if (rect)
        GxTextReveal::SetLayoutRect(rect->left, rect->top, rect->right, rect->bottom);
    else
        GxTextReveal::SetLayoutRect(0, 0, (int32_t)GetWidth(), (int32_t)GetHeight());
}

void GxTextureTextEx::DrawRevealedChar(wchar_t c, int32_t x, int32_t y)
{
    const wchar_t text[2] = {c, 0};
    switch (GetFontMode())
    {
    case FONT_GDI:
        DrawText(text, x, y, GetGdiFontSize(), GetCurrentColor(), nullptr, nullptr);
        break;
    case FONT_IMAGE:
        DrawImageText(text, GetImageFont(), x, y, nullptr, nullptr);
        break;
    case FONT_PACKED:
        DrawPackedText(text, GetPackedFont(), x, y, GetCurrentColor(), nullptr, nullptr, GetPackedStyle(),
                       GetEdgeColor());
        break;
    default:
        break;
    }
}

void GxTextureTextEx::SetTextAndDraw(const std::wstring& text)
{
    SetText(text);
    DrawAll();
}

void GxTextureTextEx::SetTextAndDrawAt(const std::wstring& text, int32_t x, int32_t y)
{
    SetPen(x, y);
    SetText(text);
    DrawAll();
}

void GxTextureTextEx::Clear()
{
    ClearText();
    int32_t left, top, right, bottom;
    GetLayoutRect(left, top, right, bottom);
    SetPen(left, top);
    const PfRect area = {left, top, right, (int32_t)GetHeight()};
    FillRect(&area, 0);
}

void GxTextureTextEx::ClearAndDraw(const std::wstring& text)
{
    Clear();
    SetTextAndDraw(text);
}

void GxTextureTextEx::ClearAndDrawAt(const std::wstring& text, int32_t x, int32_t y)
{
    Clear();
    SetTextAndDrawAt(text, x, y);
}
