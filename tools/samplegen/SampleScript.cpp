#include "SampleScript.h"

#include <cerrno>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

std::string MainScript()
{
    return "; The sample story. The title screen starts it here.\r\n"
           "*MAIN\r\n"
           "@global nosave $started = 1\r\n";
}

bool CompileSampleScripts(const std::filesystem::path& folder)
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path compiler = self.parent_path() / "moabuild";
    if (error || !std::filesystem::exists(compiler, error))
    {
        std::fprintf(stderr, "samplegen: moabuild not found beside samplegen\n");
        return false;
    }
    std::vector<std::string> args = {compiler.string(), (folder / "scripts").string(), (folder / "bincode").string()};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::filesystem::create_directories(folder / "bincode", error);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
    {
        std::fprintf(stderr, "samplegen: cannot start %s\n", argv[0]);
        return false;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR)
    {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    {
        std::fprintf(stderr, "samplegen: moabuild failed on %s\n", (folder / "scripts").string().c_str());
        return false;
    }
    return true;
}
