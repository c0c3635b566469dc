#pragma once

// The started graphics device of the graphics tests with its folder for the records the model tests
// write, a plain triangle, and a quiet error log for the damaged-file loops.

#include "GraphicsTestSupport.h"
#include "ModelFileWriter.h"

#include "core/GxLog.h"

// A triangle of three vertices with its texture coordinates at (0.5, 0), drawn with the given material.
inline KvTestSubset KvTriangleSubset(int32_t material = 0)
{
    KvTestSubset s{.m_PolygonCount = 1, .m_MaterialIndex = material, .m_Indices = {0, 1, 2}};
    for (int i = 0; i < 3; ++i)
        s.m_Vertices.push_back({.m_Pos = {(float)(i == 1), (float)(i == 2), 0.5f}, .m_UV = {0.5f, 0}});
    return s;
}

// Sets no error log while damaged files are read (an empty path writes nothing), and counts the lines logged.
class KvQuietErrorLog
{
public:
    KvQuietErrorLog() : m_Saved(GxLog::GetErrorLogPath()), m_Start(GxLog::GetErrorCount())
    {
        GxLog::SetErrorLogPath(L"");
    }
    ~KvQuietErrorLog() { GxLog::SetErrorLogPath(m_Saved); }
    uint32_t Logged() const { return GxLog::GetErrorCount() - m_Start; }

private:
    std::wstring m_Saved;
    uint32_t m_Start;
};
