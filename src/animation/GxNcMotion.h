#pragma once

#include "animation/GxNcEventKey.h"
#include "animation/GxNcLayer.h"
#include "animation/GxNcSoundKey.h"
#include "core/GxSimpleTree.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class GxContentReaderBase;
class GxNcCallbackBase;

// One motion: layers in file order (a layer's position is its index), the tree that parents them, one
// list of sound keys and four channels of event keys.
class GxNcMotion
{
public:
    static constexpr int kEventChannels = 4;

    // Reads the motion's values in file order; nothing once the reader has counted an error, and nothing
    // after the layer list when that failed. The layer tree's nodes are linked to layers by name.
    void Read(GxContentReaderBase& reader);
    void Clear();

    // The position of the first layer named exactly so (and the layer), or -1 (and null).
    int32_t FindLayer(const std::wstring& name, GxNcLayer** layer = nullptr) const;
    int32_t GetLayerCount() const { return static_cast<int32_t>(m_Layers.size()); }
    GxNcLayer* GetLayer(int32_t index) const { return m_Layers[index].get(); }

    // Fires the sound key and the event keys found at exactly the time: the sound key with
    // (owner, 0, 0, key), then channels 0 to 3 with (owner, 0, channel, key). Nothing without a callback.
    static void InvokeCallbacks(void* owner, const GxNcMotion* motion, int32_t time, GxNcCallbackBase* callback);
    // The key of the list at exactly the time, or null.
    static const GxNcSoundKey* FindSoundKey(const std::vector<GxNcSoundKey>& keys, int32_t time);
    static const GxNcEventKey* FindEventKey(const std::vector<GxNcEventKey>& keys, int32_t time);

    std::wstring m_MotionName;
    std::wstring m_EnumName;
    uint32_t m_MotionID = 0;
    int32_t m_TotalDuration = 0;
    int32_t m_StartTime = 0;
    int32_t m_PlayTime = 0;
    int32_t m_EndTime = 0;
    GxSimpleTree m_LayerTree; // of GxNcLayerNode
    std::vector<std::unique_ptr<GxNcLayer>> m_Layers;
    std::vector<GxNcSoundKey> m_SoundKeys;
    std::vector<GxNcEventKey> m_EventKeys[kEventChannels];

private:
    void ReadLayerTree(GxContentReaderBase& reader);
    void LinkLayerTree();
};
