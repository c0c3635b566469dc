#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

struct DBUIModuleData;
class GxContentReaderBase;
class GxContentWriterBase;
struct GxNcOriginImage;
class GxMatrix;
class GxNcCrammedImageSet;
class GxVector4;

// The images of a widget drawn from a crammed image set (the "Is" widgets): the set's file name, the base
// image name inside it, and six borrowed origin images found by suffix. The image-set pool owns the
// images; a screen adds the set to the pool before its widgets load, and the widget forgets the pointers
// before the screen releases it. Every image-set access of the widgets goes through this class.
class GxUIImageTable
{
public:
    static constexpr int kSlotCount = 6;

    struct Slot
    {
        int32_t m_Slot;
        const wchar_t* m_Suffix;
    };

    // m_ImageSetName := the UI image-set folder + the row's ImageSetName + ".gis"; m_ImageName := the row's
    // ImageName. Loads nothing.
    void ApplyModule(const DBUIModuleData& row);
    // Splits a combined path: the folder (last "\\", "/" or ":" and one trailing separator dropped) +
    // ".gis" becomes the set, the rest the image name. Loads nothing.
    bool LoadImageSet(const wchar_t* path);
    void Release();
    // "m_ImageName", "m_ImageSetName".
    void SaveNames(GxContentWriterBase* writer) const;
    void LoadNames(GxContentReaderBase* reader);

    // The set from the image-set pool, or null after logging setMissingFormat (set name, task path).
    const GxNcCrammedImageSet* FindSet(const wchar_t* setMissingFormat, const std::wstring& taskPath) const;
    // Looks every slot's image name + suffix up in the pool's set. False, after logging, when the set is
    // not pooled or the required slot's image is missing (imageMissingFormat: image file name, task path).
    bool Fetch(std::initializer_list<Slot> slots, int32_t requiredSlot, const wchar_t* setMissingFormat,
               const wchar_t* imageMissingFormat, const std::wstring& taskPath);
    // One image, m_ImageName + suffix, of the pooled set; null when either is missing (no log).
    const GxNcOriginImage* FindImage(const GxNcCrammedImageSet* set, const std::wstring& suffix) const;

    // Pattern queries of a borrowed image (0 / false without the image or pattern).
    static int32_t GetPatternCount(const GxNcOriginImage* image);
    static bool GetPatternSize(const GxNcOriginImage* image, int32_t pattern, int32_t& width, int32_t& height);
    static bool GetPatternOffset(const GxNcOriginImage* image, int32_t pattern, int32_t& left, int32_t& top);
    // The widget's size from pattern 0 of the image where the widget has none, then the client size
    // where that is 0: size - 2 x client margin.
    static void ApplySizeDefaults(const GxNcOriginImage* image, int32_t& width, int32_t& height, int32_t& clientWidth,
                                  int32_t& clientHeight, int32_t clientLeft, int32_t clientTop);

    // The pattern draws of the image set (nothing without an image or pattern).
    static void DrawPattern(const GxNcOriginImage* image, int32_t pattern, const GxMatrix& matrix, float alpha,
                            const GxVector4& colour, const GxVector4& specular, uint32_t blend);
    static void DrawPatternEx(const GxNcOriginImage* image, int32_t pattern, const GxMatrix& matrix, int32_t left,
                              int32_t top, int32_t right, int32_t bottom, float alpha, const GxVector4& colour,
                              const GxVector4& specular, uint32_t blend);

    std::wstring m_ImageName;
    std::wstring m_ImageSetName;
    const GxNcOriginImage* m_Images[kSlotCount] = {};
};
