// Drawing and batching: vertex formats and streams, vertices streamed from memory, draws from buffers, and
// the queue that gathers the 2D drawers' quads into few draw calls.
#include "platform/PfGLDevice.h"

#include "platform/PfGLIndexBuffer.h"
#include "platform/PfGLTexture.h"
#include "platform/PfGLVertexBuffer.h"
#include "platform/PfGLVertexDeclaration.h"

#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cstring>

namespace
{

bool PrimitiveMode(D3DPRIMITIVETYPE type, uint32_t primitives, GLenum& mode, uint32_t& vertices)
{
    switch (type)
    {
    case D3DPT_POINTLIST:
        mode = GL_POINTS;
        vertices = primitives;
        return true;
    case D3DPT_LINELIST:
        mode = GL_LINES;
        vertices = primitives * 2;
        return true;
    case D3DPT_LINESTRIP:
        mode = GL_LINE_STRIP;
        vertices = primitives + 1;
        return true;
    case D3DPT_TRIANGLELIST:
        mode = GL_TRIANGLES;
        vertices = primitives * 3;
        return true;
    case D3DPT_TRIANGLESTRIP:
        mode = GL_TRIANGLE_STRIP;
        vertices = primitives + 2;
        return true;
    case D3DPT_TRIANGLEFAN:
        mode = GL_TRIANGLE_FAN;
        vertices = primitives + 2;
        return true;
    default:
        return false;
    }
}

} // namespace

