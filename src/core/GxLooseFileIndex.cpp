#include "core/GxLooseFileIndex.h"

#include "core/GxString.h"

#include <algorithm>
#include <vector>

static void LowerAscii(std::string& s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}

const GxLooseFileIndex::Listing* GxLooseFileIndex::GetListing(const std::string& folder)
{
    PfFileInfo st;
    if (!PfFileSystem::GetInfo(folder, st) || !st.m_IsDirectory)
        return nullptr;
    auto it = m_Listings.find(folder);
    if (it != m_Listings.end())
    {
        const Listing& l = it->second;
        if (l.m_Device == st.m_Device && l.m_Inode == st.m_Inode && l.m_ModSeconds == st.m_ModifiedSeconds &&
            l.m_ModNanoseconds == st.m_ModifiedNanoseconds)
            return &l;
        m_Listings.erase(it);
    }
    std::vector<std::string> names;
    if (!PfFileSystem::ListFolder(folder, names))
        return nullptr;
    // Sorted, so that of two names differing only in case the same one is always chosen.
    std::sort(names.begin(), names.end());

    if (m_Listings.size() >= kMaxListings)
        m_Listings.clear();
    Listing& l = m_Listings[folder];
    l.m_ModSeconds = st.m_ModifiedSeconds;
    l.m_ModNanoseconds = st.m_ModifiedNanoseconds;
    l.m_Device = st.m_Device;
    l.m_Inode = st.m_Inode;
    l.m_Exact.reserve(names.size());
    l.m_Folded.reserve(names.size());
    for (std::string& n : names)
    {
        std::string folded = n;
        LowerAscii(folded);
        l.m_Folded.emplace(std::move(folded), n);
        l.m_Exact.insert(std::move(n));
    }
    return &l;
}

bool GxLooseFileIndex::Resolve(const std::wstring& name, std::string& outPath, PfFileInfo* outInfo)
{
    std::string path = GxString::ToUtf8(name);
    if (path.empty() || path.find('\0') != std::string::npos)
        return false;
    for (char& c : path)
        if (c == '\\')
            c = '/';
    PfFileInfo st;
    if (PfFileSystem::GetInfo(path, st))
    {
        outPath = std::move(path);
        if (outInfo)
            *outInfo = st;
        return true;
    }

    // Walk the folders, matching each part without regard to ASCII case.
    std::string current = path[0] == '/' ? "/" : "";
    size_t at = 0;
    std::string part, folded;
    while (at < path.size())
    {
        size_t stop = path.find('/', at);
        if (stop == std::string::npos)
            stop = path.size();
        part.assign(path, at, stop - at);
        at = stop + 1;
        if (part.empty())
            continue;
        const std::string* onDisk = &part;
        if (part != "." && part != "..")
        {
            const Listing* listing = GetListing(current.empty() ? std::string(".") : current);
            if (!listing)
                return false;
            if (!listing->m_Exact.count(part))
            {
                folded = part;
                LowerAscii(folded);
                auto it = listing->m_Folded.find(folded);
                if (it == listing->m_Folded.end())
                    return false;
                onDisk = &it->second;
            }
        }
        if (!current.empty() && current.back() != '/')
            current.push_back('/');
        current += *onDisk;
    }
    if (current.empty() || !PfFileSystem::GetInfo(current, st))
        return false;
    outPath = std::move(current);
    if (outInfo)
        *outInfo = st;
    return true;
}
