#include "animation/GxNcMotion.h"

#include "animation/GxNcCallbackBase.h"
#include "animation/GxNcKey.h"
#include "animation/GxNcLayerNode.h"
#include "core/GxContentReaderBase.h"
#include "core/GxLog.h"

#include <string_view>
#include <unordered_map>

namespace
{

// Nothing is read once a value has failed: the loader throws a damaged project away. Counts are held to
// what the bytes left can hold at each key's least size.
void ReadKeys(GxContentReaderBase& r, std::vector<GxNcSoundKey>& keys)
{
    if (r.GetErrorCount() != 0)
        return;
    uint32_t count = 0;
    r.ListBegin("", count,
                r.LeastSize({g_ContentValueS32, g_ContentValueString, g_ContentValueU32, g_ContentValueU32}));
    keys.reserve(count < 256 ? count : 256);
    for (uint32_t i = 0; i < count; ++i)
    {
        GxNcSoundKey key;
        r.ListItemBegin();
        r.Read("m_Time", key.m_Time);
        r.ReadString("m_SoundName", key.m_SoundName);
        r.Read("m_InterMode", key.m_InterMode);
        r.Read("m_Selected", key.m_Selected);
        r.ListItemEnd();
        keys.push_back(std::move(key));
        if (r.GetErrorCount() != 0)
            break; // the loader throws a damaged project away
    }
    r.ListEnd();
}

void ReadKeys(GxContentReaderBase& r, std::vector<GxNcEventKey>& keys)
{
    if (r.GetErrorCount() != 0)
        return;
    uint32_t count = 0;
    r.ListBegin("", count,
                r.LeastSize({g_ContentValueS32, g_ContentValueS32, g_ContentValueU32, g_ContentValueString,
                             g_ContentValueU32, g_ContentValueF32, g_ContentValueF32, g_ContentValueU32}));
    keys.reserve(count < 256 ? count : 256);
    for (uint32_t i = 0; i < count; ++i)
    {
        GxNcEventKey key;
        r.ListItemBegin();
        r.Read("m_Time", key.m_Time);
        r.Read("m_EventID", key.m_EventID);
        r.Read("m_AfterCallFlag", key.m_AfterCallFlag);
        r.ReadString("m_Param", key.m_Param);
        r.Read("m_InterMode", key.m_InterMode);
        r.Read("m_InterParam0", key.m_InterParam0);
        r.Read("m_InterParam1", key.m_InterParam1);
        r.Read("m_Selected", key.m_Selected);
        r.ListItemEnd();
        keys.push_back(std::move(key));
        if (r.GetErrorCount() != 0)
            break; // the loader throws a damaged project away
    }
    r.ListEnd();
}

template <typename Key> const Key* FindExact(const std::vector<Key>& keys, int32_t time)
{
    if (keys.empty())
        return nullptr;
    const int32_t i = GxNcKey::FindKeyIndex<Key>(0, keys.data(), static_cast<int32_t>(keys.size()), time);
    return keys[i].m_Time == time ? &keys[i] : nullptr;
}

} // namespace

void GxNcMotion::Read(GxContentReaderBase& r)
{
    if (r.GetErrorCount() != 0)
        return;
    r.ReadString("m_MotionName", m_MotionName);
    r.ReadString("m_EnumName", m_EnumName);
    r.Read("m_MotionID", m_MotionID);
    r.Read("m_TotalDuration", m_TotalDuration);
    r.Read("m_StartTime", m_StartTime);
    r.Read("m_PlayTime", m_PlayTime);
    r.Read("m_EndTime", m_EndTime);

    // A layer is at least its names, its 19 numbers and its eleven key lists, empty.
    const uint64_t leastLayer =
        r.LeastSize({g_ContentValueString, g_ContentValueString, g_ContentValueU32, g_ContentValueS32,
                     g_ContentValueU32, g_ContentValueU32, g_ContentValueS32}) +
        14 * r.LeastSize({g_ContentValueU32}) + 11 * r.LeastSize({g_ContentValueEmptyList});
    uint32_t count = 0;
    r.ListBegin("m_LayerList", count, leastLayer);
    m_Layers.reserve(count < 256 ? count : 256);
    for (uint32_t i = 0; i < count; ++i)
    {
        m_Layers.push_back(std::make_unique<GxNcLayer>());
        r.ListItemBegin();
        m_Layers.back()->Read(r);
        r.ListItemEnd();
        if (r.GetErrorCount() != 0)
            break; // the loader throws a damaged project away
    }
    r.ListEnd();
    if (r.GetErrorCount() != 0)
        return;

    ReadKeys(r, m_SoundKeys);
    for (std::vector<GxNcEventKey>& channel : m_EventKeys)
        ReadKeys(r, channel);
    ReadLayerTree(r);
}

