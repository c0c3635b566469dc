// The sample game's five dungeon maps, "data/db_zormap00.txt" to "db_zormap04.txt". Each is drawn from
// one list of rooms by the layout rules of the map files: room (rx, rz) covers the 3 x 3 cells from
// (4 rx, 4 rz), so that its centre cell (4 rx + 1, 4 rz + 1) lies where the screen draws the room, and
// every two rooms side by side on the room grid are joined by a passage cell in the gap between them,
// available from the later of the two rooms' floor levels (locked, "U", when it leads into a locked
// room, so that room can be dug from a dug neighbour). Slot 1 is the map of a new game; the others are
// the same dungeon turned about, with their own difficulty.
//
// The generator checks what the rules rely on: room numbers unique, every throne on its own level,
// entrances in the order they open, and every open room of a level reachable from that level's throne.
#include "SampleTable.h"

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace
{

struct MapRoom
{
    int rx;
    int rz;
    int floor;
    int number;
    bool locked = false;
};

struct MapPlan
{
    std::vector<MapRoom> rooms;
    int thrones[4];   // room numbers, one per extension level
    int entrances[4]; // room numbers, in the order they open
    int difficulty;
};

MapPlan FirstMap()
{
    MapPlan plan;
    plan.rooms = {
        // Level 0: the throne, the first entrance at the south, a locked room to dig.
        {4, 4, 0, 1},
        {4, 7, 0, 2},
        {3, 4, 0, 3},
        {5, 4, 0, 4},
        {4, 5, 0, 5},
        {4, 6, 0, 6},
        {3, 6, 0, 7, true},
        {5, 6, 0, 8},
        // Level 1: the throne moves north; an entrance opens in the east.
        {4, 3, 1, 10},
        {3, 3, 1, 11},
        {5, 3, 1, 12},
        {6, 4, 1, 13},
        {6, 5, 1, 14},
        // Level 2: further north; an entrance in the west.
        {4, 2, 2, 20},
        {3, 2, 2, 21},
        {5, 2, 2, 22},
        {2, 4, 2, 23},
        {2, 5, 2, 24},
        // Level 3: the last throne; the far east entrance.
        {4, 1, 3, 30},
        {3, 1, 3, 31},
        {5, 1, 3, 32},
        {7, 4, 3, 33},
        {7, 5, 3, 34},
    };
    plan.thrones[0] = 1;
    plan.thrones[1] = 10;
    plan.thrones[2] = 20;
    plan.thrones[3] = 30;
    plan.entrances[0] = 2;
    plan.entrances[1] = 14;
    plan.entrances[2] = 24;
    plan.entrances[3] = 34;
    plan.difficulty = 1;
    return plan;
}

const MapRoom* FindByNumber(const MapPlan& plan, int number)
{
    for (const MapRoom& r : plan.rooms)
        if (r.number == number)
            return &r;
    return nullptr;
}

const MapRoom* FindAt(const MapPlan& plan, int rx, int rz)
{
    for (const MapRoom& r : plan.rooms)
        if (r.rx == rx && r.rz == rz)
            return &r;
    return nullptr;
}

void Check(const MapPlan& plan, const std::string& name, std::vector<std::string>& problems)
{
    std::set<int> numbers;
    for (const MapRoom& r : plan.rooms)
    {
        if (!numbers.insert(r.number).second)
            problems.push_back(name + ": room number used twice: " + std::to_string(r.number));
        if (r.rx < 1 || r.rx > 8 || r.rz < 1 || r.rz > 8)
            problems.push_back(name + ": room too near the edge: " + std::to_string(r.number));
    }
    int lastEntranceFloor = 0;
    for (int i = 0; i < 4; ++i)
    {
        const MapRoom* throne = FindByNumber(plan, plan.thrones[i]);
        if (!throne || throne->floor != i || throne->locked)
            problems.push_back(name + ": throne " + std::to_string(i) + " is not an open room of its level");
        const MapRoom* entrance = FindByNumber(plan, plan.entrances[i]);
        if (!entrance || entrance->floor < lastEntranceFloor)
            problems.push_back(name + ": entrance " + std::to_string(i) + " missing or out of opening order");
        else
            lastEntranceFloor = entrance->floor;
    }
    for (int level = 0; level < 4; ++level)
    {
        const MapRoom* throne = FindByNumber(plan, plan.thrones[level]);
        if (!throne)
            continue;
        std::set<int> reached;
        std::function<void(const MapRoom&)> visit = [&](const MapRoom& r)
        {
            if (r.locked || r.floor > level || !reached.insert(r.number).second)
                return;
            const int around[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
            for (const auto& d : around)
                if (const MapRoom* n = FindAt(plan, r.rx + d[0], r.rz + d[1]))
                    visit(*n);
        };
        visit(*throne);
        for (const MapRoom& r : plan.rooms)
            if (!r.locked && r.floor <= level && !reached.count(r.number))
                problems.push_back(name + ": room " + std::to_string(r.number) + " cannot be reached on level " +
                                   std::to_string(level));
    }
}

std::string Draw(const MapPlan& plan)
{
    std::map<int, std::map<int, std::string>> cells;
    for (const MapRoom& r : plan.rooms)
        for (int z = 0; z < 3; ++z)
            for (int x = 0; x < 3; ++x)
                cells[4 * r.rz + z][4 * r.rx + x] =
                    "B:" + std::to_string(r.floor) + ":" + std::to_string(r.number) + (r.locked ? ":U" : ":F");
    for (const MapRoom& a : plan.rooms)
    {
        // Each pair once: from the room on the left or above.
        if (const MapRoom* b = FindAt(plan, a.rx + 1, a.rz))
            cells[4 * a.rz + 1][4 * a.rx + 3] =
                "P:" + std::to_string(std::max(a.floor, b->floor)) + ":0:" + (a.locked || b->locked ? "U" : "F");
        if (const MapRoom* b = FindAt(plan, a.rx, a.rz + 1))
            cells[4 * a.rz + 3][4 * a.rx + 1] =
                "P:" + std::to_string(std::max(a.floor, b->floor)) + ":0:" + (a.locked || b->locked ? "U" : "F");
    }
    std::string text;
    for (int i = 0; i < 4; ++i)
    {
        const MapRoom* e = FindByNumber(plan, plan.entrances[i]);
        text += "entrance" + std::to_string(i) + "\t" + std::to_string(e ? e->floor : 0) + "\t" +
                std::to_string(plan.entrances[i]) + "\r\n";
    }
    for (int i = 0; i < 4; ++i)
        text +=
            "throne" + std::to_string(i) + "\t" + std::to_string(i) + "\t" + std::to_string(plan.thrones[i]) + "\r\n";
    text += "difficulty\t" + std::to_string(plan.difficulty) + "\r\n";
    for (int dz = 0; dz < 40; ++dz)
    {
        text += "#" + std::to_string(dz);
        for (int dx = 0; dx < 40; ++dx)
        {
            text += "\t";
            auto row = cells.find(dz);
            if (row != cells.end() && row->second.count(dx))
                text += row->second.at(dx);
        }
        text += "\r\n";
    }
    return text;
}

} // namespace

std::vector<std::pair<std::string, std::string>> ZorMapFiles(std::vector<std::string>& problems)
{
    // Slot 1 as drawn; the others mirrored, flipped or turned, each a little harder.
    const std::function<void(MapRoom&)> turns[5] = {
        [](MapRoom& r) { r.rx = 9 - r.rx; },
        [](MapRoom&) {},
        [](MapRoom& r) { std::swap(r.rx, r.rz); },
        [](MapRoom& r) { r.rz = 9 - r.rz; },
        [](MapRoom& r)
        {
            r.rx = 9 - r.rx;
            r.rz = 9 - r.rz;
        },
    };
    std::vector<std::pair<std::string, std::string>> files;
    for (int slot = 0; slot < 5; ++slot)
    {
        MapPlan plan = FirstMap();
        for (MapRoom& r : plan.rooms)
            turns[slot](r);
        plan.difficulty = slot == 1 ? 1 : slot + 1;
        char name[32];
        std::snprintf(name, sizeof name, "data/db_zormap%02d.txt", slot);
        Check(plan, name, problems);
        files.emplace_back(name, Draw(plan));
    }
    return files;
}