bool PfGLDevice::PrepareFVFDraw()
{
    return PrepareDraw((m_FVF & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW);
}

void PfGLDevice::BindElementBuffer(uint32_t buffer)
{
    if (m_BoundElementBuffer == buffer)
        return;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
    m_BoundElementBuffer = buffer;
}

PfResult PfGLDevice::SetFVF(uint32_t fvf)
{
    if (!m_DeviceCreated)
        return D3DERR_INVALIDCALL;
    if (fvf != m_FVF)
    {
        FlushQuads();
        m_Dirty |= DIRTY_UNIFORMS;
    }
    m_FVF = fvf;
    if (fvf != 0 && m_Declaration)
    {
        m_Declaration = nullptr;
        m_Dirty |= DIRTY_UNIFORMS;
    }
    return D3D_OK;
}

PfResult PfGLDevice::SetVertexDeclaration(PfGLVertexDeclaration* declaration)
{
    if (!m_DeviceCreated)
        return D3DERR_INVALIDCALL;
    if (declaration && !declaration->IsCreated())
        return D3DERR_INVALIDCALL;
    if (declaration != m_Declaration || (declaration && m_FVF != 0))
    {
        // Batched quads were made for the FVF that this replaces.
        FlushQuads();
        m_Dirty |= DIRTY_UNIFORMS;
    }
    m_Declaration = declaration;
    if (declaration)
        m_FVF = 0;
    return D3D_OK;
}

uint32_t PfGLDevice::ShaderFVF() const
{
    return (m_FVF == 0 && m_Declaration) ? m_Declaration->GetEquivalentFVF() : m_FVF;
}

bool PfGLDevice::ReadsMemoryVertices(uint32_t stride) const
{
    return !(m_FVF == 0 && m_Declaration) || m_Declaration->ReadsFromMemory(stride);
}

void PfGLDevice::BindStreamedLayout(uint32_t stride)
{
    if (m_FVF == 0 && m_Declaration)
    {
        m_Declaration->BindMemoryLayout(m_StreamBuffer, stride, 0);
        // The device's vertex array no longer holds the layout BindVertexLayout remembers.
        m_LayoutBuffer = 0;
        m_LayoutFVF = 0xFFFFFFFF;
        return;
    }
    BindVertexLayout(m_StreamBuffer, m_FVF, stride, 0);
}

PfResult PfGLDevice::SetStreamSource(uint32_t stream, PfGLVertexBuffer* buffer, uint32_t offset, uint32_t stride)
{
    if (!m_DeviceCreated || stream >= 16)
        return D3DERR_INVALIDCALL;
    if (stream < DECLARED_STREAMS)
    {
        m_Streams[stream] = buffer;
        m_StreamOffsets[stream] = offset;
        m_StreamStrides[stream] = stride;
    }
    // Stream 0 feeds the FVF draws; streams 1 to 3 only a vertex declaration, the others are dropped.
    if (stream != 0)
        return D3D_OK;
    m_StreamSource = buffer;
    m_StreamSourceOffset = offset;
    m_StreamSourceStride = stride;
    return D3D_OK;
}

PfResult PfGLDevice::SetIndices(PfGLIndexBuffer* buffer)
{
    if (!m_DeviceCreated)
        return D3DERR_INVALIDCALL;
    m_Indices = buffer;
    return D3D_OK;
}

void PfGLDevice::BindVertexLayout(uint32_t buffer, uint32_t fvf, uint32_t stride, uintptr_t baseOffset)
{
    // Only the device's own streaming buffer may skip the layout: a caller's buffer may have been deleted and
    // its name given to a new one since the last draw.
    if (buffer == m_StreamBuffer && buffer == m_LayoutBuffer && fvf == m_LayoutFVF && stride == m_LayoutStride &&
        baseOffset == m_LayoutOffset)
        return;
    m_LayoutBuffer = buffer;
    m_LayoutFVF = fvf;
    m_LayoutStride = stride;
    m_LayoutOffset = baseOffset;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    uintptr_t offset = baseOffset;
    auto attribute = [&](GLuint index, bool present, GLint size, GLenum type, GLboolean normalized, uint32_t bytes)
    {
        if (!present)
        {
            glDisableVertexAttribArray(index);
            return;
        }
        glEnableVertexAttribArray(index);
        glVertexAttribPointer(index, size, type, normalized, (GLsizei)stride, (const void*)offset);
        offset += bytes;
    };
    const uint32_t position = fvf & D3DFVF_POSITION_MASK;
    if (position == D3DFVF_XYZRHW)
        attribute(PfGLShader::A_POSITION, true, 4, GL_FLOAT, GL_FALSE, 16);
    else
        attribute(PfGLShader::A_POSITION, true, 3, GL_FLOAT, GL_FALSE, 12);
    attribute(PfGLShader::A_NORMAL, (fvf & D3DFVF_NORMAL) != 0, 3, GL_FLOAT, GL_FALSE, 12);
    if (fvf & D3DFVF_PSIZE)
        offset += 4;
    // Packed ARGB colours are the bytes B, G, R, A: OpenGL's BGRA size.
    attribute(PfGLShader::A_DIFFUSE, (fvf & D3DFVF_DIFFUSE) != 0, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, 4);
    attribute(PfGLShader::A_SPECULAR, (fvf & D3DFVF_SPECULAR) != 0, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, 4);
    const uint32_t texCount = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    attribute(PfGLShader::A_TEX0, texCount >= 1, 2, GL_FLOAT, GL_FALSE, 8);
    attribute(PfGLShader::A_TEX1, texCount >= 2, 2, GL_FLOAT, GL_FALSE, 8);
    if (texCount < 1)
        glVertexAttrib2f(PfGLShader::A_TEX0, 0.0f, 0.0f);
    if (texCount < 2)
        glVertexAttrib2f(PfGLShader::A_TEX1, 0.0f, 0.0f);
}

bool PfGLDevice::StreamVertices(const void* data, uint32_t bytes, uint32_t stride, uint32_t& firstVertex)
{
    if (!data || bytes == 0 || stride == 0 || bytes > STREAM_BYTES)
        return false;
    // Vertices start on a multiple of the stride so one layout serves every draw of that stride.
    uint32_t offset = (m_StreamOffset + stride - 1) / stride * stride;
    glBindBuffer(GL_ARRAY_BUFFER, m_StreamBuffer);
    if (offset + bytes > m_StreamCapacity)
    {
        while (m_StreamCapacity < bytes)
            m_StreamCapacity *= 2;
        glBufferData(GL_ARRAY_BUFFER, m_StreamCapacity, nullptr, GL_STREAM_DRAW);
        offset = 0;
    }
    void* target = glMapBufferRange(GL_ARRAY_BUFFER, offset, bytes,
                                    GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
    if (!target)
        return false;
    std::memcpy(target, data, bytes);
    glUnmapBuffer(GL_ARRAY_BUFFER);
    m_StreamOffset = offset + bytes;
    firstVertex = offset / stride;
    return true;
}

bool PfGLDevice::StreamIndices(const void* data, uint32_t bytes, uint32_t& offset)
{
    if (!data || bytes == 0 || bytes > STREAM_INDEX_BYTES)
        return false;
    offset = (m_StreamIndexOffset + 3) & ~3u;
    BindElementBuffer(m_StreamIndexBuffer);
    if (offset + bytes > m_StreamIndexCapacity)
    {
        while (m_StreamIndexCapacity < bytes)
            m_StreamIndexCapacity *= 2;
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, m_StreamIndexCapacity, nullptr, GL_STREAM_DRAW);
        offset = 0;
    }
    glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, offset, bytes, data);
    m_StreamIndexOffset = offset + bytes;
    return true;
}

