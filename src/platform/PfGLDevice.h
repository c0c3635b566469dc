// The engine's drawing device over OpenGL 3.3 core: one context on the main window, taking the state
// numbers, formats and conventions of the Direct3D 9 fixed-function pipeline that the graphics layer speaks
// and translating them when something is drawn.
//
// Conventions kept for every caller: row 0 is the top of every target and texture; pixel centres lie on
// integer coordinates; depth runs 0..1; colours are packed ARGB. Drawing goes into off-screen targets only:
// the back buffer of each swap chain is a colour texture, and Present shows it in the window.
//
// States are remembered here and turned into OpenGL state and shader uniforms lazily, at the next draw or
// clear, and only for the groups that changed. Sampler states live in one sampler object per stage. A stage
// whose texture is null reads opaque white when it is the first stage, whatever its sampler states (as the
// fixed-function pipeline's texture argument of a stage without a texture is 1, 1, 1, 1); a later stage
// without a texture ends the stage cascade.
//
// The class is split by concern: PfGLDevice.cpp (creation, reset, swap chains, present, bound objects),
// PfGLDeviceStates.cpp (remembered states), PfGLDeviceApply.cpp (their translation into OpenGL),
// PfGLDeviceTargets.cpp (targets, viewport, clear), PfGLDeviceDraw.cpp (drawing and batching) and
// PfGLDeviceFrame.cpp (the frame comparison).
//
// A frame that changes nothing is neither drawn nor shown. Each frame's clears and draws are written down
// (the states they were made under, the contents generation of every texture and buffer they read, their
// vertices); while the frame so far matches the last shown one, nothing is sent to OpenGL. Present finds
// the whole frame equal and leaves the back buffer, the other targets and the window as they are; at the
// first difference, or when anything might observe a target drawn in the frame or change a texture or
// buffer the frame uses, the commands written down are played first and the rest of the frame is drawn as
// it comes. Draws into a render target other than the back buffer are compared with the rest when the
// target was cleared whole in the frame before them (a layer drawn into a picture of its own, then shown).
// Frames that draw into several targets at once, draw before a whole-target clear (or a quad covering the
// back buffer opaquely), or depend on depth or stencil values from an earlier frame are always drawn.
//
// A frame that differs from the last shown one in a few draws only, into the back buffer only and
// without depth, is drawn again only where those draws reach (PfGLDeviceDamage.cpp): every command of the
// frame is played with the scissor cut to that region, over the last picture the back buffer still holds,
// and only that region is sent to the window where the window keeps its picture between presents or the
// platform can copy a part of the picture to it. Other changed frames are drawn whole, unless the picture
// is, at some point of both frames, all of one colour known exactly, the same in both, and the commands
// after that point are equal (a black picture faded in over black): then they are neither drawn nor shown.
#pragma once

#include "platform/PfD3DTypes.h"
#include "platform/PfGLShader.h"
#include "platform/PfGLSwapChain.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

union SDL_Event;
class PfGLBuffer;
class PfGLTexture;
class PfGLVertexBuffer;
class PfGLIndexBuffer;
class PfGLVertexDeclaration;

// What the device found at creation: the OpenGL implementation, its limits and the displays' modes.
struct PfGLAdapterInfo
{
    std::string Renderer;
    std::string Vendor;
    std::string Version;
    std::string ShadingLanguageVersion;
    std::string VideoDriver;
    uint32_t DisplayCount = 0;
    int32_t MaxTextureSize = 0;
    int32_t MaxDrawBuffers = 0;
    int32_t MaxColorAttachments = 0;
    int32_t MaxSamples = 0;
    int32_t MaxTextureUnits = 0;
    int32_t MaxVertexAttribs = 0;
    int32_t MaxViewportWidth = 0;
    int32_t MaxViewportHeight = 0;
    float MaxPointSize = 0.0f;
    float MaxAnisotropy = 0.0f;
    D3DDISPLAYMODE DesktopMode = {};
    std::vector<D3DDISPLAYMODE> DisplayModes;
};

class PfGLDevice
{
public:
    static constexpr uint32_t MAX_RENDER_TARGETS = 4;
    static constexpr uint32_t MAX_LIGHTS = 8;
    // Lights the shader evaluates: the directional light 0 and the point lights 1..4.
    static constexpr uint32_t SHADER_LIGHTS = 5;
    // Quads a queue holds before it is sent on its own.
    static constexpr uint32_t MAX_QUEUED_QUADS = 8192;

