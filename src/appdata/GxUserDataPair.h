#pragma once

#include <string>

// Commits the two files of one save slot (the adventure file and the strategy file) as one: after a
// failure, a crash or a killed process the slot holds either its old pair or its new pair, never one
// half of each.
//
// Each file is first written whole beside its final name ("<name>.new", through the atomic writer, so it
// is synced); then a small marker ("<first>.commit") is written the same way. The marker says both new
// files are complete: from then on the pair is renamed into place and the marker removed. Recover,
// which every save and load of the slot runs first, finishes the renames when the marker exists and
// otherwise drops the ".new" files of a save that did not reach its marker.
class GxUserDataPair
{
public:
    // Writes both files; false (logged) leaves the old pair. An empty second path saves the first alone
    // (a game without the strategy part), through the same steps.
    static bool Commit(const std::wstring& first, const std::string& firstBytes, const std::wstring& second,
                       const std::string& secondBytes);
    // Completes or drops an interrupted commit of this pair; the files are then a whole pair.
    static void Recover(const std::wstring& first, const std::wstring& second);

    static std::wstring NewPath(const std::wstring& path) { return path + L".new"; }
    static std::wstring MarkerPath(const std::wstring& first) { return first + L".commit"; }
};