PfResult PfGLDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                                     uint32_t stride)
{
    FlushQuads();
    GLenum mode;
    uint32_t count;
    if (!vertices || primitiveCount == 0 || !PrimitiveMode(type, primitiveCount, mode, count))
        return D3DERR_INVALIDCALL;
    if (!m_DeviceCreated || !m_RenderTargets[0] || stride == 0 || (uint64_t)count * stride > STREAM_BYTES ||
        !ReadsMemoryVertices(stride))
        return D3DERR_INVALIDCALL;
    const FrameArgs args = {{(uint32_t)type, primitiveCount, stride, 0, 0, 0}, 0.0f};
    if (LogCommand(FrameOp::DRAW_UP, args, vertices, count * stride))
    {
        ++m_DrawCalls;
        return D3D_OK;
    }
    return DrawPrimitiveUPNow(type, primitiveCount, vertices, stride);
}

PfResult PfGLDevice::DrawPrimitiveUPNow(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                                        uint32_t stride)
{
    GLenum mode;
    uint32_t count;
    if (!PrimitiveMode(type, primitiveCount, mode, count))
        return D3DERR_INVALIDCALL;
    NoteVertexSpecular(vertices, count, stride);
    if (!PrepareFVFDraw())
        return D3DERR_INVALIDCALL;
    uint32_t first = 0;
    if (!StreamVertices(vertices, count * stride, stride, first))
        return D3DERR_INVALIDCALL;
    BindStreamedLayout(stride);
    glDrawArrays(mode, (GLint)first, (GLsizei)count);
    ++m_DrawCalls;
    return D3D_OK;
}

PfResult PfGLDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minIndex, uint32_t vertexCount,
                                            uint32_t primitiveCount, const void* indices, D3DFORMAT indexFormat,
                                            const void* vertices, uint32_t stride)
{
    FlushQuads();
    GLenum mode;
    uint32_t count;
    if (!vertices || !indices || primitiveCount == 0 || !PrimitiveMode(type, primitiveCount, mode, count))
        return D3DERR_INVALIDCALL;
    const uint32_t indexSize = indexFormat == D3DFMT_INDEX32 ? 4 : 2;
    const uint64_t vertexBytes = ((uint64_t)minIndex + vertexCount) * stride;
    if (!m_DeviceCreated || !m_RenderTargets[0] || stride == 0 || vertexBytes == 0 || vertexBytes > STREAM_BYTES ||
        (uint64_t)count * indexSize > STREAM_INDEX_BYTES || !ReadsMemoryVertices(stride))
        return D3DERR_INVALIDCALL;
    const FrameArgs args = {{(uint32_t)type, minIndex, vertexCount, primitiveCount, (uint32_t)indexFormat, stride},
                            0.0f};
    if (LogCommand(FrameOp::DRAW_INDEXED_UP, args, vertices, (uint32_t)vertexBytes, indices, count * indexSize))
    {
        ++m_DrawCalls;
        return D3D_OK;
    }
    return DrawIndexedPrimitiveUPNow(type, minIndex, vertexCount, primitiveCount, indices, indexFormat, vertices,
                                     stride);
}

