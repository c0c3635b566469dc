// The options and progress written at shut-down into a save folder that refuses them: each failure is
// logged; a quit the player chose is told in one box naming the folder (written to standard error when
// no display can show a box, as here), a termination signal leaves the log alone. Also the save folder
// itself, as start-up finds or makes it.
#include "FileTestSupport.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserDataPerman.h"
#include "appdata/GxUserFile.h"
#include "core/GxCore.h"
#include "core/GxString.h"
#include "graphics/GraphicsTestSupport.h"
#include "platform/PfFileSystem.h"
#include "platform/PfSignal.h"
#include "support/KvScopedWorkingDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <tuple>

namespace
{

class GxCoreSaveAtExit : public KvScratchFixture
{
protected:
    void SetUp() override
    {
        KvScratchFixture::SetUp();
        m_Core.m_Title = L"SaveAtExitTest";
        m_Core.m_SavePath = Folder();
        m_Core.m_UserConfig = new GxUserConfig();
        m_Core.m_UserDataPerman = new GxUserDataPerman(&m_Core);
        // As start-up leaves them on a first run: read, with no file found.
        m_Core.m_UserConfig->Load(WidePath("userconf.dat"));
        m_Core.m_UserDataPerman->Load(WidePath("permanent.dat"));
    }
    void TearDown() override
    {
        PfSignal::ClearQuitRequest();
        std::signal(SIGTERM, SIG_DFL);
        std::signal(SIGINT, SIG_DFL);
        KvScratchFixture::TearDown();
    }
    // A folder (not empty) where the file should be: the replacing rename fails, root or not.
    void Block(const char* name) const { std::filesystem::create_directories(Path(name) + "/inside"); }
    static size_t Count(const std::string& text, const std::string& part)
    {
        size_t count = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++count;
        return count;
    }

    GxCore m_Core;
};

} // namespace

TEST_F(GxCoreSaveAtExit, WrittenFilesNeitherLogNorAsk)
{
    testing::internal::CaptureStderr();
    EXPECT_TRUE(m_Core.SaveAtExit());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(std::filesystem::is_regular_file(Path("userconf.dat")));
    EXPECT_TRUE(std::filesystem::is_regular_file(Path("permanent.dat")));
    EXPECT_FALSE(Logged(L"保存できませんでした"));
}

// Start-up cut short by a signal before it read the player's files: the defaults held are not written over
// them, and that is no failure.
TEST_F(GxCoreSaveAtExit, FilesNotReadYetAreLeftAsTheyWere)
{
    GxUserConfig players;
    players.m_Volume_BGM = 35;
    ASSERT_TRUE(players.Save(Folder() + L"userconf.dat"));
    const std::string progress = "the player's progress";
    std::ofstream(Path("permanent.dat"), std::ios::binary) << progress;
    const std::string options = KvFileBytes(Path("userconf.dat"));
    delete m_Core.m_UserConfig;
    m_Core.m_UserConfig = new GxUserConfig();
    delete m_Core.m_UserDataPerman;
    m_Core.m_UserDataPerman = new GxUserDataPerman(&m_Core);
    EXPECT_TRUE(m_Core.SaveAtExit());
    EXPECT_TRUE(KvFileBytes(Path("userconf.dat")) == options);
    EXPECT_EQ(KvFileBytes(Path("permanent.dat")), progress);
}

