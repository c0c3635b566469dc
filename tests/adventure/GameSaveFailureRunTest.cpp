// The real program where the player's files cannot be written. A quick save that fails on a full disk is
// told in the notice the slot save shows, and the quick save of before stays whole; the options and
// progress refused at a quit the player chose are told in one box naming the save folder. Headless, the
// box's caption and text go to the program's standard error, which the run keeps in "stdout.log".
#include "support/GameRun.h"

#include "platform/PfImage.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>

namespace
{

const char* const kTitleStart = "512 384";
const char* const kWindowQSave = "350 732";
const char* const kDialogYes = "436 304";
const char* const kDialogLoneOK = "512 304";

// A file-size limit for the programs started while it lives: a write past it fails as on a full disk
// (SIGXFSZ ignored, so the write returns an error instead of ending the program). Both are inherited by
// the child the run forks.
class ScopedFileSizeLimit
{
public:
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_Old);
        m_OldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_Old;
        limit.rlim_cur = bytes;
        m_Set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~ScopedFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_Old);
        std::signal(SIGXFSZ, m_OldHandler);
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;
    bool IsSet() const { return m_Set; }

private:
    rlimit m_Old{};
    void (*m_OldHandler)(int) = SIG_DFL;
    bool m_Set = false;
};

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The dialog frame's left edge, white while a system dialog is open.
bool DialogShown(const GameRun& run, const char* name)
{
    PfImage image;
    EXPECT_TRUE(GameRun::LoadPicture(run.Path(name), image)) << name;
    return (GameRun::PixelAt(image, 274, 250) & 0xFFFFFF) == 0xFFFFFF;
}

std::string Line(int step, const std::string& action)
{
    return std::to_string(step) + " " + action + "\n";
}

} // namespace

TEST(GameSaveFailureRun, AQuickSaveOnAFullDiskIsToldAndTheOldOneStays)
{
    GameRun run("quickfull");
    ASSERT_TRUE(run.Generate());
    // A first quick save on the story's first message, then Esc and Yes.
    const std::string play = Line(60, std::string("click ") + kTitleStart) +
                             Line(240, std::string("click ") + kWindowQSave) + Line(300, "capture saved.png") +
                             Line(320, "key ESCAPE") + Line(360, std::string("click ") + kDialogYes);
    GameRun::Result result = run.Run(play, {}, 120);
    ASSERT_FALSE(result.timedOut);
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_FALSE(DialogShown(run, "saved.png")) << "a quick save that worked is silent";
    const std::string quick = ReadBytes(run.SaveDir() + "/gamedata_quick.gd");
    const std::string quickStrategy = ReadBytes(run.SaveDir() + "/zordata_quick.gd");
    ASSERT_FALSE(quick.empty());
    // The strategy half is the larger file: a limit below it and above the logs, the adventure half and
    // a capture fails the quick save's commit the way a full disk does.
    const size_t limit = 48 * 1024;
    ASSERT_GT(quickStrategy.size(), limit);

    // Further into the story, the quick save again: refused, told, and the notice's OK closes it.
    const std::string full = Line(60, std::string("click ") + kTitleStart) + Line(200, "click 512 640") +
                             Line(400, std::string("click ") + kWindowQSave) + Line(460, "capture refused.png") +
                             Line(470, std::string("click ") + kDialogLoneOK) + Line(530, "capture closed.png") +
                             Line(540, "key ESCAPE") + Line(580, std::string("click ") + kDialogYes);
    {
        const ScopedFileSizeLimit fullDisk(limit);
        ASSERT_TRUE(fullDisk.IsSet());
        result = run.Run(full, {}, 120);
    }
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(DialogShown(run, "refused.png"));
    EXPECT_FALSE(DialogShown(run, "closed.png"));
    const std::string log = run.ReadSaveText("error.log");
    EXPECT_EQ(Count(log, "クイックセーブできませんでした"), 1u) << log;
    // The old quick save, both halves, as it was; no half-written file left beside it.
    EXPECT_EQ(ReadBytes(run.SaveDir() + "/gamedata_quick.gd"), quick);
    EXPECT_EQ(ReadBytes(run.SaveDir() + "/zordata_quick.gd"), quickStrategy);
    for (const auto& entry : std::filesystem::directory_iterator(run.SaveDir()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST(GameSaveFailureRun, ExitWritesRefusedAfterThePlayersQuitAreToldInOneBox)
{
    GameRun run("exitrefused");
    ASSERT_TRUE(run.Generate());
    // Each name a link into a folder that is not there: nothing to read at start-up, and the write
    // through it fails, root or not.
    std::filesystem::create_directories(run.SaveDir());
    for (const char* name : {"userconf.dat", "permanent.dat"})
        std::filesystem::create_symlink(std::string("missing/") + name, run.SaveDir() + "/" + name);
    const GameRun::Result result =
        run.Run(Line(120, "key ESCAPE") + Line(160, std::string("click ") + kDialogYes), {}, 120);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    const std::string output = ReadBytes(run.Path("stdout.log"));
    EXPECT_EQ(Count(output, "設定と進行状況を保存できませんでした"), 1u) << output;
    EXPECT_NE(output.find("[" + run.SaveDir() + "/]"), std::string::npos) << output;
    EXPECT_NE(run.ReadSaveText("error.log").find("終了時に設定と進行状況を保存できませんでした"), std::string::npos)
        << run.ReadSaveText("error.log");
}