PfResult PfGLDevice::DrawIndexedPrimitiveUPNow(D3DPRIMITIVETYPE type, uint32_t minIndex, uint32_t vertexCount,
                                               uint32_t primitiveCount, const void* indices, D3DFORMAT indexFormat,
                                               const void* vertices, uint32_t stride)
{
    GLenum mode;
    uint32_t count;
    if (!PrimitiveMode(type, primitiveCount, mode, count))
        return D3DERR_INVALIDCALL;
    const uint32_t indexSize = indexFormat == D3DFMT_INDEX32 ? 4 : 2;
    NoteVertexSpecular(vertices, minIndex + vertexCount, stride);
    if (!PrepareFVFDraw())
        return D3DERR_INVALIDCALL;
    uint32_t first = 0, indexOffset = 0;
    if (!StreamVertices(vertices, (minIndex + vertexCount) * stride, stride, first) ||
        !StreamIndices(indices, count * indexSize, indexOffset))
        return D3DERR_INVALIDCALL;
    BindStreamedLayout(stride);
    glDrawElementsBaseVertex(mode, (GLsizei)count, indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                             (const void*)(uintptr_t)indexOffset, (GLint)first);
    ++m_DrawCalls;
    return D3D_OK;
}

PfResult PfGLDevice::DrawQuadsUP(uint32_t quadCount, const void* vertices, uint32_t stride)
{
    if (!vertices || quadCount == 0 || stride == 0 || stride > STREAM_BYTES / 4)
        return D3DERR_INVALIDCALL;
    if (!m_DeviceCreated || !m_RenderTargets[0] || !ReadsMemoryVertices(stride))
        return D3DERR_INVALIDCALL;
    const uint64_t bytes = (uint64_t)quadCount * 4 * stride;
    const FrameArgs args = {{quadCount, stride, 0, 0, 0, 0}, 0.0f};
    if (bytes <= 0xFFFFFFFFu && LogCommand(FrameOp::DRAW_QUADS, args, vertices, (uint32_t)bytes))
    {
        // As many calls as drawing them now would make.
        const uint32_t perBatch = std::min(MAX_BATCH_QUADS, STREAM_BYTES / (4 * stride));
        m_DrawCalls += (quadCount + perBatch - 1) / perBatch;
        return D3D_OK;
    }
    return DrawQuadsUPNow(quadCount, vertices, stride);
}

PfResult PfGLDevice::DrawQuadsUPNow(uint32_t quadCount, const void* vertices, uint32_t stride)
{
    NoteVertexSpecular(vertices, quadCount * 4, stride);
    if (!PrepareFVFDraw())
        return D3DERR_INVALIDCALL;
    const uint8_t* bytes = (const uint8_t*)vertices;
    const uint32_t perBatch = std::min(MAX_BATCH_QUADS, STREAM_BYTES / (4 * stride));
    while (quadCount > 0)
    {
        const uint32_t n = std::min(quadCount, perBatch);
        uint32_t first = 0;
        if (!StreamVertices(bytes, n * 4 * stride, stride, first))
            return D3DERR_INVALIDCALL;
        BindStreamedLayout(stride);
        BindElementBuffer(m_QuadIndexBuffer);
        glDrawElementsBaseVertex(GL_TRIANGLES, (GLsizei)(n * 6), GL_UNSIGNED_SHORT, nullptr, (GLint)first);
        ++m_DrawCalls;
        bytes += (size_t)n * 4 * stride;
        quadCount -= n;
    }
    return D3D_OK;
}

PfResult PfGLDevice::QueueQuadsUP(uint32_t quadCount, const void* vertices, uint32_t stride)
{
    if (!m_DeviceCreated || !vertices || quadCount == 0 || stride == 0)
        return D3DERR_INVALIDCALL;
    if (m_QueuedQuadCount > 0 && (stride != m_QueuedStride || m_QueuedQuadCount + quadCount > MAX_QUEUED_QUADS ||
                                  std::memcmp(m_QueuedTextures, m_Textures, sizeof(m_Textures)) != 0))
        FlushQuads();
    if (m_QueuedQuadCount == 0)
        std::memcpy(m_QueuedTextures, m_Textures, sizeof(m_Textures));
    m_QueuedStride = stride;
    const size_t bytes = (size_t)quadCount * 4 * stride;
    const size_t at = (size_t)m_QueuedQuadCount * 4 * stride;
    // The queue keeps its memory from frame to frame.
    if (m_QueuedQuads.size() < at + bytes)
        m_QueuedQuads.resize(at + bytes);
    std::memcpy(m_QueuedQuads.data() + at, vertices, bytes);
    m_QueuedQuadCount += quadCount;
    return D3D_OK;
}