// A save folder restored from another account's backup: both files are there, but this account may not
// read them (refused here as the system refuses such a player; a test run by root reads even a mode-000
// file). The run goes on with defaults; neither a slot save nor the shut-down writes over them, and the
// exit asks nothing: the log told the player once, at start-up, naming each file and the reason.
TEST_F(GxCoreSaveAtExit, FilesThatCannotBeReadAreNeverWrittenOver)
{
    // Bytes, mode and identity.
    auto stateOf = [&](const char* name)
    {
        PfFileInfo info;
        EXPECT_TRUE(PfFileSystem::GetLinkInfo(Path(name), info));
        return std::make_tuple(KvFileBytes(Path(name)), std::filesystem::status(Path(name)).permissions(),
                               info.m_Device, info.m_Inode);
    };
    GxUserConfig players;
    players.m_Volume_BGM = 35;
    ASSERT_TRUE(players.Save(WidePath("userconf.dat")));
    GxUserDataPerman progress(&m_Core);
    progress.SetReadedMessage(12, L"main");
    ASSERT_TRUE(progress.Save(WidePath("permanent.dat"), true));
    const auto options = stateOf("userconf.dat");
    const auto reached = stateOf("permanent.dat");

    static const GxUserFile::SystemRead refuse = [](const std::string&, size_t, std::string& bytes, int& error)
    {
        bytes.clear();
        error = EACCES;
        return PfFileSystem::ReadResult::Refused;
    };
    GxUserFile::SetSystemRead(refuse);
    m_Core.m_UserConfig->Load(WidePath("userconf.dat"));
    m_Core.m_UserDataPerman->Load(WidePath("permanent.dat"));
    GxUserFile::SetSystemRead(nullptr);
    EXPECT_EQ(m_Core.m_UserConfig->m_Volume_BGM, 80);
    // What a slot save writes after the slot itself.
    m_Core.m_UserDataPerman->SetReadedMessage(3, L"main");
    EXPECT_FALSE(m_Core.m_UserConfig->Save(WidePath("userconf.dat")));
    EXPECT_FALSE(m_Core.m_UserDataPerman->Save(WidePath("permanent.dat"), true));
    testing::internal::CaptureStderr();
    EXPECT_TRUE(m_Core.SaveAtExit());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    EXPECT_TRUE(stateOf("userconf.dat") == options);
    EXPECT_TRUE(stateOf("permanent.dat") == reached);
    const std::string log = GxString::ToUtf8(ReadLog("error.log"));
    const std::string reason = ": " + PfFileSystem::ErrorText(EACCES) + ")";
    EXPECT_EQ(Count(log, Path("userconf.dat") + reason), 1u) << log;
    EXPECT_EQ(Count(log, Path("permanent.dat") + reason), 1u) << log;
}

// Something the player put at a file's name that is no file: a device node (a link to /dev/null keeps
// nothing), a FIFO, a folder, each there itself or behind a link. As for a file that cannot be read: one
// line names it and what is there, the run goes on with defaults, and neither a slot save nor the exit
// replaces it, renames over it or writes through it, nor asks anything.
TEST_F(GxCoreSaveAtExit, NamesHeldByNoFileAreLeftAsTheyAre)
{
    namespace fs = std::filesystem;
    // The name's own kind and identity, and those of what it names, its last change and the link's text.
    auto stateOf = [](const std::string& path)
    {
        struct stat own = {}, named = {};
        EXPECT_EQ(lstat(path.c_str(), &own), 0) << path;
        EXPECT_EQ(stat(path.c_str(), &named), 0) << path;
        std::error_code noLink;
        return std::make_tuple(own.st_mode, own.st_dev, own.st_ino, named.st_mode, named.st_dev, named.st_ino,
                               named.st_rdev, named.st_mtim.tv_sec, named.st_mtim.tv_nsec,
                               fs::read_symlink(path, noLink).string());
    };
    const struct
    {
        const char* kind;
        int (*make)(const char* path);
        const char* reason;
    } kinds[] = {
        // Any reason for the device: where the folder's mount forbids devices, opening it is refused first.
        {"device", [](const char* p) { return mknod(p, S_IFCHR | 0666, makedev(1, 3)); }, ""},
        {"fifo", [](const char* p) { return mkfifo(p, 0644); }, "通常のファイルではありません"},
        {"folder", [](const char* p) { return mkdir(p, 0755); }, "フォルダです"},
    };
    for (const auto& k : kinds)
        for (const bool linked : {false, true})
        {
            const std::string folder = Path(std::string(k.kind) + (linked ? "-linked" : ""));
            SCOPED_TRACE(folder);
            fs::create_directories(folder + "/kept");
            const std::string names[] = {folder + "/userconf.dat", folder + "/permanent.dat"};
            bool made = true;
            for (const std::string& name : names)
            {
                const std::string kept = folder + "/kept/" + fs::path(name).filename().string();
                made = made && k.make((linked ? kept : name).c_str()) == 0;
                if (linked)
                    fs::create_symlink(kept, name);
            }
            if (!made && std::string(k.kind) == "device")
            {
                std::printf("no device node may be made here: the device cases are skipped\n");
                continue;
            }
            ASSERT_TRUE(made);
            auto state = [&] { return std::make_tuple(stateOf(names[0]), stateOf(names[1])); };
            const auto before = state();
            m_Core.m_SavePath = GxString::FromUtf8(folder + "/");
            m_Core.m_UserConfig->Load(m_Core.m_SavePath + L"userconf.dat");
            m_Core.m_UserDataPerman->Load(m_Core.m_SavePath + L"permanent.dat");
            EXPECT_TRUE(state() == before);
            // What a slot save writes after the slot itself.
            EXPECT_FALSE(m_Core.m_UserConfig->Save(m_Core.m_SavePath + L"userconf.dat"));
            EXPECT_FALSE(m_Core.m_UserDataPerman->Save(m_Core.m_SavePath + L"permanent.dat", true));
            EXPECT_TRUE(state() == before);
            testing::internal::CaptureStderr();
            EXPECT_TRUE(m_Core.SaveAtExit());
            EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
            EXPECT_TRUE(state() == before);
            const std::string log = GxString::ToUtf8(ReadLog("error.log"));
            for (const std::string& name : names)
            {
                EXPECT_EQ(Count(log, name + ": " + k.reason), 1u) << log;
                EXPECT_EQ(Count(log, name), 1u) << log;
            }
        }
}

