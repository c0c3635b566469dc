// gxpack: builds a ".gxp" pack from the files under a folder.
//
//   gxpack [--scramble] [--cp932] -o OUT.gxp FOLDER
//
// Every regular file under FOLDER becomes one entry named by its path relative to FOLDER with '/'
// separators, its time stamp the file's modification time as a FILETIME. Entry names are UTF-16LE unless
// --cp932 is given; --scramble scrambles the directory and the data. Exit code 0 on success.
#include "GxPackWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

static std::wstring FromUtf8(const std::string& s)
{
    std::wstring out;
    for (size_t i = 0; i < s.size();)
    {
        unsigned char c = static_cast<unsigned char>(s[i]);
        uint32_t u = c;
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (extra)
            u = c & (0x3F >> extra);
        ++i;
        for (int k = 0; k < extra && i < s.size(); ++k, ++i)
            u = (u << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
        out.push_back(static_cast<wchar_t>(u));
    }
    return out;
}

static bool Collect(const std::string& root, const std::string& relative, std::vector<std::string>& files)
{
    std::string folder = relative.empty() ? root : root + "/" + relative;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
    {
        std::fprintf(stderr, "gxpack: cannot open folder %s\n", folder.c_str());
        return false;
    }
    std::vector<std::string> names;
    while (dirent* e = readdir(dir))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            names.emplace_back(e->d_name);
    closedir(dir);
    std::sort(names.begin(), names.end());
    for (const std::string& n : names)
    {
        std::string rel = relative.empty() ? n : relative + "/" + n;
        struct stat st;
        if (stat((root + "/" + rel).c_str(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode))
        {
            if (!Collect(root, rel, files))
                return false;
        }
        else if (S_ISREG(st.st_mode))
            files.push_back(rel);
    }
    return true;
}

int main(int argc, char** argv)
{
    bool scramble = false, cp932 = false;
    std::string out, folder;
    for (int i = 1; i < argc; ++i)
    {
        std::string a = argv[i];
        if (a == "--scramble" || a == "-s")
            scramble = true;
        else if (a == "--cp932")
            cp932 = true;
        else if (a == "-o" && i + 1 < argc)
            out = argv[++i];
        else if (!a.empty() && a[0] != '-' && folder.empty())
            folder = a;
        else
        {
            std::fprintf(stderr, "usage: gxpack [--scramble] [--cp932] -o OUT.gxp FOLDER\n");
            return 2;
        }
    }
    if (out.empty() || folder.empty())
    {
        std::fprintf(stderr, "usage: gxpack [--scramble] [--cp932] -o OUT.gxp FOLDER\n");
        return 2;
    }

    std::vector<std::string> files;
    if (!Collect(folder, "", files))
        return 1;
    GxPackWriter writer;
    for (const std::string& rel : files)
    {
        std::string path = folder + "/" + rel;
        std::ifstream in(path, std::ios::binary);
        if (!in)
        {
            std::fprintf(stderr, "gxpack: cannot read %s\n", path.c_str());
            return 1;
        }
        std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        struct stat st;
        stat(path.c_str(), &st);
        uint64_t fileTime = static_cast<uint64_t>(st.st_mtim.tv_sec + 11644473600LL) * 10000000ull +
                            static_cast<uint64_t>(st.st_mtim.tv_nsec / 100);
        writer.Add(FromUtf8(rel), std::move(data), fileTime);
    }
    std::string error;
    if (!writer.Write(out, cp932 ? GxPackWriter::kNamesCp932 : GxPackWriter::kNamesUtf16LE,
                      scramble ? GxPackWriter::kScrambled : GxPackWriter::kPlain, &error))
    {
        std::fprintf(stderr, "gxpack: %s\n", error.c_str());
        return 1;
    }
    std::printf("gxpack: %zu entries written to %s\n", files.size(), out.c_str());
    return 0;
}
