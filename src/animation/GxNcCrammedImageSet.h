#pragma once

#include "animation/GxNcCrammedImage.h"
#include "animation/GxObjectRefCountNotAutoDelete.h"
#include "animation/GxNcOriginImage.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class GxContentReaderBase;
class GxMatrix;
class GxVector4;

// A crammed image set (".gis"): origin images cut into patterns, packed into a few texture pages. Created
// and deleted by GxNcCrammedImageSetFactory; shared by reference count.
class GxNcCrammedImageSet : public GxObjectRefCountNotAutoDelete
{
public:
    GxNcCrammedImageSet() = default;
    ~GxNcCrammedImageSet() override;

    // The two arrays, each list item into a fresh record. Malformed values leave defaults (the reader logs
    // and counts them). Always true.
    bool Read(GxContentReaderBase& reader);
    // Points every pattern at its page; an index outside the pages logs a slight error once per pattern.
    void LinkPatterns();
    // Every page's texture from directory + its file name; a page that fails logs and the loop goes on.
    // False when at least one failed.
    bool LoadAttachedTexture(const std::wstring& directory);
    // The first origin image whose name equals the name exactly (case-sensitive), else null. Found through
    // the index Read builds (a set may hold thousands of images, each looked up once per key of every layer
    // that shows it); a set whose images were changed in number since is searched from the front.
    const GxNcOriginImage* FindOriginImage(const std::wstring& name) const;
    // How many names FindOriginImage has compared since the set was made. Tests read it to see a name
    // found at a constant cost.
    uint64_t GetNamesCompared() const { return m_NamesCompared.load(std::memory_order_relaxed); }
    // At count 0 the set empties itself and gives its page textures back; the factory deletes it.
    uint32_t Release() override;

    // Draws pattern `index` of the origin image with its packed piece at its offset, corners mapped by the
    // 2D part of the matrix. Nothing for a missing image or pattern, or a pattern without a loaded page.
    static void DrawPattern(const GxNcOriginImage* image, int32_t index, const GxMatrix& matrix, float alpha,
                            const GxVector4& colour, const GxVector4& specular, uint32_t blend);
    // The same, cut to the clip rectangle (left, top, right, bottom in the origin image's pixels); the
    // kept part stays at the pattern's own top-left offset.
    static void DrawPatternEx(const GxNcOriginImage* image, int32_t index, const GxMatrix& matrix, int32_t clipLeft,
                              int32_t clipTop, int32_t clipRight, int32_t clipBottom, float alpha,
                              const GxVector4& colour, const GxVector4& specular, uint32_t blend);

    std::wstring m_Name;      // the path read, with ".gis"
    std::wstring m_Directory; // page files are relative to it (lower-cased)
    std::vector<GxNcOriginImage> m_OriginImages;
    std::vector<GxNcCrammedImage> m_CrammedImages;
    bool m_EconomyMode = false; // pages in 16-bit A4R4G4B4 instead of A8R8G8B8

private:
    void Clear();

    // Each image name to the place of its first image in m_OriginImages, for the first m_IndexedImages
    // images (all of them after a read).
    std::unordered_map<std::wstring, size_t> m_OriginImageIndex;
    size_t m_IndexedImages = 0;
    mutable std::atomic<uint64_t> m_NamesCompared{0};
};
