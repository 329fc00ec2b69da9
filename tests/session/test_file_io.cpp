// Reading only regular files, and replacing files atomically: a failed write, even one cut short by the file
// size limit, leaves the target as it was and no temporary file behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "session/file_io.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

// A fresh temporary folder per test, removed afterwards.
class FileIo : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fs::create_directory(m_folder)); }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string path(const std::string& name) const { return m_folder + "/" + name; }
    std::string make_file(const std::string& name, const std::string& content, mode_t mode = 0644) const {
        std::ofstream(path(name), std::ios::binary) << content;
        EXPECT_EQ(::chmod(path(name).c_str(), mode), 0);
        return path(name);
    }
    std::set<std::string> names() const {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(m_folder)) found.insert(entry.path().filename().string());
        return found;
    }

    const std::string m_folder = temp_folder() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

mode_t mode_of(const std::string& path) {
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// Whether the atomic write, in a child process whose files may grow to at most limit bytes (SIGXFSZ ignored as
// the tool's main does), fails with "File too large".
bool fails_over_size_limit(const std::string& path, const std::string& text, rlim_t limit) {
    const pid_t child = ::fork();
    if (child == 0) {
        kova_ignore_file_size_signal();
        const struct rlimit small{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &small);
        std::string error;
        ::_exit(!kova_write_file_atomically(path, text, error) && error.find("File too large") != std::string::npos ? 0
            : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

TEST_F(FileIo, ReadsOnlyRegularFilesWithinTheLimit) {
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    // text: when read; reason: a phrase of the refusal, or "" when read.
    const struct { const char* title; std::string path; std::size_t limit; std::string text, reason; } cases[] = {
        {"a regular file", make_file("a.settings", "DEPTH=32\n\xFF\n"), 64, "DEPTH=32\n\xFF\n", ""},
        {"exactly at the limit", make_file("ten", "0123456789"), 10, "0123456789", ""},
        {"over the limit", make_file("eleven", "0123456789A"), 10, "", "larger than 10 bytes"},
        {"a missing file", path("missing"), 64, "", "cannot be read: No such file"},
        {"a folder", m_folder, 64, "", "is a folder"}, {"a FIFO without a writer", path("fifo"), 64, "", "is a FIFO"},
        {"a device", "/dev/zero", 64, "", "is a device"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        std::string text = "old", error;
        ::alarm(20);  // a read that blocks ends the test program instead of hanging it
        const bool read = kova_read_text_file(c.path, text, error, c.limit);
        ::alarm(0);
        EXPECT_EQ(read, c.reason.empty());
        EXPECT_EQ(text, c.text);
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST_F(FileIo, AtomicWritesReplaceTheFileAndKeepItsMode) {
    const std::string existing = make_file("existing.settings", "old\n", 0640),
                      target = make_file("target.settings", "old target\n", 0604);
    ASSERT_EQ(::symlink("target.settings", path("link").c_str()), 0);
    const mode_t umask = ::umask(0);
    ::umask(umask);
    const struct { const char* title; std::string path, written; mode_t mode; } cases[] = {  // written: gets the text
        {"a new file", path("new.settings"), path("new.settings"), 0666 & ~umask},
        {"an existing file", existing, existing, 0640},
        {"through a symbolic link", path("link"), target, 0604},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        const std::string text = std::string("DEPTH=32\n\0\xFF", 11) + c.title;
        std::string error;
        EXPECT_TRUE(kova_write_file_atomically(c.path, text, error)) << error;
        EXPECT_EQ(file_text(c.written), text);
        EXPECT_EQ(mode_of(c.written), c.mode);
    }
    EXPECT_TRUE(fs::is_symlink(path("link")));
    EXPECT_EQ(names(), (std::set<std::string>{"existing.settings", "link", "new.settings", "target.settings"}));
}

TEST_F(FileIo, FailedWritesLeaveTheTargetAndNoTemporaryFile) {
    const std::string original(3000, 'o');
    const std::string target = make_file("big.settings", original);
    fs::create_directory(path("folder"));
    EXPECT_TRUE(fails_over_size_limit(target, std::string(100000, 'x'), 1000));
    EXPECT_EQ(file_text(target), original);
    for (const auto& [place, reason] :
         {std::pair<std::string, std::string>{"missing/a.settings", "cannot create a temporary file"},
          {"folder", "is a folder"}}) {
        std::string error;
        EXPECT_FALSE(kova_write_file_atomically(path(place), "A=1\n", error));
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
    EXPECT_EQ(names(), (std::set<std::string>{"big.settings", "folder"}));
    EXPECT_TRUE(fs::is_empty(path("folder")));
}