void PfGLDevice::FlushQuads()
{
    // Only the thread that draws may send; a movie thread locking a texture leaves the queue alone.
    if (m_QueuedQuadCount == 0 || SDL_GL_GetCurrentContext() != (SDL_GLContext)m_Context)
        return;
    const uint32_t count = m_QueuedQuadCount;
    m_QueuedQuadCount = 0;
    if (std::memcmp(m_QueuedTextures, m_Textures, sizeof(m_Textures)) == 0)
    {
        DrawQuadsUP(count, m_QueuedQuads.data(), m_QueuedStride);
        return;
    }
    // The textures changed after the quads were queued: they are drawn with the ones they were queued
    // under, and the current ones come back for what follows.
    PfGLTexture* current[PF_STAGE_COUNT];
    std::memcpy(current, m_Textures, sizeof(m_Textures));
    std::memcpy(m_Textures, m_QueuedTextures, sizeof(m_Textures));
    m_Dirty |= DIRTY_UNIFORMS;
    DrawQuadsUP(count, m_QueuedQuads.data(), m_QueuedStride);
    std::memcpy(m_Textures, current, sizeof(m_Textures));
    m_Dirty |= DIRTY_UNIFORMS;
}

void PfGLDevice::CaptureBufferBinding(BufferBinding& binding, BufferDraw kind, uint32_t type) const
{
    // Compared byte for byte: the padding too.
    std::memset(&binding, 0, sizeof(binding));
    binding.Kind = kind;
    binding.Type = type;
    for (uint32_t s = 0; s < DECLARED_STREAMS; ++s)
    {
        binding.Streams[s] = m_Streams[s];
        binding.Offsets[s] = m_StreamOffsets[s];
        binding.Strides[s] = m_StreamStrides[s];
        if (m_Streams[s])
        {
            binding.StreamGenerations[s] = m_Streams[s]->GetContentGeneration();
            m_Streams[s]->SetFrameStamp(m_FrameSerial);
        }
    }
    binding.Indices = m_Indices;
    if (m_Indices)
    {
        binding.IndexGeneration = m_Indices->GetContentGeneration();
        m_Indices->SetFrameStamp(m_FrameSerial);
    }
    binding.Declaration = m_Declaration;
}

PfResult PfGLDevice::PlayBufferDraw(const FrameArgs& args, const BufferBinding& binding)
{
    // The streams, indices and declaration the draw was written down with, for the draw alone.
    PfGLVertexBuffer* streams[DECLARED_STREAMS];
    uint32_t offsets[DECLARED_STREAMS], strides[DECLARED_STREAMS];
    std::memcpy(streams, m_Streams, sizeof(streams));
    std::memcpy(offsets, m_StreamOffsets, sizeof(offsets));
    std::memcpy(strides, m_StreamStrides, sizeof(strides));
    PfGLIndexBuffer* const indices = m_Indices;
    PfGLVertexDeclaration* const declaration = m_Declaration;
    std::memcpy(m_Streams, binding.Streams, sizeof(m_Streams));
    std::memcpy(m_StreamOffsets, binding.Offsets, sizeof(m_StreamOffsets));
    std::memcpy(m_StreamStrides, binding.Strides, sizeof(m_StreamStrides));
    m_Indices = binding.Indices;
    m_Declaration = binding.Declaration;
    PfGLVertexBuffer* const source = m_StreamSource;
    const uint32_t sourceOffset = m_StreamSourceOffset, sourceStride = m_StreamSourceStride;
    m_StreamSource = m_Streams[0];
    m_StreamSourceOffset = m_StreamOffsets[0];
    m_StreamSourceStride = m_StreamStrides[0];
    m_Dirty |= DIRTY_UNIFORMS;
    const uint32_t* a = args.A;
    const PfResult hr =
        binding.Kind == BufferDraw::PRIMITIVE
            ? DrawPrimitiveNow((D3DPRIMITIVETYPE)binding.Type, a[0], a[1])
            : DrawIndexedPrimitiveNow((D3DPRIMITIVETYPE)binding.Type, (int32_t)a[0], a[1], a[2], a[3], a[4]);
    std::memcpy(m_Streams, streams, sizeof(m_Streams));
    std::memcpy(m_StreamOffsets, offsets, sizeof(m_StreamOffsets));
    std::memcpy(m_StreamStrides, strides, sizeof(m_StreamStrides));
    m_Indices = indices;
    m_Declaration = declaration;
    m_StreamSource = source;
    m_StreamSourceOffset = sourceOffset;
    m_StreamSourceStride = sourceStride;
    m_Dirty |= DIRTY_UNIFORMS;
    return hr;
}