    PfGLDevice();
    ~PfGLDevice();
    PfGLDevice(const PfGLDevice&) = delete;
    PfGLDevice& operator=(const PfGLDevice&) = delete;

    // The device whose context is in use, or null.
    static PfGLDevice* GetCurrent();

    // [creation and survey]
    // Creates the OpenGL 3.3 core context on the window and surveys the implementation and the displays.
    PfResult CreateContext(PfWindowHandle window);
    // Builds the shader, buffers and samplers and the implicit swap chain from the present parameters.
    PfResult CreateDevice(const D3DPRESENT_PARAMETERS& params);
    void Destroy();
    bool IsCreated() const { return m_DeviceCreated; }
    bool HasContext() const { return m_Context != nullptr; }
    PfWindowHandle GetWindow() const { return m_Window; }
    const PfGLAdapterInfo& GetAdapterInfo() const { return m_Adapter; }
    const std::string& GetErrorLog() const { return m_ErrorLog; }
    // Device memory still free for textures, in bytes, as far as the implementation tells.
    uint64_t GetAvailableTextureMem() const;

    // [reset and swap chains]
    // Rebuilds the implicit swap chain from the parameters, applies full screen or window to the window and
    // returns every state to its initial value, as a device reset does.
    PfResult Reset(const D3DPRESENT_PARAMETERS& params);
    // Gives the window its frame around a client area of the given size; the outer size is clamped to
    // the display and centred on it (PfWindowPlacement).
    void PlaceWindow(uint32_t width, uint32_t height);
    // Vertical blanks a present waits for, as the present parameters ask (IMMEDIATE 0, TWO 2, THREE 3,
    // FOUR 4, any other 1), and as the driver took them at the last reset (1 where it allows no more).
    static int SwapIntervalFor(uint32_t presentationInterval);
    int GetWantedSwapInterval() const { return m_WantedSwapInterval; }
    int GetSwapInterval() const { return m_SwapInterval; }
    // OpenGL keeps its objects: the device is never lost.
    PfResult TestCooperativeLevel() const { return D3D_OK; }
    // Chain 0 is the implicit one, owned by the device.
    PfGLSwapChain* GetSwapChain(uint32_t index);
    // A further chain for a window of its own; the caller owns it.
    PfResult CreateAdditionalSwapChain(const D3DPRESENT_PARAMETERS& params, std::unique_ptr<PfGLSwapChain>& chain);
    PfResult Present(PfGLSwapChain* chain, const PfRect* source, const PfRect* dest, PfWindowHandle window);
    // Ends the frame without showing it: its pixels are made in the back buffer (a read-back sees them),
    // the window keeps its picture, and the next frame is drawn whole.
    PfResult DiscardFrame();
    // Gives the frame up at a quit: the quads still queued and the commands held back are forgotten, not
    // drawn, and nothing is shown. The back buffer's picture is unknown after it.
    void DropFrame();
    // Tests: makes the next Present report this result instead of presenting.
    void InjectPresentResult(PfResult hr) { m_InjectedPresentResult = hr; }

    // [frame comparison]
    // Presents of the implicit chain that showed a picture, and those that found the frame equal to the
    // last one shown and did nothing.
    uint64_t GetPresentedFrameCount() const { return m_PresentedFrames; }
    uint64_t GetSkippedFrameCount() const { return m_SkippedFrames; }
    // Frames drawn again only where they differ from the last one shown, and presents that sent only that
    // part of the picture to the window.
    uint64_t GetPartialFrameCount() const { return m_PartialFrames; }
    // Draws of those frames left out because they reach nowhere in the region drawn again.
    uint64_t GetDrawsLeftOutCount() const { return m_DrawsLeftOut; }
    uint64_t GetPartialPresentCount() const { return m_PartialPresents; }
    // A texture calls this before its contents change, are read or go away (lock, unlock, upload, read
    // back, destroy): queued quads are sent. A frame written down that uses it keeps a copy of the contents
    // it was written with (a new glyph drawn into a text texture after part of the text was drawn), or is
    // drawn first where no copy can be made, the texture goes away or the back buffer is read. write: the
    // contents change; destroy: the texture goes away.
    void NoteTextureChange(const PfGLTexture* texture, bool write, bool destroy = false);
    // A vertex or index buffer calls this before its contents change or go away: a frame written down that
    // draws from it is drawn first.
    void NoteBufferChange(const PfGLBuffer* buffer);
    // The window's contents were lost or its size changed: the next present shows the picture again even
    // when the frame is unchanged. Window events on the device's window call it too.
    void InvalidatePresented() { m_WindowExposed = true; }

