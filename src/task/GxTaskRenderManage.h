#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class GxTaskBase;

// Insertion modes of a draw registration.
enum GxRenderInsertMode : int32_t
{
    GX_RENDER_DEFAULT = 0,        // the list's default mode
    GX_RENDER_BACK = 1,           // at the end
    GX_RENDER_FRONT = 2,          // at the front
    GX_RENDER_ASCEND = 3,         // ascending keys, after equal keys
    GX_RENDER_DESCEND = 4,        // descending keys, after equal keys
    GX_RENDER_ASCEND_BEFORE = 5,  // ascending keys, before equal keys
    GX_RENDER_DESCEND_BEFORE = 6, // descending keys, before equal keys
};

// One layer's draw list: tasks registered with a depth key and a parameter during the draw-registration
// walk, drawn in list order at the end of the frame.
class GxTaskRenderManage
{
public:
    struct Entry
    {
        GxTaskBase* task;
        float key;
        int32_t param;
        int32_t reserved; // always 0
    };

    GxTaskRenderManage();
    virtual ~GxTaskRenderManage();

    // Places the entry by mode (0 = the list's default); the search is a linear scan from the front and
    // an entry no test places goes at the end. Always true.
    bool Add(GxTaskBase* task, int32_t mode, float key, int32_t param);
    // Removes every entry; the storage is kept so that an idle frame does not allocate.
    void Clear();
    // Draws every entry whose task is active and lacks flag 0x10, in list order: Draw when captured is
    // set (the sequence has started), ForwardDraw otherwise.
    void Draw(int32_t layer, bool captured);

    int32_t GetDefaultMode() const { return m_DefaultMode; }
    void SetDefaultMode(int32_t mode) { m_DefaultMode = mode; }
    size_t GetCount() const { return m_Entries.size(); }
    const Entry& GetEntry(size_t index) const { return m_Entries[index]; }

private:
    template <class Test> size_t FindPlace(bool ordered, Test test) const;

    // Kept in draw order; contiguous, so the linear scan of an insertion stays cheap.
    std::vector<Entry> m_Entries;
    // Whether the keys are non-decreasing / non-increasing front to back (no NaN among them).
    bool m_Ascending = true;
    bool m_Descending = true;
    int32_t m_DefaultMode = GX_RENDER_ASCEND;
};
