#pragma once

// A headless OpenGL device for the model tests, temporary files for the records they write, and a quiet
// error log for the damaged-file loops.

#include "ModelFileWriter.h"

#include "core/GxLog.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLSwapChain.h"
#include "platform/PfGLTexture.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

class KvModelDevice
{
public:
    bool Open(uint32_t width = 256, uint32_t height = 256)
    {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            return false;
        // One extra hold on the OpenGL library keeps it loaded when the last window goes.
        static const bool s_Loaded = SDL_GL_LoadLibrary(nullptr) == 0;
        if (!s_Loaded)
            return false;
        m_Window = SDL_CreateWindow("KvModelDevice", 0, 0, (int)width, (int)height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!m_Window || m_Device.CreateContext(m_Window) != D3D_OK)
            return false;
        D3DPRESENT_PARAMETERS p = {};
        p.BackBufferWidth = width;
        p.BackBufferHeight = height;
        p.BackBufferFormat = D3DFMT_X8R8G8B8;
        p.BackBufferCount = 1;
        p.Windowed = 1;
        p.hDeviceWindow = m_Window;
        p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        return m_Device.CreateDevice(p) == D3D_OK;
    }
    void Close()
    {
        m_Device.Destroy();
        if (m_Window)
            SDL_DestroyWindow(m_Window);
        m_Window = nullptr;
    }
    ~KvModelDevice() { Close(); }

    PfGLDevice& Device() { return m_Device; }
    PfGLTexture* BackBuffer() { return m_Device.GetSwapChain(0)->GetBackBuffer(); }
    // The back buffer's pixels as packed ARGB, row 0 at the top.
    std::vector<uint32_t> ReadPixels()
    {
        PfGLTexture* target = BackBuffer();
        std::vector<uint32_t> pixels;
        if (target->ReadBack() != D3D_OK)
            return pixels;
        const uint32_t w = target->GetWidth(), h = target->GetHeight();
        pixels.resize((size_t)w * h);
        for (uint32_t y = 0; y < h; ++y)
            std::memcpy(&pixels[(size_t)y * w], target->GetData() + (size_t)y * target->GetPitch(), (size_t)w * 4);
        return pixels;
    }
    uint32_t Pixel(int x, int y)
    {
        const std::vector<uint32_t> pixels = ReadPixels();
        return pixels.at((size_t)y * BackBuffer()->GetWidth() + (size_t)x);
    }

private:
    SDL_Window* m_Window = nullptr;
    PfGLDevice m_Device;
};

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
