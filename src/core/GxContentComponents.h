#pragma once

#include "core/GxContentValueType.h"
#include "core/GxFColor.h"
#include "core/GxFRect.h"
#include "core/GxPoint.h"
#include "core/GxQuaternion.h"
#include "core/GxRect.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "core/GxVector4.h"

#include <array>
#include <cstdint>

// How a composite value travels through a content record: its value type and its components in stored
// order. GxContentReaderBase and GxContentWriterBase both go through these, so each type's layout is
// stated once. Get gives the components, Set puts them back.
template <typename T> struct GxContentComponents;

template <> struct GxContentComponents<GxPoint4>
{
    using Array = std::array<int32_t, 4>;
    static constexpr const GxContentValueDesc& kDesc = g_ContentValuePoint4;
    static Array Get(const GxPoint4& v) { return {v.x, v.y, v.z, v.w}; }
    static void Set(GxPoint4& v, const Array& c) { v = {c[0], c[1], c[2], c[3]}; }
};

template <> struct GxContentComponents<GxPoint3>
{
    using Array = std::array<int32_t, 3>;
    static constexpr const GxContentValueDesc& kDesc = g_ContentValuePoint3;
    static Array Get(const GxPoint3& v) { return {v.x, v.y, v.z}; }
    static void Set(GxPoint3& v, const Array& c) { v = {c[0], c[1], c[2]}; }
};

template <> struct GxContentComponents<GxPoint2>
{
    using Array = std::array<int32_t, 2>;
    static constexpr const GxContentValueDesc& kDesc = g_ContentValuePoint2;
    static Array Get(const GxPoint2& v) { return {v.x, v.y}; }
    static void Set(GxPoint2& v, const Array& c) { v = {c[0], c[1]}; }
};

template <> struct GxContentComponents<GxFRect>
{
    using Array = std::array<float, 4>;
    static constexpr const GxContentValueDesc& kDesc = g_ContentValueFRect;
    static Array Get(const GxFRect& v) { return {v.left, v.top, v.right, v.bottom}; }
    static void Set(GxFRect& v, const Array& c) { v = {c[0], c[1], c[2], c[3]}; }
};

template <> struct GxContentComponents<GxRect>
{
    using Array = std::array<int32_t, 4>;
    static constexpr const GxContentValueDesc& kDesc = g_ContentValueRect;
    static Array Get(const GxRect& v) { return {v.left, v.top, v.right, v.bottom}; }
    static void Set(GxRect& v, const Array& c) { v = {c[0], c[1], c[2], c[3]}; }
};

template <> struct GxContentComponents<GxFColor>
{
    using Array = std::array<float, 4>;
    static constexpr const GxContentValueDesc& kDesc = g_ContentValueFColor;
    static Array Get(const GxFColor& v) { return {v.r, v.g, v.b, v.a}; }
    static void Set(GxFColor& v, const Array& c) { v = {c[0], c[1], c[2], c[3]}; }
};

template <> struct GxContentComponents<GxQuaternion>
{
    using Array = std::array<float, 4>;
    static constexpr const GxContentValueDesc& kDesc = g_ContentValueQuat;
    static Array Get(const GxQuaternion& v) { return {v.x, v.y, v.z, v.w}; }
    static void Set(GxQuaternion& v, const Array& c) { v = GxQuaternion(c[0], c[1], c[2], c[3]); }
};

template <> struct GxContentComponents<GxVector4>
{
    using Array = std::array<float, 4>;
    static constexpr const GxContentValueDesc& kDesc = g_ContentValueVector4;
    static Array Get(const GxVector4& v) { return {v.x, v.y, v.z, v.w}; }
    static void Set(GxVector4& v, const Array& c) { v = GxVector4(c[0], c[1], c[2], c[3]); }
};

// Three floats are stored, but the reader hands over all four: the fourth keeps its value unless the
// binary form finds a four-float vector in its place and sets it to 0. The writer writes the first three.
template <> struct GxContentComponents<GxVector3>
{
    using Array = std::array<float, 4>;
    static constexpr const GxContentValueDesc& kDesc = g_ContentValueVector3;
    static Array Get(const GxVector3& v) { return {v.x, v.y, v.z, v.w}; }
    static void Set(GxVector3& v, const Array& c)
    {
        v = GxVector3(c[0], c[1], c[2]);
        v.w = c[3];
    }
};

template <> struct GxContentComponents<GxVector2>
{
    using Array = std::array<float, 2>;
    static constexpr const GxContentValueDesc& kDesc = g_ContentValueVector2;
    static Array Get(const GxVector2& v) { return {v.x, v.y}; }
    static void Set(GxVector2& v, const Array& c) { v = GxVector2(c[0], c[1]); }
};