PfResult PfGLDevice::DrawPrimitive(D3DPRIMITIVETYPE type, uint32_t startVertex, uint32_t primitiveCount)
{
    FlushQuads();
    const PfResult checked = DrawPrimitiveNow(type, startVertex, primitiveCount, true);
    if (PfFailed(checked))
        return checked;
    BufferBinding binding;
    CaptureBufferBinding(binding, BufferDraw::PRIMITIVE, (uint32_t)type);
    const FrameArgs args = {{startVertex, primitiveCount, 0, 0, 0, 0}, 0.0f};
    if (LogCommand(FrameOp::DRAW_BUFFERS, args, &binding, sizeof(binding)))
    {
        ++m_DrawCalls;
        return D3D_OK;
    }
    return DrawPrimitiveNow(type, startVertex, primitiveCount);
}

PfResult PfGLDevice::DrawPrimitiveNow(D3DPRIMITIVETYPE type, uint32_t startVertex, uint32_t primitiveCount, bool check)
{
    GLenum mode;
    uint32_t count;
    if (m_Declaration && m_FVF == 0)
    {
        if (primitiveCount == 0 || !PrimitiveMode(type, primitiveCount, mode, count))
            return D3DERR_INVALIDCALL;
        return DrawDeclared(mode, startVertex, count, check);
    }
    if (!m_StreamSource || !m_StreamSource->IsCreated() || m_StreamSourceStride == 0 || primitiveCount == 0 ||
        !PrimitiveMode(type, primitiveCount, mode, count))
        return D3DERR_INVALIDCALL;
    if (m_StreamSourceOffset + (uint64_t)(startVertex + count) * m_StreamSourceStride > m_StreamSource->GetLength())
        return D3DERR_INVALIDCALL;
    if (check)
        return D3D_OK;
    if (!PrepareFVFDraw())
        return D3DERR_INVALIDCALL;
    BindVertexLayout(m_StreamSource->GetGLName(), m_FVF, m_StreamSourceStride, m_StreamSourceOffset);
    glDrawArrays(mode, (GLint)startVertex, (GLsizei)count);
    ++m_DrawCalls;
    return D3D_OK;
}

PfResult PfGLDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int32_t baseVertex, uint32_t minIndex,
                                          uint32_t vertexCount, uint32_t startIndex, uint32_t primitiveCount)
{
    FlushQuads();
    const PfResult checked =
        DrawIndexedPrimitiveNow(type, baseVertex, minIndex, vertexCount, startIndex, primitiveCount, true);
    if (PfFailed(checked))
        return checked;
    BufferBinding binding;
    CaptureBufferBinding(binding, BufferDraw::INDEXED, (uint32_t)type);
    const FrameArgs args = {{(uint32_t)baseVertex, minIndex, vertexCount, startIndex, primitiveCount, 0}, 0.0f};
    if (LogCommand(FrameOp::DRAW_BUFFERS, args, &binding, sizeof(binding)))
    {
        ++m_DrawCalls;
        return D3D_OK;
    }
    return DrawIndexedPrimitiveNow(type, baseVertex, minIndex, vertexCount, startIndex, primitiveCount);
}