// The tree is stored as nested strata: a chain of sibling strata, each holding its name and index and then,
// when a stratum follows at once, the chain of its children before its own end. Authoring tools nest as deep
// as they like, so the strata are followed with a stack of open nodes instead of recursion. A node enters
// the tree only when its stratum closes, while its parent is still detached: the tree's insertion checks then
// look at a detached parent instead of walking the whole ancestry, which keeps deep trees linear.
void GxNcMotion::ReadLayerTree(GxContentReaderBase& r)
{
    struct Open
    {
        GxNcLayerNode* m_Node;
        GxNcLayerNode* m_LastChild;
    };
    std::vector<Open> open;
    GxNcLayerNode* lastTop = nullptr;
    auto close = [&]()
    {
        GxNcLayerNode* node = open.back().m_Node;
        open.pop_back();
        if (!open.empty())
        {
            Open& parent = open.back();
            if (parent.m_LastChild)
                m_LayerTree.InsertNext(parent.m_LastChild, node, GxSimpleTree::InsertMode::Before);
            else
                m_LayerTree.InsertChild(parent.m_Node, node, GxSimpleTree::InsertMode::Before);
            parent.m_LastChild = node;
        }
        else
        {
            if (lastTop)
                m_LayerTree.InsertNext(lastTop, node, GxSimpleTree::InsertMode::Before);
            else
                m_LayerTree.SetRoot(node, GxSimpleTree::InsertMode::Before);
            lastTop = node;
        }
    };

    r.TreeBegin("m_LayerTree");
    for (;;)
    {
        // No stratum is opened after a failed read: the open ones are closed and the tree ends.
        if (r.PeekValueType() == VALTYPE_TreeStratumBegin && r.GetErrorCount() == 0)
        {
            r.TreeStratumBegin();
            GxNcLayerNode* node = new GxNcLayerNode();
            open.push_back({node, nullptr});
            r.ReadString("m_LayerName", node->m_LayerName);
            r.Read("m_LayerIndex", node->m_LayerIndex);
        }
        else if (!open.empty())
        {
            // The end of the innermost open stratum (also taken when the data is damaged, so every node
            // still reaches the tree and nothing leaks).
            r.TreeStratumEnd();
            close();
        }
        else
        {
            break;
        }
    }
    r.TreeEnd();
    LinkLayerTree();
}

void GxNcMotion::LinkLayerTree()
{
    if (!m_LayerTree.GetRoot())
        return;
    // Layer positions by name, the first layer of a name winning, as the linear lookup finds it.
    std::unordered_map<std::wstring_view, int32_t> byName;
    byName.reserve(m_Layers.size());
    for (size_t i = 0; i < m_Layers.size(); ++i)
        byName.emplace(m_Layers[i]->m_LayerName, static_cast<int32_t>(i));
    // Depth first: a node, its children, then its next sibling.
    std::vector<GxSimpleNode*> pending;
    if (m_LayerTree.GetRoot())
        pending.push_back(m_LayerTree.GetRoot());
    while (!pending.empty())
    {
        GxNcLayerNode* node = static_cast<GxNcLayerNode*>(pending.back());
        pending.pop_back();
        if (node->GetNextSibling())
            pending.push_back(node->GetNextSibling());
        if (node->GetFirstChild())
            pending.push_back(node->GetFirstChild());
        const auto it = byName.find(node->m_LayerName);
        node->m_LayerIndex = it == byName.end() ? -1 : it->second;
        node->m_pLayer = it == byName.end() ? nullptr : m_Layers[it->second].get();
        if (node->m_LayerIndex < 0)
            GxLog::Error(L"LayerNotFound:%ls\n", node->m_LayerName.c_str());
    }
}

void GxNcMotion::Clear()
{
    m_MotionName.clear();
    m_EnumName.clear();
    m_MotionID = 0;
    m_TotalDuration = m_StartTime = m_PlayTime = m_EndTime = 0;
    m_LayerTree.Clear();
    m_Layers.clear();
    m_SoundKeys.clear();
    for (std::vector<GxNcEventKey>& channel : m_EventKeys)
        channel.clear();
}

int32_t GxNcMotion::FindLayer(const std::wstring& name, GxNcLayer** layer) const
{
    for (size_t i = 0; i < m_Layers.size(); ++i)
    {
        if (m_Layers[i]->m_LayerName == name)
        {
            if (layer)
                *layer = m_Layers[i].get();
            return static_cast<int32_t>(i);
        }
    }
    if (layer)
        *layer = nullptr;
    return -1;
}

const GxNcSoundKey* GxNcMotion::FindSoundKey(const std::vector<GxNcSoundKey>& keys, int32_t time)
{
    return FindExact(keys, time);
}

const GxNcEventKey* GxNcMotion::FindEventKey(const std::vector<GxNcEventKey>& keys, int32_t time)
{
    return FindExact(keys, time);
}

void GxNcMotion::InvokeCallbacks(void* owner, const GxNcMotion* motion, int32_t time, GxNcCallbackBase* callback)
{
    if (!callback || !motion)
        return;
    if (const GxNcSoundKey* key = FindSoundKey(motion->m_SoundKeys, time))
        callback->OnSoundKey(owner, 0, 0, *key);
    for (int channel = 0; channel < kEventChannels; ++channel)
    {
        if (const GxNcEventKey* key = FindEventKey(motion->m_EventKeys[channel], time))
            callback->OnEventKey(owner, 0, channel, *key);
    }
}
