#pragma once

#include "graphics/GxDeviceCaps.h"
#include "graphics/GxRenderTargetEntry.h"
#include "core/GxFRect.h"
#include "core/GxRect.h"
#include "platform/PfD3DTypes.h"

#include <cstdint>
#include <string>

class GxDrawRecorder;
class GxFontData;
class GxGDIFontMap;
class GxTextureFlex;
struct GxVertex2D;
class GxMatrix;
class GxSurfaceBase;
class GxVector2;
class GxSwapChain;
class GxVector3;
class GxVector4;
class PfGLDevice;
class PfGLTexture;

// Told around every device reset, with the new and the old screen mode.
class GxGraphicsResetListener
{
public:
    virtual ~GxGraphicsResetListener() = default;
    virtual bool OnBeforeReset(uint32_t newMode, uint32_t oldMode) = 0;
    virtual bool OnAfterReset(uint32_t newMode, uint32_t oldMode) = 0;
};

typedef bool (*GxGraphicsResetCallback)(uint32_t newMode, uint32_t oldMode);

// The process-wide drawing device: free functions over the state of the graphics layer. Before Initialize
// and after Finalize there is no device and every device operation returns false or does nothing. Main
// thread only, except where an operation says otherwise.
class GxGraphics
{
public:
    // Start-up and shut-down.
    static bool Initialize(PfWindowHandle window, GxGraphicsResetListener* listener,
                           GxGraphicsResetCallback beforeReset, GxGraphicsResetCallback afterReset);
    static void Finalize();
    static bool IsInitialized();
    static PfGLDevice* GetDevice();
    static PfWindowHandle GetWindow();
    static D3DFORMAT GetTextureFormat();
    static D3DFORMAT GetRenderTargetFormat();
    static D3DFORMAT GetDepthStencilFormat();
    // Texts for logs and message boxes, returned by value (any thread may ask).
    static std::wstring GetErrorText(PfResult hr);
    static std::wstring GetFormatName(D3DFORMAT format);
    static const GxDeviceCaps& GetDeviceCaps();
    static bool IsSoftwareVertexProcessingForced();
    static bool IsReferenceDevice();
    static bool IsSquareTextures();
    static const wchar_t* GetScreenModeName(uint32_t mode);
    // When a present fails inside the driver, the device asks for an orderly quit through this function
    // (the core object installs its quit request).
    typedef void (*QuitRequest)();
    static void SetQuitRequest(QuitRequest request);

    // Screen modes and reset.
    static bool ChangeScreenMode(uint32_t mode);
    static bool Reset(bool force, uint32_t newMode, uint32_t oldMode);
    static void SetWindowStyle(bool windowed);
    // Logs once per run when the driver waits fewer vertical blanks than the VSync setting asks.
    static void NoteSwapInterval();
    static void SelectVertexProcessing(uint32_t major, uint32_t minor);
    static bool NeedsSoftwareVertexShader(uint32_t major, uint32_t minor);
    static const D3DPRESENT_PARAMETERS& GetPresentParameters(uint32_t mode);
    static void MakePresentParameters(D3DPRESENT_PARAMETERS& params, PfWindowHandle window, uint32_t kind);

