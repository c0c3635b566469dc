#pragma once

#include "platform/PfFileSystem.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

// Finds loose files by the names the data uses, which were written on Windows: '\' and '/' both
// separate, and a name matches a file whose name differs only in ASCII case. The exact name is tried
// first; only when it is absent is each folder on the way searched without regard to case. Folder
// listings are kept and reused while the folder's modification time is unchanged, so repeated misses
// (resource lookups trying several extensions) do not rescan a folder each time.
//
// Not locked: the file system calls it under its own lock.
class GxLooseFileIndex
{
public:
    // On success outPath is the name as it stands on disk and outInfo its status (files and folders).
    bool Resolve(const std::wstring& name, std::string& outPath, PfFileInfo* outInfo);
    void Clear() { m_Listings.clear(); }

    // Folders whose listings are kept at most; beyond it the kept listings are dropped and rebuilt.
    static constexpr size_t kMaxListings = 2048;

private:
    struct Listing
    {
        int64_t m_ModSeconds;
        int64_t m_ModNanoseconds;
        uint64_t m_Device;
        uint64_t m_Inode;
        std::unordered_set<std::string> m_Exact;
        std::unordered_map<std::string, std::string> m_Folded; // ASCII-lowered name -> name on disk
    };
    const Listing* GetListing(const std::string& folder);

    std::unordered_map<std::string, Listing> m_Listings;
};