// Another copy started at the same moment makes the save folder between this copy's test for it and its
// make: this copy goes on with that folder and does not say it made it.
TEST_F(GxCoreSaveAtExit, ASaveFolderMadeMeanwhileByAnotherCopyIsUsed)
{
    m_Core.m_SystemConfig = new GxSystemConfig();
    m_Core.m_SystemConfig->m_SaveToMyDocuments = false;
    const std::string folder = Path(GxString::ToUtf8(m_Core.m_SystemConfig->GetSaveDirName()));
    KvScopedWorkingDir game(Path(""));
    m_Core.m_StartUpProbe = [&](const wchar_t* step)
    {
        if (std::wstring(step) == L"save folder")
            std::filesystem::create_directory(folder);
    };
    const wchar_t* made = L"";
    testing::internal::CaptureStderr();
    EXPECT_EQ(m_Core.PrepareSaveFolder(made), GxString::FromUtf8(folder + "/"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(made, nullptr);
}

TEST_F(GxCoreSaveAtExit, AFailureAfterThePlayersQuitIsLoggedAndToldInOneBoxNamingTheFolder)
{
    Block("userconf.dat");
    Block("permanent.dat");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(m_Core.SaveAtExit());
    const std::string box = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Count(box, "[SaveAtExitTest]"), 1u) << box;
    EXPECT_NE(box.find("設定と進行状況を保存できませんでした"), std::string::npos) << box;
    EXPECT_NE(box.find(GxString::ToUtf8(Folder())), std::string::npos) << box;
    EXPECT_TRUE(Logged(L"終了時に設定と進行状況を保存できませんでした(" + Folder() + L")"));
}

TEST_F(GxCoreSaveAtExit, AFailureAfterASignalIsLoggedOnly)
{
    Block("permanent.dat");
    PfSignal::Install();
    std::raise(SIGTERM);
    ASSERT_TRUE(PfSignal::IsQuitRequested());
    testing::internal::CaptureStderr();
    EXPECT_FALSE(m_Core.SaveAtExit());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    // The options were written; only the progress is named.
    EXPECT_TRUE(std::filesystem::is_regular_file(Path("userconf.dat")));
    EXPECT_TRUE(Logged(L"終了時に進行状況を保存できませんでした(" + Folder() + L")"));
}
