#include "graphics/GxModel.h"

#include "core/GxLog.h"
#include "graphics/GxGraphics.h"

GxModel::GxModel()
    : m_pParts(std::make_unique<GxModelParts>()), m_pMaterialSet(std::make_unique<GxMaterialSet>()),
      m_pState(std::make_unique<GxModelState>())
{
}

GxModel::~GxModel()
{
    Release();
}

void GxModel::ClearGeometry()
{
    m_pParts->m_PartsList.clear();
    m_pParts->m_Skeleton.Clear();
    m_pMeshes.reset();
    m_MeshCount = 0;
    m_Name.clear();
}

void GxModel::Release()
{
    ClearGeometry();
    m_pMaterialSet->Clear();
    m_pState->m_Parts.clear();
    m_pState->m_pModel = nullptr;
}

bool GxModel::LoadMaterial(const std::wstring& path)
{
    return m_pMaterialSet->Load(path);
}

bool GxModel::LoadTexture(const std::wstring& folder, int32_t mip, int32_t arg6, int32_t arg7)
{
    if (m_pMaterialSet->LoadTextures(folder, mip, arg6, arg7))
        return true;
    GxLog::Error(L"err:The error occurred when the texture of the model[%s] was read\n", m_Name.c_str());
    return false;
}

void GxModel::ComputeBoneOffsets(GxMesh* meshes, uint32_t meshCount, GxModelParts& parts)
{
    for (uint32_t i = 0; i < meshCount; ++i)
    {
        for (GxLocalBone& bone : meshes[i].m_LocalBones)
        {
            bone.m_InverseLinkMatrix = bone.m_TransformLinkMatrix;
            bone.m_InverseLinkMatrix.Inverse();
            // Bones that name no part were dropped when the file was read; this guard keeps the
            // computation safe for structures built by hand.
            if (bone.m_PartsIndex < 0 || (size_t)bone.m_PartsIndex >= parts.m_PartsList.size())
                continue;
            parts.m_PartsList[(size_t)bone.m_PartsIndex].m_InitPoseMatrix.Multiply(bone.m_InverseLinkMatrix,
                                                                                   bone.m_BoneOffsetMatrix);
        }
    }
}

void GxModel::SetWorldMatrix(const GxMatrix& world)
{
    GxModelState& state = *m_pState;
    state.m_World = world;
    state.m_View = GxGraphics::GetViewMatrix();
    state.m_Projection = GxGraphics::GetProjectionMatrix();
    state.m_View.Multiply(state.m_Projection, state.m_ViewProjection);
    state.m_pModel = this;
    const std::vector<GxParts>& parts = m_pParts->m_PartsList;
    if (state.m_Parts.size() != parts.size())
        state.m_Parts.assign(parts.size(), GxModelGeometryPart{});
    for (size_t i = 0; i < parts.size(); ++i)
    {
        const GxParts& part = parts[i];
        GxModelGeometryPart& r = state.m_Parts[i];
        r.m_pParts = &part;
        r.m_LocalRot.SetIdentity();
        r.m_LocalScale = GxVector3(1.0f, 1.0f, 1.0f);
        r.m_LocalTrans = GxVector3();
        GxMatrix local;
        if (part.m_PartsType == GxParts::TYPE_MESH && part.m_EntityIndex >= 0 &&
            (uint32_t)part.m_EntityIndex < m_MeshCount)
            m_pMeshes[(uint32_t)part.m_EntityIndex].m_GeometricPoseMatrix.Multiply(part.m_FirstFramePoseMatrix, local);
        else
            local = part.m_FirstFramePoseMatrix;
        local.Multiply(world, r.m_WorldMatrix);
        r.m_InvWorldMatrix = r.m_WorldMatrix;
        r.m_InvWorldMatrix.Inverse();
    }
}

void GxModel::Draw(int32_t group, int32_t blend, const GxMaterial* material)
{
    for (uint32_t i = 0; i < m_MeshCount; ++i)
        m_pMeshes[i].Draw(*m_pMaterialSet, *m_pState, group, blend, material, 1.0f);
}
