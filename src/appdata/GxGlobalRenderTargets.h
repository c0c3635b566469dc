#pragma once

#include "graphics/GxSurface.h"
#include "graphics/GxTexture.h"

#include <cstdint>
#include <string>
#include <vector>

// The drawing resources the adventure screens share for the whole run, sized from the back buffer
// (W x H): two plain screen surfaces, two render textures (both named "GlobalRenderTexture0"; the first
// holds captures), the depth stencil "GlobalDepthStencil" matching the first texture, the rule image of
// rule transitions and the thumbnail of the last capture ((W / 8) x (H / 8) pixels, bytes blue, green,
// red, alpha, rows top first).
//
// The free functions below (created by the game's start-up hook, released by its shut-down hook) work on
// the one instance g_GlobalRenderTargets.
class GxGlobalRenderTargets
{
public:
    // Alpha of one pixel of a rule transition at progress p (0 to 1): opaque at 0, transparent at 1, and
    // in between darker rule pixels go first.
    static uint8_t RuleAlpha(uint8_t ruleRed, float progress);
    // Truncated averages of the blue, green and red channels over each whole 8 x 8 block, alpha 255.
    // out holds (width / 8) x (height / 8) pixels; pixels beyond the last whole block are ignored.
    static void ReduceToThumbnail(const uint8_t* pixels, uint32_t pitch, uint32_t width, uint32_t height, uint8_t* out);

    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
    GxSurface m_ScreenSurface[2];
    GxTexture m_RenderTexture[2];
    GxSurface m_DepthStencil;
    GxSurface m_RuleSurface;
    uint32_t m_ThumbnailWidth = 0;
    uint32_t m_ThumbnailHeight = 0;
    std::vector<uint8_t> m_Thumbnail;
    bool m_Capturing = false; // on only while a capture is drawn
};

extern GxGlobalRenderTargets g_GlobalRenderTargets;

bool CreateGlobalRenderTargets();
void ReleaseGlobalRenderTargets();
// A non-empty name loads that picture as 32-bit colour with alpha; an empty one gives a blank W x H
// surface. Answers the rule surface.
GxSurface* LoadTransitionRuleImage(const std::wstring& imageName);
// One frame of a rule transition into target: the capture's colour with the rule's alpha. A rule, a
// capture or a target smaller than W x H leaves the target unchanged (false).
bool BuildRuleTransitionTexture(GxTexture* target, float progress);
// Reduces the capture into the thumbnail buffer.
bool MakeThumbnailImage();
// Writes the thumbnail buffer as a PNG through the atomic writer; false (logged) keeps an old file.
bool SaveThumbnailImage(const std::wstring& path);
// The thumbnail buffer as the bytes of that PNG, for a save that writes it with its other files; false
// (logged, naming path) when there is no thumbnail.
bool EncodeThumbnailImage(std::string& png, const std::wstring& path);
// Empties the six GDI font maps and releases the eight bitmap fonts.
void ReleaseGlobalFonts();
