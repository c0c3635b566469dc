#pragma once

#include <string>
#include <vector>

// Commits the files of one save as one (the adventure file, the strategy file and the slot's thumbnail):
// after a failure, a crash or a killed process the slot holds either all its old files or all its new
// ones, never some of each.
//
// Each file is first written whole beside its final name ("<name>.new", through the atomic writer, so it
// is synced); then a small marker ("<first>.commit") is written the same way. The marker says every new
// file is complete: from then on the files are renamed into place and the marker removed. Recover,
// which every save and load of the slot runs first with the same paths, finishes the renames when the
// marker exists and otherwise drops the ".new" files of a save that did not reach its marker.
class GxUserDataPair
{
public:
    struct File
    {
        std::wstring m_Path; // empty: no such file in this save
        std::string m_Bytes;
    };

    // Writes every file; false (logged) leaves the old ones. The first file names the marker and must be
    // given; an empty path is left out (a game without the strategy part, a save without a thumbnail).
    static bool Commit(const std::vector<File>& files);
    static bool Commit(const std::wstring& first, const std::string& firstBytes, const std::wstring& second,
                       const std::string& secondBytes);
    // Completes or drops an interrupted commit of these files; they are then one save again.
    static void Recover(const std::vector<std::wstring>& paths);
    static void Recover(const std::wstring& first, const std::wstring& second);

    static std::wstring NewPath(const std::wstring& path) { return path + L".new"; }
    static std::wstring MarkerPath(const std::wstring& first) { return first + L".commit"; }
};
