// Drawing of a mesh subset: its part's world matrix, the material's colours, eight texture stages and
// blend preset, then one indexed triangle list from its own buffers.
#include "graphics/GxMeshSubset.h"

#include "graphics/GxGraphics.h"
#include "graphics/GxMaterialSet.h"
#include "graphics/GxMesh.h"
#include "graphics/GxModelState.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLIndexBuffer.h"
#include "platform/PfGLVertexBuffer.h"
#include "platform/PfGLVertexDeclaration.h"

const GxMaterial& GxMeshSubset::SelectMaterial(const GxMaterialSet& set, const GxMaterial* material) const
{
    if (material)
        return *material;
    if (m_MaterialIndex >= 0 && (uint32_t)m_MaterialIndex < set.GetCount())
        return set.GetMaterial((uint32_t)m_MaterialIndex);
    return GxMaterial::GetDefault();
}

bool GxMeshSubset::Bind()
{
    PfGLDevice* device = GxGraphics::GetDevice();
    device->SetFVF(0);
    device->SetVertexDeclaration(m_pDeclaration);
    device->SetIndices(m_pIndexBuffer);
    switch (m_DeclKind)
    {
    case 1:
    case 2:
    case 3:
    case 4:
        device->SetStreamSource(0, m_pLayerDefault, 0, 28);
        device->SetStreamSource(1, m_pLayerUV[0], 0, 8);
        if (m_DeclKind == 2 || m_DeclKind == 4)
            device->SetStreamSource(2, m_pLayerBoneWeight, 0, 16);
        else if (m_DeclKind == 3)
            device->SetStreamSource(2, m_pLayerTangent, 0, 12);
        if (m_DeclKind == 4)
            device->SetStreamSource(3, m_pLayerTangent, 0, 12);
        return true;
    case 5:
        device->SetStreamSource(0, m_pLayerLegacy, 0, 52);
        return true;
    default:
        return false;
    }
}

bool GxMeshSubset::Draw(const GxMesh& mesh, const GxMaterialSet& set, const GxModelState& state, int32_t group,
                        int32_t blend, const GxMaterial* material, float alpha)
{
    PfGLDevice* device = GxGraphics::GetDevice();
    if (!device || !device->IsCreated())
        return false;
    // Meshes naming no part are emptied at load; the guard keeps hand-built structures safe as well.
    if (mesh.m_PartsIndex < 0 || (size_t)mesh.m_PartsIndex >= state.m_Parts.size())
        return false;
    GxGraphics::SetWorldMatrix(state.m_Parts[(size_t)mesh.m_PartsIndex].m_WorldMatrix);

    const GxMaterial& m = SelectMaterial(set, material);
    const D3DMATERIAL9 d3dMaterial = m.ToD3DMaterial(alpha);
    if (group != -1 && (uint32_t)group != m.m_DrawGroup)
        return true;
    device->SetMaterial(d3dMaterial);
    for (uint32_t stage = 0; stage < GxMaterial::MAX_TEXTURES; ++stage)
        GxGraphics::SetTexture(stage, m.GetD3DTexture(stage));
    GxGraphics::SetBlendMode(0, blend != 0 ? (uint32_t)blend : m.m_BlendMode);

    // A subset loading found unsafe (indices past its vertices, more triangles than indices, missing
    // buffers) never reaches the device.
    if (!m_Drawable)
        return false;
    bool drawn = false;
    if (Bind())
        drawn = PfSucceeded(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, m_VertexCount, 0, m_PolygonCount));
    for (uint32_t stream = 0; stream < 4; ++stream)
        device->SetStreamSource(stream, nullptr, 0, 0);
    return drawn;
}
