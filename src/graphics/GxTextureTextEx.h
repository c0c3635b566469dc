// A text texture that holds a whole text and reveals it character by character: each step draws the next
// characters at a pen that advances and wraps inside a layout rectangle. The owner decides how many
// characters to reveal and when; inline tags go to a replaceable tag handler (colour tags by default).
#pragma once

#include "graphics/GxTextReveal.h"
#include "graphics/GxTextureText.h"

class GxTextureTextEx : public GxTextureText, public GxTextReveal
{
public:
    GxTextureTextEx() = default;
    ~GxTextureTextEx() override = default;

    // Create as a texture does, then make the whole texture the layout rectangle.
    bool CreateTexture(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format,
                       uint32_t mipLevels) override;

    // Null: the whole texture, pen at (0, 0).
    virtual void SetLayoutRect(const PfRect* rect);
    using GxTextReveal::SetLayoutRect;

    virtual void SetTextAndDraw(const std::wstring& text);
    virtual void SetTextAndDrawAt(const std::wstring& text, int32_t x, int32_t y);
    // Empty text, pen at the layout rectangle's top-left, index 0, and the layout area cleared to
    // transparent black down to the texture's bottom edge.
    virtual void Clear();
    virtual void ClearAndDraw(const std::wstring& text);
    virtual void ClearAndDrawAt(const std::wstring& text, int32_t x, int32_t y);

protected:
    void DrawRevealedChar(wchar_t c, int32_t x, int32_t y) override;
};