PfResult PfGLDevice::DrawIndexedPrimitiveNow(D3DPRIMITIVETYPE type, int32_t baseVertex, uint32_t minIndex,
                                             uint32_t vertexCount, uint32_t startIndex, uint32_t primitiveCount,
                                             bool check)
{
    GLenum mode;
    uint32_t count;
    if (m_Declaration && m_FVF == 0)
    {
        if (primitiveCount == 0 || !PrimitiveMode(type, primitiveCount, mode, count))
            return D3DERR_INVALIDCALL;
        return DrawIndexedDeclared(mode, count, baseVertex, minIndex, vertexCount, startIndex, check);
    }
    (void)minIndex;
    (void)vertexCount;
    if (!m_StreamSource || !m_StreamSource->IsCreated() || !m_Indices || !m_Indices->IsCreated() ||
        m_StreamSourceStride == 0 || primitiveCount == 0 || !PrimitiveMode(type, primitiveCount, mode, count))
        return D3DERR_INVALIDCALL;
    const uint32_t indexSize = m_Indices->GetIndexSize();
    if ((uint64_t)(startIndex + count) * indexSize > m_Indices->GetLength())
        return D3DERR_INVALIDCALL;
    if (check)
        return D3D_OK;
    if (!PrepareFVFDraw())
        return D3DERR_INVALIDCALL;
    BindVertexLayout(m_StreamSource->GetGLName(), m_FVF, m_StreamSourceStride, m_StreamSourceOffset);
    BindElementBuffer(m_Indices->GetGLName());
    glDrawElementsBaseVertex(mode, (GLsizei)count, indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                             (const void*)(uintptr_t)(startIndex * indexSize), baseVertex);
    ++m_DrawCalls;
    return D3D_OK;
}

PfResult PfGLDevice::DrawIndexedDeclared(uint32_t mode, uint32_t count, int32_t baseVertex, uint32_t minIndex,
                                         uint32_t vertexCount, uint32_t startIndex, bool check)
{
    if (!m_Indices || !m_Indices->IsCreated() || baseVertex < 0)
        return D3DERR_INVALIDCALL;
    const uint32_t indexSize = m_Indices->GetIndexSize();
    if ((uint64_t)(startIndex + (uint64_t)count) * indexSize > m_Indices->GetLength())
        return D3DERR_INVALIDCALL;
    // The caller vouches that its indices stay below minIndex + vertexCount.
    if (!DeclaredStreamsHold((uint64_t)baseVertex + minIndex + vertexCount))
        return D3DERR_INVALIDCALL;
    return DrawThroughDeclaration(
        check,
        [&]()
        {
            glDrawElementsBaseVertex((GLenum)mode, (GLsizei)count, indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                                     (const void*)(uintptr_t)(startIndex * indexSize), baseVertex);
        });
}

PfResult PfGLDevice::DrawThroughDeclaration(bool check, const std::function<void()>& draw)
{
    if (check)
        return D3D_OK;
    if (!PrepareDraw(false))
        return D3DERR_INVALIDCALL;
    m_Declaration->Bind(m_Streams, m_StreamOffsets, m_StreamStrides, m_Indices);
    draw();
    // Back to the device's own vertex array, whose bindings the other draws rely on.
    glBindVertexArray(m_VertexArray);
    ++m_DrawCalls;
    return D3D_OK;
}

bool PfGLDevice::DeclaredStreamsHold(uint64_t vertexEnd) const
{
    // Every stream the shader reads must hold the vertices below vertexEnd.
    for (uint32_t s = 0; s < DECLARED_STREAMS; ++s)
    {
        if (!(m_Declaration->GetUsedStreams() & (1u << s)))
            continue;
        PfGLVertexBuffer* buffer = m_Streams[s];
        const uint32_t stride = m_StreamStrides[s];
        if (!buffer || !buffer->IsCreated() || stride < m_Declaration->GetStreamExtent(s) || vertexEnd == 0)
            return false;
        if (m_StreamOffsets[s] + (vertexEnd - 1) * stride + m_Declaration->GetStreamExtent(s) > buffer->GetLength())
            return false;
    }
    return true;
}

PfResult PfGLDevice::DrawDeclared(uint32_t mode, uint32_t startVertex, uint32_t count, bool check)
{
    if (!DeclaredStreamsHold((uint64_t)startVertex + count))
        return D3DERR_INVALIDCALL;
    return DrawThroughDeclaration(check, [&]() { glDrawArrays((GLenum)mode, (GLint)startVertex, (GLsizei)count); });
}
