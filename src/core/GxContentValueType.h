#pragma once

#include <cstdint>

// Tags of the values stored in content records: one byte in the binary form, "%02x" in the text form.
// 22, 23, 25 and everything above 37 other than 50 to 52 are no value type.
enum GxContentValueType : uint8_t
{
    VALTYPE_GxS8 = 1,
    VALTYPE_GxU8 = 2,
    VALTYPE_GxS16 = 3,
    VALTYPE_GxU16 = 4,
    VALTYPE_GxS32 = 5,
    VALTYPE_GxU32 = 6,
    VALTYPE_GxS64 = 7,
    VALTYPE_GxU64 = 8,
    VALTYPE_GxF32 = 9,
    VALTYPE_GxF64 = 10,
    VALTYPE_GxBool = 11,
    VALTYPE_GxVector2 = 12,
    VALTYPE_GxVector3 = 13,
    VALTYPE_GxVector4 = 14,
    VALTYPE_GxQuat = 15,
    VALTYPE_GxFColor = 16,
    VALTYPE_GxMatrix = 17,
    VALTYPE_GxRect = 18,
    VALTYPE_GxFRect = 19,
    VALTYPE_Reserved20 = 20, // written by nothing; 16 payload bytes when skipped
    VALTYPE_GxBit32 = 21,
    VALTYPE_GxStringSJIS = 24, // CP932 text: read, never written
    VALTYPE_GxStringUTF8 = 26,
    VALTYPE_GxBinary = 27,
    VALTYPE_ListBegin = 32,
    VALTYPE_ListEnd = 33,
    VALTYPE_TreeBegin = 34,
    VALTYPE_TreeEnd = 35,
    VALTYPE_TreeStratumBegin = 36,
    VALTYPE_TreeStratumEnd = 37,
    VALTYPE_GxPoint2 = 50,
    VALTYPE_GxPoint3 = 51,
    VALTYPE_GxPoint4 = 52,
};

// Kind of one component of a stored value.
enum class GxContentComponent : uint8_t
{
    S8,
    U8,
    S16,
    U16,
    S32,
    U32,
    S64,
    U64,
    F32,
    F64,
    Bool,
};

// What a typed read or write handles: the tag, the type name that messages print ("GxVector3"), and
// the value's components, all of one kind, in their stored order.
struct GxContentValueDesc
{
    uint8_t m_Tag;
    uint8_t m_Count;
    GxContentComponent m_Component;
    const char* m_TypeName;
};

// The typed values shared by both forms' readers and writers.
inline constexpr GxContentValueDesc g_ContentValueS8{VALTYPE_GxS8, 1, GxContentComponent::S8, "GxS8"};
inline constexpr GxContentValueDesc g_ContentValueU8{VALTYPE_GxU8, 1, GxContentComponent::U8, "GxU8"};
inline constexpr GxContentValueDesc g_ContentValueS16{VALTYPE_GxS16, 1, GxContentComponent::S16, "GxS16"};
inline constexpr GxContentValueDesc g_ContentValueU16{VALTYPE_GxU16, 1, GxContentComponent::U16, "GxU16"};
inline constexpr GxContentValueDesc g_ContentValueS32{VALTYPE_GxS32, 1, GxContentComponent::S32, "GxS32"};
inline constexpr GxContentValueDesc g_ContentValueU32{VALTYPE_GxU32, 1, GxContentComponent::U32, "GxU32"};
inline constexpr GxContentValueDesc g_ContentValueS64{VALTYPE_GxS64, 1, GxContentComponent::S64, "GxS64"};
inline constexpr GxContentValueDesc g_ContentValueU64{VALTYPE_GxU64, 1, GxContentComponent::U64, "GxU64"};
inline constexpr GxContentValueDesc g_ContentValueF32{VALTYPE_GxF32, 1, GxContentComponent::F32, "GxF32"};
inline constexpr GxContentValueDesc g_ContentValueF64{VALTYPE_GxF64, 1, GxContentComponent::F64, "GxF64"};
inline constexpr GxContentValueDesc g_ContentValueBool{VALTYPE_GxBool, 1, GxContentComponent::Bool, "GxBool"};
inline constexpr GxContentValueDesc g_ContentValueVector2{VALTYPE_GxVector2, 2, GxContentComponent::F32, "GxVector2"};
inline constexpr GxContentValueDesc g_ContentValueVector3{VALTYPE_GxVector3, 3, GxContentComponent::F32, "GxVector3"};
inline constexpr GxContentValueDesc g_ContentValueVector4{VALTYPE_GxVector4, 4, GxContentComponent::F32, "GxVector4"};
inline constexpr GxContentValueDesc g_ContentValueQuat{VALTYPE_GxQuat, 4, GxContentComponent::F32, "GxQuat"};
inline constexpr GxContentValueDesc g_ContentValueFColor{VALTYPE_GxFColor, 4, GxContentComponent::F32, "GxFColor"};
inline constexpr GxContentValueDesc g_ContentValueMatrix{VALTYPE_GxMatrix, 16, GxContentComponent::F32, "GxMatrix"};
inline constexpr GxContentValueDesc g_ContentValueRect{VALTYPE_GxRect, 4, GxContentComponent::S32, "GxRect"};
inline constexpr GxContentValueDesc g_ContentValueFRect{VALTYPE_GxFRect, 4, GxContentComponent::F32, "GxFRect"};
inline constexpr GxContentValueDesc g_ContentValueBit32{VALTYPE_GxBit32, 1, GxContentComponent::U32, "GxBit32"};
inline constexpr GxContentValueDesc g_ContentValuePoint2{VALTYPE_GxPoint2, 2, GxContentComponent::S32, "GxPoint2"};
inline constexpr GxContentValueDesc g_ContentValuePoint3{VALTYPE_GxPoint3, 3, GxContentComponent::S32, "GxPoint3"};
inline constexpr GxContentValueDesc g_ContentValuePoint4{VALTYPE_GxPoint4, 4, GxContentComponent::S32, "GxPoint4"};

// Stand-ins for the values that have no fixed components, as GxContentReaderBase::LeastSize takes them:
// a string of no characters and a nested list of no items (its begin and its end).
inline constexpr GxContentValueDesc g_ContentValueString{VALTYPE_GxStringUTF8, 0, GxContentComponent::U8,
                                                         "GxStringUTF8"};
inline constexpr GxContentValueDesc g_ContentValueEmptyList{VALTYPE_ListBegin, 0, GxContentComponent::U32, "ListBegin"};

// Bytes of one component in the binary form.
inline constexpr uint32_t GxContentComponentSize(GxContentComponent component)
{
    switch (component)
    {
    case GxContentComponent::S8:
    case GxContentComponent::U8:
    case GxContentComponent::Bool:
        return 1;
    case GxContentComponent::S16:
    case GxContentComponent::U16:
        return 2;
    case GxContentComponent::S32:
    case GxContentComponent::U32:
    case GxContentComponent::F32:
        return 4;
    case GxContentComponent::S64:
    case GxContentComponent::U64:
    case GxContentComponent::F64:
        return 8;
    }
    return 0;
}
