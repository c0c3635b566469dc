#include "core/GxLooseFileIndex.h"

#include "core/GxString.h"

#include <algorithm>
#include <dirent.h>
#include <vector>

static void LowerAscii(std::string& s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}

const GxLooseFileIndex::Listing* GxLooseFileIndex::GetListing(const std::string& folder)
{
    struct stat st;
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return nullptr;
    auto it = m_Listings.find(folder);
    if (it != m_Listings.end())
    {
        const Listing& l = it->second;
        if (l.m_Device == st.st_dev && l.m_Inode == st.st_ino && l.m_ModTime.tv_sec == st.st_mtim.tv_sec &&
            l.m_ModTime.tv_nsec == st.st_mtim.tv_nsec)
            return &l;
        m_Listings.erase(it);
    }
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return nullptr;
    std::vector<std::string> names;
    while (dirent* e = readdir(dir))
        names.emplace_back(e->d_name);
    closedir(dir);
    // Sorted, so that of two names differing only in case the same one is always chosen.
    std::sort(names.begin(), names.end());

    if (m_Listings.size() >= kMaxListings)
        m_Listings.clear();
    Listing& l = m_Listings[folder];
    l.m_ModTime = st.st_mtim;
    l.m_Device = st.st_dev;
    l.m_Inode = st.st_ino;
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

bool GxLooseFileIndex::Resolve(const std::wstring& name, std::string& outPath, struct stat* outStat)
{
    std::string path = GxString::ToUtf8(name);
    if (path.empty() || path.find('\0') != std::string::npos)
        return false;
    for (char& c : path)
        if (c == '\\')
            c = '/';
    struct stat st;
    if (stat(path.c_str(), &st) == 0)
    {
        outPath = std::move(path);
        if (outStat)
            *outStat = st;
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
    if (current.empty() || stat(current.c_str(), &st) != 0)
        return false;
    outPath = std::move(current);
    if (outStat)
        *outStat = st;
    return true;
}
