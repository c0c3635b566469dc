#include "platform/PfFFmpeg.h"

#include <dlfcn.h>

#include <mutex>

namespace
{

#define KV_STRING(x) #x
#define KV_SONAME(library, major) "lib" library ".so." KV_STRING(major)

struct ProcessTable
{
    std::mutex lock;
    PfFFmpeg table;
    std::vector<std::string> files = PfFFmpeg::DefaultFiles();
    bool tried = false;
    bool loaded = false;
    std::string error;
};

ProcessTable& Process()
{
    static ProcessTable s_Process;
    return s_Process;
}

} // namespace

const PfFFmpeg& PfFFmpeg::Functions()
{
    return Process().table;
}

std::vector<std::string> PfFFmpeg::DefaultFiles()
{
    // Dependencies first, so a missing one is named as itself rather than as the library needing it.
    return {KV_SONAME("avutil", LIBAVUTIL_VERSION_MAJOR), KV_SONAME("swresample", LIBSWRESAMPLE_VERSION_MAJOR),
            KV_SONAME("swscale", LIBSWSCALE_VERSION_MAJOR), KV_SONAME("avcodec", LIBAVCODEC_VERSION_MAJOR),
            KV_SONAME("avformat", LIBAVFORMAT_VERSION_MAJOR)};
}

void PfFFmpeg::SetFiles(std::vector<std::string> files)
{
    ProcessTable& process = Process();
    std::lock_guard<std::mutex> hold(process.lock);
    if (!process.tried)
        process.files = std::move(files);
}

bool PfFFmpeg::Load(std::string* error)
{
    ProcessTable& process = Process();
    std::lock_guard<std::mutex> hold(process.lock);
    if (!process.tried)
    {
        process.tried = true;
        process.loaded = process.table.LoadFrom(process.files, &process.error);
        // The libraries would print every complaint about a damaged file to the console; the engine logs
        // its own line.
        if (process.loaded)
            process.table.av_log_set_level(AV_LOG_FATAL);
    }
    if (!process.loaded && error)
        *error = process.error;
    return process.loaded;
}

bool PfFFmpeg::LoadFrom(const std::vector<std::string>& files, std::string* error)
{
    Clear();
    std::vector<void*> handles;
    auto fail = [&](const std::string& why)
    {
        if (error)
            *error = "FFmpeg is not available, movies and compressed sound are skipped: " + why;
        for (void* handle : handles)
            dlclose(handle);
        Clear();
        return false;
    };
    for (const std::string& file : files)
    {
        void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle)
        {
            const char* why = dlerror();
            return fail(why ? why : file + ": cannot be opened");
        }
        handles.push_back(handle);
    }
    auto find = [&](const char* name) -> void*
    {
        for (void* handle : handles)
            if (void* address = dlsym(handle, name))
                return address;
        return nullptr;
    };
#define KV_FFMPEG_FIND(name)                                                                                           \
    if (!(name = reinterpret_cast<decltype(name)>(find(#name))))                                                       \
        return fail(std::string("the function ") + #name + " is missing");
    KV_FFMPEG_FUNCTIONS(KV_FFMPEG_FIND)
#undef KV_FFMPEG_FIND
    // The handles stay open: the functions are used until the process ends.
    return true;
}

void PfFFmpeg::Clear()
{
#define KV_FFMPEG_CLEAR(name) name = nullptr;
    KV_FFMPEG_FUNCTIONS(KV_FFMPEG_CLEAR)
#undef KV_FFMPEG_CLEAR
}