    // Scenes, render targets and present.
    static bool BeginScene();
    static bool EndScene();
    static int32_t GetSceneCount();
    static bool Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil, const PfRect* rect = nullptr);
    static bool PushRenderTarget(uint32_t index, GxSurfaceBase* color, GxSurfaceBase* depth,
                                 const PfRect* viewport = nullptr);
    static bool PopRenderTarget(uint32_t index);
    static bool SetRenderTarget(uint32_t index, const GxRenderTargetEntry* entry);
    static bool SetDepthStencil(const GxRenderTargetEntry* entry);
    static void RestoreRenderTargets();
    static uint32_t GetRenderTargetStackCount();
    static size_t GetRenderTargetStackDepth(uint32_t index);
    static bool SetSwapChain(GxSwapChain* chain, const PfRect* viewport);
    static GxSwapChain* GetSwapChain();
    static GxSwapChain& GetDefaultSwapChain();
    static bool Present(const PfRect* source, const PfRect* dest, PfWindowHandle window);
    // Ends the frame without showing it (the window keeps its picture).
    static bool DiscardFrame();
    // Gives the frame up at a quit, neither drawn nor shown.
    static void DropFrame();

    // Render states, lights, fog and blend presets.
    static bool SetRenderState(uint32_t state, uint32_t value);
    static bool SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value);
    static bool RestoreRenderStates();
    static bool SetZEnable(bool enable);
    static bool SetZWriteEnable(bool enable);
    static bool SetAlphaTest(bool enable, uint32_t reference);
    static bool SetMultiSampleAntiAlias(bool enable);
    static bool SetSpecularEnable(bool enable);
    static bool SetCullMode(uint32_t cull);
    static bool SetFillMode(uint32_t fill);
    static bool SetLighting(bool enable);
    static bool SetFogEnable(bool enable);
    static bool SetAmbientColor(const GxVector4& color);
    static bool SetFogColor(const GxVector4& color);
    static bool SetTextureFilter(uint32_t filter);
    static bool SetTexture(uint32_t stage, PfGLTexture* texture);
    static bool SetViewport(const PfRect* rect);
    static const D3DVIEWPORT9& GetViewport();
    static bool SetDirectionalLight(const GxVector4& color, const GxVector3& direction);
    static bool SetPointLight(uint32_t index, const GxVector4& color, const GxVector3& position, float range);
    static bool EnablePointLights(uint32_t count);
    static bool SetFog(float start, float end, bool pixelFog);
    static bool SetBlendMode(uint32_t stage, uint32_t preset);
    static uint32_t GetBlendMode(uint32_t stage);
    static void ResetRenderStates();
    static void InitRenderStates();
    // The near and far distances of the last projection (set by the projection setter of the drawers).
    static void SetProjectionDepth(float nearZ, float farZ);

    // 2D drawing and transforms (GxGraphicsDraw.cpp). Pre-transformed quads in screen pixels, culled against
    // the viewport and queued on the device, so that quads under the same states go out as one draw call.
    // Textures are taken as GxSurfaceBase (textures and text textures); where allowed, null draws untextured.
    // Corner order is top-left, bottom-left, bottom-right, top-right.
    static void DrawQuad(GxSurfaceBase* texture, const GxVector2 corners[4], const GxFRect& uv,
                         const uint32_t diffuse[4], const uint32_t specular[4], uint32_t blend);
    // source in texels; centre as fractions of the source size; the sprite scales and turns about it.
    static void DrawSprite(GxSurfaceBase* texture, float x, float y, const GxFRect& source, const GxVector2& scale,
                           const GxVector3& rotation, const GxVector2& centre, const GxVector2& uvOffset,
                           uint32_t diffuse, uint32_t specular, uint32_t blend);
    // Colours: 0 top-left, 1 bottom-left, 2 bottom-right, 3 top-right, 4 centre. Not culled.
    static void FillRect(const GxFRect& rect, const uint32_t diffuse[5], const uint32_t specular[5], uint32_t blend);
    static void DrawRectFrame(const GxFRect& rect, uint32_t diffuse, uint32_t specular, uint32_t blend);
    // Five points already in screen space (four corners, then the centre); colours may be null.
    static void DrawTransformedQuads(GxSurfaceBase* texture, const GxVector4 points[5], const GxVector2 uv[5],
                                     const uint32_t* diffuse, const uint32_t* specular, const GxVector2& uvOffset,
                                     uint32_t blend);
    // A picture cut into tiles of tileWidth x tileHeight, tiles row by row, drawn as one sprite of
    // imageWidth x imageHeight.
    static void DrawTiles(PfGLTexture* const* tiles, uint32_t across, uint32_t down, uint32_t tileWidth,
                          uint32_t tileHeight, uint32_t imageWidth, uint32_t imageHeight, float x, float y,
                          const GxVector2& scale, const GxVector3& rotation, const GxVector2& centre,
                          uint32_t diffuse, uint32_t specular, uint32_t blend);
    // A flexible texture's tiles as one sprite of its image size.
    static void DrawTextureFlex(GxTextureFlex* texture, float x, float y, const GxVector2& scale,
                                const GxVector3& rotation, const GxVector2& centre, uint32_t diffuse,
                                uint32_t specular, uint32_t blend);
    // A line of bitmap-font text as one sprite of the string's width and the cell height (no line breaks).
    static void DrawFontText(const wchar_t* text, GxFontData* font, float x, float y, const GxVector2& scale,
                             const GxVector3& rotation, const GxVector2& centre, uint32_t diffuse, uint32_t specular,
                             uint32_t blend);
    // Text through a font map at fixed pitch; a line feed starts a new line one font size lower.
    static void DrawText(GxGDIFontMap* map, const wchar_t* text, float x, float y, const GxVector2& scale,
                         uint32_t diffuse, uint32_t specular, uint32_t blend);
    // The sprite transform: centre (cx, cy) of a w x h picture onto (x, y), scaled and turned about it, with
    // the half-pixel offset.
    static void MakeSpriteMatrix(GxMatrix& out, float w, float h, float x, float y, const GxVector2& scale,
                                 const GxVector3& rotation, const GxVector2& centre);
    // True when the points lie all left, all right, all above or all below the viewport.
    static bool IsCulled(const GxVertex2D* vertices, uint32_t count);
    static const GxMatrix* GetScreenMatrix();
    static GxRect GetViewportRect();
    static void SetWorldMatrix(const GxMatrix& m);
    static void SetViewMatrix(const GxMatrix& m);
    static void SetProjectionMatrix(const GxMatrix& m);
    static const GxMatrix& GetViewMatrix();
    static const GxMatrix& GetProjectionMatrix();
    // Gives back the textures and shader of the default material of mesh subsets (graphics shut-down).
    static void ReleaseDefaultMaterial();
    static void SetView(const GxVector3& eye, const GxVector3& target, const GxVector3& up);
    static void SetProjection(float width, float height, float nearZ, float farZ, float offsetX, float offsetY);
    // Vertices from memory in the given vertex format, through the current transforms and states (queued
    // quads go out first). Not recorded.
    static void DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices, uint32_t stride,
                                uint32_t fvf);
    // Tests: every primitive drawn is also handed to the recorder (null stops recording).
    static void SetDrawRecorder(GxDrawRecorder* recorder);
    // Sends the queued quads to the device now.
    static void FlushDraws();
};