    // [targets and clear]
    PfResult SetRenderTarget(uint32_t index, PfGLTexture* target);
    PfGLTexture* GetRenderTarget(uint32_t index) const;
    PfResult SetDepthStencilSurface(PfGLTexture* depth);
    PfGLTexture* GetDepthStencilSurface() const { return m_DepthStencil; }
    PfResult SetViewport(const D3DVIEWPORT9& viewport);
    const D3DVIEWPORT9& GetViewport() const { return m_Viewport; }
    PfResult SetScissorRect(const PfRect& rect);
    // Clears the viewport, or the given rectangles within it.
    PfResult Clear(uint32_t count, const PfRect* rects, uint32_t flags, uint32_t color, float z, uint32_t stencil);
    PfResult BeginScene();
    PfResult EndScene();
    // Waits until every command sent has been carried out.
    void Finish();

    // [states]
    PfResult SetRenderState(uint32_t state, uint32_t value);
    uint32_t GetRenderState(uint32_t state) const;
    PfResult SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value);
    uint32_t GetTextureStageState(uint32_t stage, uint32_t type) const;
    PfResult SetSamplerState(uint32_t stage, uint32_t type, uint32_t value);
    uint32_t GetSamplerState(uint32_t stage, uint32_t type) const;
    PfResult SetTexture(uint32_t stage, PfGLTexture* texture);
    PfGLTexture* GetTexture(uint32_t stage) const;
    PfResult SetTransform(uint32_t type, const D3DMATRIX& matrix);
    PfResult SetLight(uint32_t index, const D3DLIGHT9& light);
    PfResult LightEnable(uint32_t index, bool enable);
    bool IsLightEnabled(uint32_t index) const;
    PfResult SetMaterial(const D3DMATERIAL9& material);
    PfResult SetSoftwareVertexProcessing(bool software);
    bool GetSoftwareVertexProcessing() const { return m_SoftwareVertexProcessing; }
    // Calls that reached the device's state setters, for the caches above it to be checked against.
    uint64_t GetRenderStateCallCount() const { return m_RenderStateCalls; }
    uint64_t GetStageStateCallCount() const { return m_StageStateCalls; }

    // [drawing]
    PfResult SetFVF(uint32_t fvf);
    uint32_t GetFVF() const { return m_FVF; }
    PfResult SetStreamSource(uint32_t stream, PfGLVertexBuffer* buffer, uint32_t offset, uint32_t stride);
    PfResult SetIndices(PfGLIndexBuffer* buffer);
    // A declaration over streams 0 to 3 for the indexed draws from vertex buffers. A non-zero FVF replaces
    // it, as setting a declaration replaces the FVF.
    PfResult SetVertexDeclaration(PfGLVertexDeclaration* declaration);
    PfGLVertexDeclaration* GetVertexDeclaration() const { return m_Declaration; }
    // Vertices from memory, copied into the streaming buffer.
    PfResult DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices, uint32_t stride);
    PfResult DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minIndex, uint32_t vertexCount,
                                    uint32_t primitiveCount, const void* indices, D3DFORMAT indexFormat,
                                    const void* vertices, uint32_t stride);
    // Batched quads: four vertices each, in fan order (top-left, bottom-left, bottom-right, top-right).
    PfResult DrawQuadsUP(uint32_t quadCount, const void* vertices, uint32_t stride);
    // Quads kept back and drawn together with the quads queued after them under the same states: every
    // operation that could change how they would be drawn (a state, texture, target, viewport or format
    // change, a clear, another draw, a texture lock or release, the end of a scene, present) sends the queue
    // first with one DrawQuadsUP. The 2D drawers go through here, so a screen of glyphs is a few draw calls.
    PfResult QueueQuadsUP(uint32_t quadCount, const void* vertices, uint32_t stride);
    void FlushQuads();
    uint32_t GetQueuedQuadCount() const { return m_QueuedQuadCount; }
    // From the stream source and index buffer set.
    PfResult DrawPrimitive(D3DPRIMITIVETYPE type, uint32_t startVertex, uint32_t primitiveCount);
    PfResult DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int32_t baseVertex, uint32_t minIndex, uint32_t vertexCount,
                                  uint32_t startIndex, uint32_t primitiveCount);
    uint64_t GetDrawCallCount() const { return m_DrawCalls; }

    // [bound objects]
    // The device keeps plain pointers to what is set on it. An object that is destroyed or re-created
    // calls these on the current device first, which clear every slot still holding it (texture stages,
    // render targets, depth-stencil, streams, indices, declaration), so no later draw reaches it.
    void Unbind(const PfGLTexture* texture);
    void Unbind(const PfGLVertexBuffer* buffer);
    void Unbind(const PfGLIndexBuffer* buffer);
    void Unbind(const PfGLVertexDeclaration* declaration);
    template <typename T> static void UnbindFromCurrent(const T* object)
    {
        if (PfGLDevice* device = GetCurrent())
            device->Unbind(object);
    }

