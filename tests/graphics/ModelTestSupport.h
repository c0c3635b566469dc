#pragma once

// The started graphics device of the graphics tests, temporary files for the records the model tests
// write, and a quiet error log for the damaged-file loops.

#include "GraphicsTestSupport.h"
#include "ModelFileWriter.h"

#include "graphics/GxImage.h"

#include "core/GxLog.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLSwapChain.h"
#include "platform/PfGLTexture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

class KvModelTempDir
{
public:
    KvModelTempDir()
    {
        char pattern[] = "/tmp/kvmodelsXXXXXX";
        const char* made = mkdtemp(pattern);
        m_Path = made ? made : "";
    }
    ~KvModelTempDir()
    {
        for (const std::string& f : m_Files)
            std::remove(f.c_str());
        if (!m_Path.empty())
            rmdir(m_Path.c_str());
    }
    KvModelTempDir(const KvModelTempDir&) = delete;
    KvModelTempDir& operator=(const KvModelTempDir&) = delete;

    // Writes the bytes to the named file and returns its full wide path (the folder is plain ASCII).
    std::wstring Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = m_Path + "/" + name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), (std::streamsize)bytes.size());
        m_Files.push_back(path);
        return std::wstring(path.begin(), path.end());
    }

    // The folder as a texture-folder prefix: its path followed by the separator.
    std::wstring Folder() const { return std::wstring(m_Path.begin(), m_Path.end()) + L"/"; }

    // An 8 x 8 checker of white and mid grey as a PNG file; returns its full wide path.
    std::wstring WriteChecker(const std::string& name)
    {
        uint8_t pixels[8 * 8 * 4];
        for (uint32_t y = 0; y < 8; ++y)
            for (uint32_t x = 0; x < 8; ++x)
            {
                const uint8_t v = ((x ^ y) & 1) ? 0x80 : 0xFF;
                uint8_t* p = &pixels[(y * 8 + x) * 4];
                p[0] = p[1] = p[2] = v;
                p[3] = 0xFF;
            }
        const std::string path = m_Path + "/" + name;
        GxImage::SaveToPNG(std::wstring(path.begin(), path.end()), 8, 8, pixels);
        m_Files.push_back(path);
        return std::wstring(path.begin(), path.end());
    }

private:
    std::string m_Path;
    std::vector<std::string> m_Files;
};

// Sends the error log to /dev/null while damaged files are read, and counts the lines logged.
class KvQuietErrorLog
{
public:
    KvQuietErrorLog() : m_Saved(GxLog::GetErrorLogPath()), m_Start(GxLog::GetErrorCount())
    {
        GxLog::SetErrorLogPath(L"/dev/null");
    }
    ~KvQuietErrorLog() { GxLog::SetErrorLogPath(m_Saved); }
    uint32_t Logged() const { return GxLog::GetErrorCount() - m_Start; }

private:
    std::wstring m_Saved;
    uint32_t m_Start;
};
