#include "core/export/atomic_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// Every fsync of this test program, by the path of what it flushed: the writer's own calls bind
// to this definition rather than the C library's.
std::vector<std::string>& FlushedPaths() {
    static std::vector<std::string> paths;
    return paths;
}

extern "C" int fsync(int descriptor) {
    char path[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(descriptor);
    const ssize_t length = ::readlink(link.c_str(), path, sizeof path);
    if (length > 0)
        FlushedPaths().emplace_back(path, static_cast<std::size_t>(length));
    return static_cast<int>(::syscall(SYS_fsync, descriptor));
}

namespace vantrel::exports {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class AtomicFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() / ("vantrel_atomic_" + std::to_string(::getpid()) +
                                                "_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_folder);
    }
    void TearDown() override {
        fs::permissions(m_folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_folder);
    }

    fs::path file(const std::string& name) const { return m_folder / name; }

    static void Put(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Names of every file in the folder, so that a left-behind temporary file shows.
    std::vector<std::string> folderContents() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_folder;
};

const auto kWriteNew = [](std::ostream& out) { out << "new\r\n"; };

TEST_F(AtomicFile, ASuccessfulWriteCreatesTheFile) {
    EXPECT_EQ(WriteFileAtomically(file("lines.txt"), kWriteNew), std::nullopt);
    EXPECT_EQ(Read(file("lines.txt")), "new\r\n");
    EXPECT_EQ(folderContents(), std::vector<std::string>{"lines.txt"});
}

TEST_F(AtomicFile, ASuccessfulWriteReplacesAnExistingFileAndKeepsItsPermissions) {
    Put(file("lines.txt"), "old contents that are longer");
    fs::permissions(file("lines.txt"), fs::perms::owner_read | fs::perms::owner_write);

    EXPECT_EQ(WriteFileAtomically(file("lines.txt"), kWriteNew), std::nullopt);

    EXPECT_EQ(Read(file("lines.txt")), "new\r\n");
    EXPECT_EQ(fs::status(file("lines.txt")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(folderContents(), std::vector<std::string>{"lines.txt"});
}

TEST_F(AtomicFile, AMissingFolderIsReportedWithTheFileAndTheReason) {
    const fs::path target = file("no such folder") / "lines.txt";
    const auto message = WriteFileAtomically(target, kWriteNew);
    ASSERT_TRUE(message);
    EXPECT_EQ(*message, "Could not write \"" + target.string() + "\": No such file or directory");
    EXPECT_TRUE(folderContents().empty());
}

TEST_F(AtomicFile, AFolderThatIsAFileIsReportedAndTheFileIsLeftAlone) {
    Put(file("plan"), "a plain file");
    const auto message = WriteFileAtomically(file("plan") / "lines.txt", kWriteNew);
    ASSERT_TRUE(message);
    EXPECT_THAT(*message, HasSubstr("plan/lines.txt\": Not a directory"));
    EXPECT_EQ(Read(file("plan")), "a plain file");
}

TEST_F(AtomicFile, AReadOnlyFolderIsReportedAndItsFileLeftUntouched) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not stop the superuser";
    Put(file("lines.txt"), "old");
    fs::permissions(m_folder, fs::perms::owner_read | fs::perms::owner_exec);

    const auto message = WriteFileAtomically(file("lines.txt"), kWriteNew);

    ASSERT_TRUE(message);
    EXPECT_THAT(*message, HasSubstr("lines.txt\": Permission denied"));
    EXPECT_EQ(Read(file("lines.txt")), "old");
}

TEST_F(AtomicFile, AWriteProtectedFileIsRefusedAndAReplacedFileKeepsItsPermissions) {
    Put(file("kept.txt"), "old");
    fs::permissions(file("kept.txt"), fs::perms::owner_read | fs::perms::group_read);
    const auto message = WriteFileAtomically(file("kept.txt"), kWriteNew);
    ASSERT_TRUE(message);
    EXPECT_THAT(*message, HasSubstr("kept.txt\": Permission denied"));
    EXPECT_EQ(Read(file("kept.txt")), "old");

    Put(file("shared.txt"), "old");
    const auto shared = fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read;
    fs::permissions(file("shared.txt"), shared);
    ASSERT_FALSE(WriteFileAtomically(file("shared.txt"), kWriteNew));
    EXPECT_EQ(fs::status(file("shared.txt")).permissions(), shared);
}

TEST_F(AtomicFile, ATargetThatIsAFolderIsReportedAndNoTemporaryFileStays) {
    fs::create_directory(file("lines.txt"));
    const auto message = WriteFileAtomically(file("lines.txt"), kWriteNew);
    ASSERT_TRUE(message);
    EXPECT_THAT(*message, HasSubstr("lines.txt\": "));
    EXPECT_EQ(folderContents(), std::vector<std::string>{"lines.txt"});
    EXPECT_TRUE(fs::is_directory(file("lines.txt")));
}

TEST_F(AtomicFile, AWriterThatThrowsLeavesTheOldFileAndNoTemporaryFile) {
    Put(file("lines.txt"), "old");
    const auto message = WriteFileAtomically(file("lines.txt"), [](std::ostream& out) {
        out << "half a file";
        throw std::runtime_error("index outside the table");
    });
    ASSERT_TRUE(message);
    EXPECT_THAT(*message, HasSubstr("lines.txt\": index outside the table"));
    EXPECT_EQ(Read(file("lines.txt")), "old");
    EXPECT_EQ(folderContents(), std::vector<std::string>{"lines.txt"});
}

TEST_F(AtomicFile, AStreamThatFailsMidwayLeavesTheOldFileAndNoTemporaryFile) {
    Put(file("lines.txt"), "old");
    const auto message = WriteFileAtomically(file("lines.txt"), [](std::ostream& out) {
        out << "half a file";
        out.setstate(std::ios::badbit);
    });
    ASSERT_TRUE(message);
    EXPECT_THAT(*message, HasSubstr("lines.txt\": "));
    EXPECT_EQ(Read(file("lines.txt")), "old");
    EXPECT_EQ(folderContents(), std::vector<std::string>{"lines.txt"});
}

TEST_F(AtomicFile, TheFileReachesTheDiskBeforeItsRenameAndTheFolderAfter) {
    FlushedPaths().clear();
    ASSERT_EQ(WriteFileAtomically(file("lines.txt"), kWriteNew), std::nullopt);
    std::vector<std::string> flushed;
    for (const std::string& path : FlushedPaths())
        if (path.starts_with(m_folder.string()))
            flushed.push_back(fs::path(path).lexically_relative(m_folder).string());
    ASSERT_EQ(flushed.size(), 2u);
    EXPECT_THAT(flushed[0], ::testing::StartsWith(".lines.txt.vantrel-"));
    EXPECT_EQ(flushed[1], ".");
}

// A save killed while it writes, in a child process, as a kill from outside would stop it.
void KilledSave(const fs::path& target) {
    const pid_t child = ::fork();
    if (child == 0) {
        WriteFileAtomically(target, [](std::ostream& out) {
            out << "half a file" << std::flush;
            ::raise(SIGKILL);
        });
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
}

TEST_F(AtomicFile, TemporaryFilesOfKilledSavesAreRemovedByTheNextSaveAndTheFolderSweep) {
    KilledSave(file("lines.txt"));
    // The next save of the file removes what the killed one left, even when killed itself.
    KilledSave(file("lines.txt"));
    KilledSave(file("other.txt"));
    ASSERT_EQ(folderContents().size(), 2u);
    // A save in progress, this process's, is another's to finish.
    const std::string running = ".lines.txt.vantrel-" + std::to_string(::getpid()) + "-7.tmp";
    Put(file(running), "being written");

    ASSERT_EQ(WriteFileAtomically(file("lines.txt"), kWriteNew), std::nullopt);
    EXPECT_EQ(folderContents().size(), 3u);
    EXPECT_TRUE(fs::exists(file("lines.txt")));

    RemoveTemporaryFilesOfEndedRuns(m_folder);
    EXPECT_EQ(folderContents(), (std::vector<std::string>{running, "lines.txt"}));
}

// Runs `action` with files limited to a few bytes, as on a full disk: the writes fail with an
// error from the system (the size signal is ignored meanwhile).
template <class Action> void WithFileSizeLimit(rlim_t bytes, Action action) {
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = bytes;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    action();
    std::signal(SIGXFSZ, savedHandler);
    ::setrlimit(RLIMIT_FSIZE, &saved);
}

TEST_F(AtomicFile, AWriteTheSystemRefusesIsReportedAndLeavesTheOldFile) {
    Put(file("lines.txt"), "old");
    std::optional<std::string> message;
    WithFileSizeLimit(4096, [&] {
        message = WriteFileAtomically(file("lines.txt"), [](std::ostream& out) {
            for (int row = 1; row <= 20000; ++row)
                out << row << ",0.5\r\n";
        });
    });
    ASSERT_TRUE(message);
    EXPECT_THAT(*message, HasSubstr("lines.txt\": File too large"));
    EXPECT_EQ(Read(file("lines.txt")), "old");
    EXPECT_EQ(folderContents(), std::vector<std::string>{"lines.txt"});
}

} // namespace
} // namespace vantrel::exports