private:
    // Everything a clear or draw depends on besides its own arguments; compared byte for byte.
    struct FrameState
    {
        uint32_t RenderState[PF_RENDERSTATE_COUNT];
        uint32_t StageState[PF_STAGE_COUNT][PF_STAGESTATE_COUNT];
        uint32_t SamplerState[PF_STAGE_COUNT][14];
        PfGLTexture* Textures[PF_STAGE_COUNT];
        uint64_t TextureGenerations[PF_STAGE_COUNT];
        D3DMATRIX World;
        D3DMATRIX View;
        D3DMATRIX Projection;
        D3DLIGHT9 Lights[MAX_LIGHTS];
        uint8_t LightEnabled[MAX_LIGHTS];
        D3DMATERIAL9 Material;
        PfGLTexture* RenderTargets[MAX_RENDER_TARGETS];
        PfGLTexture* DepthStencil;
        D3DVIEWPORT9 Viewport;
        PfRect ScissorRect;
        uint32_t FVF;
        // The layout of vertices handed over in memory where it replaces the FVF (0).
        PfGLVertexDeclaration* Declaration;
    };
    enum class FrameOp : uint32_t
    {
        STATE,
        CLEAR,
        DRAW_UP,
        DRAW_INDEXED_UP,
        DRAW_QUADS,
        DRAW_BUFFERS,
    };
    struct ClearTarget
    {
        PfGLTexture* Target;
        PfGLTexture* DepthStencil;
        D3DVIEWPORT9 Viewport;
    };
    // What a draw from buffers reads besides the states: the streams, indices and declaration set, with
    // the buffers' contents generations.
    enum class BufferDraw : uint32_t
    {
        PRIMITIVE,
        INDEXED,
    };
    struct BufferBinding
    {
        BufferDraw Kind;
        uint32_t Type;
        PfGLVertexBuffer* Streams[4];
        uint64_t StreamGenerations[4];
        uint32_t Offsets[4];
        uint32_t Strides[4];
        PfGLIndexBuffer* Indices;
        uint64_t IndexGeneration;
        PfGLVertexDeclaration* Declaration;
    };
    struct FrameArgs
    {
        uint32_t A[6];
        float Z;
    };

    // The frame comparison (PfGLDeviceFrame.cpp).
    void BeginFrameLog();
    void CaptureFrameState(FrameState& state) const;
    // Whether the device's state now is the one last written into the log, as CaptureFrameState would find
    // it, read in place: most draws of a frame change nothing, and a whole capture to compare costs more.
    bool LiveStateIsLogged() const;
    void RestoreFrameState(const FrameState& state);
    // Writes a clear or draw down. True when it is deferred (nothing to send now); false when the caller
    // draws it now.
    bool LogCommand(FrameOp op, const FrameArgs& args, const void* data, uint32_t bytes, const void* data2 = nullptr,
                    uint32_t bytes2 = 0);
    void AppendLog(const void* data, size_t bytes);
    // Plays the commands deferred so far; the rest of the frame is drawn as it comes. With a clip, only the
    // pixels inside it are drawn (a partial redraw over the last picture).
    void PlayDeferredFrame(const PfRect* clip = nullptr);
    // One clear or draw of a log as the damage search reads it.
    struct LoggedCommand
    {
        FrameOp Op;
        // The state block it was written under (null for a clear), and the record itself.
        const uint8_t* State;
        const uint8_t* Record;
        size_t RecordBytes;
        FrameArgs Args;
        const uint8_t* Data;
        uint32_t Bytes;
        const uint8_t* Data2;
        uint32_t Bytes2;
    };
    // The damage search (PfGLDeviceDamage.cpp). Splits a log into its commands.
    static void ReadFrameLog(const std::vector<uint8_t>& log, std::vector<LoggedCommand>& commands);
    // The region of the back buffer where this frame's picture can differ from the last one shown. False
    // when the frame must be drawn whole: a command whose reach cannot be bounded, depth or stencil in use,
    // the back buffer sampled, or a region too large to be worth cutting.
    bool FindFrameDamage(PfRect& damage);
    // Widens the damage by where a command draws: its quads first..first+count for DRAW_QUADS (all of them
    // for other commands). False when that cannot be told.
    bool AddCommandReach(const LoggedCommand& command, uint32_t firstQuad, uint32_t quadCount, PfRect& damage) const;
    // Whether a command of the log (under the state block given) can change a pixel of the region.
    bool ReachesRegion(FrameOp op, const FrameArgs& args, const uint8_t* data, uint32_t bytes, const uint8_t* data2,
                       uint32_t bytes2, const uint8_t* state, const PfRect& region) const;
    // The back buffer's pixels in the region (BGRA rows); false when they cannot be read.
    bool ReadBackRegion(const PfRect& region, std::vector<uint8_t>& pixels);
    static bool SameCommand(const LoggedCommand& a, const LoggedCommand& b);
    // The last point of a log (the first command after it, commands.size() at its end) where every pixel
    // of the back buffer is of one colour known exactly, and the colour; false where there is none, or the
    // log draws into other targets or uses depth or stencil. Reads the textures the log names: only for a
    // log whose textures are all still there. commands: the log's, as ReadFrameLog gives them.
    bool FindColourPoint(const std::vector<uint8_t>& log, std::vector<LoggedCommand>& commands, uint32_t& argb,
                         size_t& after);
    // Whether this frame's commands after its colour point (m_ColourCommands) equal the last shown frame's
    // after its own.
    bool SameAfterColourPoint(size_t frameAfter, size_t referenceAfter);
    // The colour a quad of the log draws before blending, where it is one colour known exactly. Only under
    // the states the colour point models (checked once per state block by FindColourPoint).
    bool QuadSourceColour(const FrameState& state, const uint8_t* quad, uint32_t stride, uint32_t& argb) const;
    // This frame cannot be compared (and is drawn as it comes); the next one has nothing to compare with.
    void MarkFrameIncomparable();
    // Notes a full-target clear, which frees the frame from what the targets held before.
    void NoteClear(uint32_t count, const PfRect* rects, uint32_t flags);
    // The texture was cleared whole in this frame, for all of the given clear flags.
    bool ClearedInFrame(const PfGLTexture* texture, uint32_t flags) const;
    // The first quad of a batch from which on the batch alone makes the back buffer's colours: a quad over
    // all of it drawn opaque under the states set now (a fade held at black), where every state is one the
    // rule models (PfGLDeviceDamage.cpp). quadCount when none does.
    uint32_t FirstCoveringQuad(uint32_t quadCount, const uint8_t* vertices, uint32_t stride) const;
    void CaptureBufferBinding(BufferBinding& binding, BufferDraw kind, uint32_t type) const;
    // The commands themselves, as drawn now or when a deferred frame is played.
    PfResult ClearNow(uint32_t count, const PfRect* rects, uint32_t flags, uint32_t color, float z, uint32_t stencil);
    PfResult DrawPrimitiveUPNow(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices, uint32_t stride);
    PfResult DrawIndexedPrimitiveUPNow(D3DPRIMITIVETYPE type, uint32_t minIndex, uint32_t vertexCount,
                                       uint32_t primitiveCount, const void* indices, D3DFORMAT indexFormat,
                                       const void* vertices, uint32_t stride);
    PfResult DrawQuadsUPNow(uint32_t quadCount, const void* vertices, uint32_t stride);
    // With check, only whether the draw from buffers could be made (the call's result), nothing drawn.
    PfResult DrawPrimitiveNow(D3DPRIMITIVETYPE type, uint32_t startVertex, uint32_t primitiveCount, bool check = false);
    PfResult DrawIndexedPrimitiveNow(D3DPRIMITIVETYPE type, int32_t baseVertex, uint32_t minIndex, uint32_t vertexCount,
                                     uint32_t startIndex, uint32_t primitiveCount, bool check = false);
    PfResult PlayBufferDraw(const FrameArgs& args, const BufferBinding& binding);
    // Marks the targets' contents changed by a clear or draw sent now.
    void BumpTargetGenerations();
    static int WindowEventWatch(void* device, SDL_Event* event);

    // The streaming buffers take the vertices and indices of drawing from memory; when full they are
    // orphaned and filled again from the start, so a draw never waits for the previous ones.
    // They start small and grow, up to these sizes, when a draw needs more: the 2D screens' frames take a
    // few kilobytes, and a software driver's buffers are memory of the process.
    static constexpr uint32_t STREAM_BYTES = 4u << 20;
    static constexpr uint32_t STREAM_INDEX_BYTES = 1u << 20;
    static constexpr uint32_t STREAM_START_BYTES = 256u << 10;
    static constexpr uint32_t STREAM_INDEX_START_BYTES = 64u << 10;
    // 16-bit indices address 65,536 vertices: 16,384 quads per batch.
    static constexpr uint32_t MAX_BATCH_QUADS = 16384;

    enum Dirty : uint32_t
    {
        DIRTY_BLEND = 1u << 0,
        DIRTY_DEPTH = 1u << 1,
        DIRTY_STENCIL = 1u << 2,
        DIRTY_RASTER = 1u << 3,
        DIRTY_UNIFORMS = 1u << 4,
        DIRTY_FRAMEBUFFER = 1u << 5,
        DIRTY_VIEWPORT = 1u << 6,
        DIRTY_ALL = 0x7F,
    };

    void SetDefaultStates();
    void CreateSamplers();
    void ApplySampler(uint32_t stage);
    // Sends the sampler states of the stages whose values differ from those last sent.
    void ApplySamplers();
    bool PrepareDraw(bool preTransformed);
    // PrepareDraw for the flexible vertex format set, pre-transformed when its positions are XYZRHW.
    bool PrepareFVFDraw();
    // Binds the device's frame buffer with the targets set. The depth-stencil surface is attached only
    // while something uses it (useDepth): a frame buffer without one lets a software rasteriser take its
    // fast paths, and with the depth and stencil tests off OpenGL writes neither buffer anyway.
    void ApplyFramebuffer(bool useDepth);
    bool DrawUsesDepth() const;
    void ApplyViewport();
    void ApplyBlend();
    void ApplyDepth();
    void ApplyStencil();
    void ApplyRaster();
    // The program's optional steps (PfGLShader::Feature) the current states and vertices call for.
    uint32_t ShaderFeatures(bool preTransformed) const;
    void ApplyUniforms(bool preTransformed, uint32_t features);
    // Notes whether the given vertices of the current FVF all have a black specular colour.
    void NoteVertexSpecular(const void* vertices, uint32_t count, uint32_t stride);
    void BindTextures();
    // Binds an element buffer unless it is the one bound already.
    void BindElementBuffer(uint32_t buffer);
    void BindVertexLayout(uint32_t buffer, uint32_t fvf, uint32_t stride, uintptr_t baseOffset);
    bool StreamVertices(const void* data, uint32_t bytes, uint32_t stride, uint32_t& firstVertex);
    bool StreamIndices(const void* data, uint32_t bytes, uint32_t& offset);
    uint32_t StageCount() const;
    uint32_t ShaderFVF() const;
    PfResult DrawIndexedDeclared(uint32_t mode, uint32_t count, int32_t baseVertex, uint32_t minIndex,
                                 uint32_t vertexCount, uint32_t startIndex, bool check);
    // The non-indexed draw from buffers under a vertex declaration.
    PfResult DrawDeclared(uint32_t mode, uint32_t startVertex, uint32_t count, bool check);
    // Whether every stream the declaration reads holds the vertices below vertexEnd.
    bool DeclaredStreamsHold(uint64_t vertexEnd) const;
    // The draw of either above once its streams are checked: nothing more when only checking, else the
    // declaration's vertex array bound around the draw.
    PfResult DrawThroughDeclaration(bool check, const std::function<void()>& draw);
    // Vertices handed over in memory (streamed into the device's buffer) are laid out by the vertex
    // declaration when one replaces the FVF, else by the FVF. ReadsMemoryVertices: whether vertices of
    // this stride hold all the declaration reads.
    bool ReadsMemoryVertices(uint32_t stride) const;
    void BindStreamedLayout(uint32_t stride);

    PfWindowHandle m_Window = nullptr;
    void* m_Context = nullptr;
    bool m_DeviceCreated = false;
    PfGLAdapterInfo m_Adapter;
    std::string m_ErrorLog;
    PfGLShader m_Shader;
    PfGLSwapChain m_ImplicitChain;
    PfResult m_InjectedPresentResult = D3D_OK;
    int m_WantedSwapInterval = 1;
    int m_SwapInterval = 1;

    uint32_t m_Framebuffer = 0;
    uint32_t m_VertexArray = 0;
    uint32_t m_StreamBuffer = 0;
    uint32_t m_StreamIndexBuffer = 0;
    uint32_t m_QuadIndexBuffer = 0;
    uint32_t m_StreamOffset = 0;
    uint32_t m_StreamCapacity = 0;
    uint32_t m_StreamIndexCapacity = 0;
    uint32_t m_StreamIndexOffset = 0;
    uint32_t m_BoundElementBuffer = 0;
    uint32_t m_WhiteTexture = 0;
    uint32_t m_Samplers[PF_STAGE_COUNT] = {};
    // The sampler object bound to each texture unit now: the stage's own, or none for the white stand-in.
    uint32_t m_BoundSamplers[PF_STAGE_COUNT] = {};
    uint32_t m_LayoutBuffer = 0;
    uint32_t m_LayoutFVF = 0xFFFFFFFF;
    uint32_t m_LayoutStride = 0;
    uintptr_t m_LayoutOffset = 0;

    PfGLTexture* m_RenderTargets[MAX_RENDER_TARGETS] = {};
    PfGLTexture* m_DepthStencil = nullptr;
    D3DVIEWPORT9 m_Viewport = {};
    PfRect m_ScissorRect = {};
    uint32_t m_Dirty = DIRTY_ALL;
    bool m_LastPreTransformed = false;
    uint32_t m_LastFeatures = 0;
    // The depth-stencil texture attached to the frame buffer now (0 none).
    uint32_t m_AttachedDepth = 0;
    // The vertices of the draw being prepared all carry a black specular colour (known only for vertices
    // handed over in memory; buffers count as coloured).
    bool m_VertexSpecularBlack = false;

    uint32_t m_RenderState[PF_RENDERSTATE_COUNT] = {};
    uint32_t m_StageState[PF_STAGE_COUNT][PF_STAGESTATE_COUNT] = {};
    uint32_t m_SamplerState[PF_STAGE_COUNT][14] = {};
    PfGLTexture* m_Textures[PF_STAGE_COUNT] = {};
    D3DMATRIX m_World = {};
    D3DMATRIX m_View = {};
    D3DMATRIX m_Projection = {};
    D3DLIGHT9 m_Lights[MAX_LIGHTS] = {};
    bool m_LightEnabled[MAX_LIGHTS] = {};
    D3DMATERIAL9 m_Material = {};
    bool m_SoftwareVertexProcessing = false;

    uint32_t m_FVF = 0;
    PfGLVertexBuffer* m_StreamSource = nullptr;
    uint32_t m_StreamSourceOffset = 0;
    uint32_t m_StreamSourceStride = 0;
    PfGLIndexBuffer* m_Indices = nullptr;
    static constexpr uint32_t DECLARED_STREAMS = 4;
    PfGLVertexDeclaration* m_Declaration = nullptr;
    PfGLVertexBuffer* m_Streams[DECLARED_STREAMS] = {};
    uint32_t m_StreamOffsets[DECLARED_STREAMS] = {};
    uint32_t m_StreamStrides[DECLARED_STREAMS] = {};

    std::vector<uint8_t> m_QueuedQuads;
    uint32_t m_QueuedQuadCount = 0;
    uint32_t m_QueuedStride = 0;
    // The textures the queued quads were queued under. A texture change alone does not send the queue:
    // an unbind followed by a rebind of the same texture (every widget's state reset) keeps one batch;
    // the queue goes out when a quad arrives under other textures, or at any other flush.
    PfGLTexture* m_QueuedTextures[PF_STAGE_COUNT] = {};

    // The frame comparison. The log holds the frame's commands as written down (state blocks, arguments and
    // vertices); the reference is the log of the last frame shown.
    std::vector<uint8_t> m_FrameLog;
    std::vector<uint8_t> m_ReferenceLog;
    bool m_ReferenceValid = false;
    // Commands are written down (false once the frame cannot be compared).
    bool m_FrameLogging = false;
    // Commands are written down only, not sent; the log so far equals the reference's start.
    bool m_FrameDeferred = false;
    bool m_Replaying = false;
    // The targets and depth-stencil surfaces cleared whole in this frame, with the clear flags.
    std::vector<std::pair<const PfGLTexture*, uint32_t>> m_FrameCleared;
    // This frame has drawn into a target other than the back buffer, or used depth or stencil.
    bool m_FrameWroteTargets = false;
    bool m_FrameUsedDepth = false;
    // The frame's last whole clear of depth and stencil, as written down (a covering quad keeps it).
    FrameArgs m_DepthClearArgs = {};
    ClearTarget m_DepthClearTarget = {};
    uint64_t m_FrameSerial = 0;
    FrameState m_LoggedState = {};
    bool m_LoggedStateValid = false;
    // How the last frame was shown: the present's rectangles and window and the drawable size.
    PfRect m_ShownSource = {};
    PfRect m_ShownDest = {};
    bool m_ShownHasSource = false;
    bool m_ShownHasDest = false;
    PfWindowHandle m_ShownWindow = nullptr;
    int m_ShownWidth = 0;
    int m_ShownHeight = 0;
    std::atomic<bool> m_WindowExposed{false};
    bool m_EventWatch = false;
    uint64_t m_PresentedFrames = 0;
    uint64_t m_SkippedFrames = 0;
    uint64_t m_PartialFrames = 0;
    uint64_t m_DrawsLeftOut = 0;
    uint64_t m_PartialPresents = 0;
    // Copies of textures' contents as commands held back were written with, before the textures changed:
    // the commands' texture and its generation then, and the OpenGL name of the copy. Played commands bind
    // the copy; it goes when the frame has been played.
    struct HeldContents
    {
        const PfGLTexture* Texture;
        uint64_t Generation;
        uint32_t Copy;
    };
    static constexpr size_t MAX_HELD_CONTENTS = 8;
    std::vector<HeldContents> m_HeldContents;
    // While the log is played: the generations the state block played last was written with.
    uint64_t m_PlayedGenerations[PF_STAGE_COUNT] = {};
    uint32_t HeldCopy(const PfGLTexture* texture, uint64_t generation) const;
    void ReleaseHeldContents();
    // While a frame is played for a partial redraw: the region its commands are cut to.
    PfRect m_DamageClip = {};
    bool m_DamageClipActive = false;
    // The commands of the last shown frame and of this one, as the damage search reads them.
    std::vector<LoggedCommand> m_ReferenceCommands;
    std::vector<LoggedCommand> m_FrameCommands;
    // The last shown frame's colour point (FindColourPoint): whether it has one, the colour and the first
    // command after it; the commands and state block the colour search reads.
    bool m_ReferenceColourKnown = false;
    uint32_t m_ReferenceColour = 0;
    size_t m_ReferenceColourAfter = 0;
    std::vector<LoggedCommand> m_ColourCommands;
    FrameState m_ColourState = {};
    // A frame buffer for reading the back buffer, and a damaged region's pixels before it was drawn again.
    uint32_t m_ReadFramebuffer = 0;
    std::vector<uint8_t> m_RegionBefore;
    std::vector<uint8_t> m_RegionAfter;
    // The sampler states last sent to each stage's sampler object.
    uint32_t m_AppliedSamplerState[PF_STAGE_COUNT][14] = {};

    uint64_t m_RenderStateCalls = 0;
    uint64_t m_StageStateCalls = 0;
    uint64_t m_DrawCalls = 0;
};
