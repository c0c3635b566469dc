#include "strategy/ZorPathGrid.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxRandom.h"
#include "strategy/ZorBlockState.h"

namespace
{

bool OnGrid(int32_t x, int32_t z)
{
    return x >= 0 && x < ZorPathGrid::kWidth && z >= 0 && z < ZorPathGrid::kWidth;
}

} // namespace

void ZorPathGrid::Reset()
{
    for (Entry& e : m_Entries)
        e = Entry();
}

void ZorPathGrid::InitFromBlocks(const ZorBlockState* blocks)
{
    for (int32_t i = 0; i < kDetail; ++i)
        m_Entries[i] = Entry{kUnreached, static_cast<uint8_t>(blocks[i].m_EnablePass ? 1 : 0)};
}

void ZorPathGrid::Flood(int32_t x, int32_t z, int32_t d)
{
    if (!OnGrid(x, z) || !At(x, z).m_EnterFlag)
        return;
    // Each cell enters the queue at most once: breadth-first order reaches it first by a shortest way.
    int16_t queue[kDetail];
    int32_t head = 0;
    int32_t tail = 0;
    At(x, z).m_Step = d;
    queue[tail++] = static_cast<int16_t>(x + z * kWidth);
    auto visit = [&](int32_t index, int32_t next)
    {
        Entry& e = m_Entries[index];
        if (e.m_EnterFlag && e.m_Step > next)
        {
            e.m_Step = next;
            queue[tail++] = static_cast<int16_t>(index);
        }
    };
    while (head < tail)
    {
        const int32_t index = queue[head++];
        const int32_t next = m_Entries[index].m_Step + 1;
        if (next > kUnreached - 1)
            continue;
        const int32_t cx = index % kWidth;
        if (index >= kWidth)
            visit(index - kWidth, next);
        if (index < kDetail - kWidth)
            visit(index + kWidth, next);
        if (cx > 0)
            visit(index - 1, next);
        if (cx < kWidth - 1)
            visit(index + 1, next);
    }
}

bool ZorPathGrid::BuildPath(int32_t startX, int32_t startZ, int32_t goalX, int32_t goalZ,
                            std::deque<ZorMovePathElement>& route)
{
    if (!OnGrid(startX, startZ) || !OnGrid(goalX, goalZ) || At(startX, startZ).m_Step == kUnreached ||
        At(goalX, goalZ).m_Step == kUnreached)
        return false;
    TracePath(route, goalX, goalZ, startX, startZ);
    return true;
}

void ZorPathGrid::TracePath(std::deque<ZorMovePathElement>& route, int32_t goalX, int32_t goalZ, int32_t startX,
                            int32_t startZ) const
{
    int32_t x = startX;
    int32_t z = startZ;
    while (x != goalX || z != goalZ)
    {
        // Directions: 0 z - 1, 1 z + 1, 2 x - 1, 3 x + 1; the draw picks the axis tried first.
        static const int32_t s_Orders[2][4] = {{0, 1, 2, 3}, {2, 3, 0, 1}};
        static const int32_t s_Delta[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
        const int32_t* order = s_Orders[GxRandom::Next(1023) < 512 ? 0 : 1];
        int32_t best = At(x, z).m_Step;
        int32_t choice = -1;
        for (int32_t k = 0; k < 4; ++k)
        {
            const int32_t dir = order[k];
            const int32_t nx = x + s_Delta[dir][0];
            const int32_t nz = z + s_Delta[dir][1];
            if (OnGrid(nx, nz) && At(nx, nz).m_Step < best)
            {
                best = At(nx, nz).m_Step;
                choice = dir;
            }
        }
        if (choice < 0)
            return;
        x += s_Delta[choice][0];
        z += s_Delta[choice][1];
        route.emplace_back(choice, x, z);
    }
}

bool ZorPathGrid::Save(GxContentWriterBase& writer) const
{
    bool ok = true;
    for (const Entry& e : m_Entries)
        ok = ok && writer.Write("m_Step", e.m_Step) && writer.Write("m_EnterFlag", e.m_EnterFlag != 0);
    return ok;
}

void ZorPathGrid::Load(GxContentReaderBase& reader)
{
    for (Entry& e : m_Entries)
    {
        reader.Read("m_Step", e.m_Step);
        e.m_EnterFlag = reader.GetBool("m_EnterFlag") ? 1 : 0;
    }
}
