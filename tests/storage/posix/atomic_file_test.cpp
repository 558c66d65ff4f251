// Saving whole files: killed saves, what a save keeps of the old file, and where it writes.
#include "storage/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "support/temp_folder.h"

namespace vyk {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

// Runs `save` in a child process as `uid` (when root), or as this user; true when it succeeded.
bool SavedAs(uid_t uid, const std::function<void()>& save) {
  pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(uid) != 0 || ::setuid(uid) != 0)) ::_exit(2);
    try {
      save();
    } catch (...) {
      ::_exit(1);
    }
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A folder for the kill test, on a memory file system where there is one: a save there takes
// microseconds rather than a disk's milliseconds of syncing, so the kills fall on every step of
// it and not nearly all within a sync.
class KillFolder {
 public:
  KillFolder() {
    std::error_code ec;
    const fs::path memory = "/dev/shm";
    path_ = (fs::is_directory(memory, ec) && ::access(memory.c_str(), W_OK) == 0
                 ? memory
                 : fs::temp_directory_path()) /
            ("vyk_kill_" + std::to_string(::getpid()));
    fs::remove_all(path_, ec);
    fs::create_directories(path_);
  }
  ~KillFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// A child saves two contents in turn without end and is killed at a random instant, again and
// again: the name always holds one content whole, and whatever the dead save left beside it
// goes with the next save (its first step, run here alone).
TEST(AtomicFile, AKilledSaveLeavesTheOldOrTheNewFile) {
  const std::string oldBytes(768, 'o');
  const std::string newBytes(2176, 'n');  // longer, so a torn file shows in its length too
  for (bool unnamed : {true, false}) {
    SCOPED_TRACE(unnamed ? "unnamed new file" : "hidden temporary");
    KillFolder folder;
    const std::string path = (folder.Path() / "kill.VYK").string();
    const ReplaceOptions options{unnamed};
    // Kill instants spread over about two pairs of saves, however fast the file system is.
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 5; ++i) {
      WriteFileReplacing(path, newBytes, options);
      WriteFileReplacing(path, oldBytes, options);
    }
    const auto pair = (std::chrono::steady_clock::now() - start) / 5;
    std::mt19937 random(7);
    std::uniform_int_distribution<long long> delay(0, 2 * pair.count());

    int leftBehind = 0;
    for (int kill = 0; kill < 50; ++kill) {
      int ready[2];
      ASSERT_EQ(::pipe(ready), 0);
      pid_t child = ::fork();
      if (child == 0) {
        ::close(ready[0]);
        if (::write(ready[1], "r", 1) != 1) ::_exit(2);
        try {
          for (;;) {
            WriteFileReplacing(path, newBytes, options);
            WriteFileReplacing(path, oldBytes, options);
          }
        } catch (...) {
        }
        ::_exit(1);
      }
      ::close(ready[1]);
      char signal = 0;
      ASSERT_EQ(::read(ready[0], &signal, 1), 1) << "the child never started";
      ::close(ready[0]);
      std::this_thread::sleep_for(std::chrono::steady_clock::duration(delay(random)));
      ::kill(child, SIGKILL);
      int status = 0;
      ::waitpid(child, &status, 0);
      ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped saving by itself";

      const std::string now = ReadBytes(path);
      ASSERT_TRUE(now == oldBytes || now == newBytes) << "kill " << kill << ": " << now.size();
      if (Entries(folder.Path()).size() > 1) ++leftBehind;
      RemoveStaleTemporaries(path);
      ASSERT_EQ(Entries(folder.Path()), std::set<std::string>{"kill.VYK"}) << "kill " << kill;
    }
    RecordProperty(unnamed ? "leftBehindUnnamed" : "leftBehindNamed", leftBehind);
  }
}

// What the old file was, the saved one still is.
TEST(AtomicFile, ASaveKeepsTheFilesLinksModeAndOwner) {
  struct Case {
    const char* what;
    bool needsRoot;
    std::function<void(const std::string& path, const std::string& other)> prepare;
    std::function<void(const std::string& path, const std::string& other)> check;
  } cases[] = {
      {"hard link", false,
       [](const std::string& path, const std::string& other) { fs::create_hard_link(path, other); },
       [](const std::string& path, const std::string& other) {
         EXPECT_EQ(ReadBytes(other), "new");
         EXPECT_EQ(fs::hard_link_count(path), 2u);
       }},
      {"symbolic link saved through", false,
       [](const std::string& path, const std::string& other) { fs::create_symlink(path, other); },
       [](const std::string&, const std::string& other) { EXPECT_TRUE(fs::is_symlink(other)); }},
      {"mode", false,
       [](const std::string& path, const std::string&) { ::chmod(path.c_str(), 0640); },
       [](const std::string& path, const std::string&) {
         struct stat info {};
         ::stat(path.c_str(), &info);
         EXPECT_EQ(info.st_mode & 07777, 0640u);
       }},
      // Root saving another user's project must not take it over.
      {"owner", true,
       [](const std::string& path, const std::string&) {
         ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
       },
       [](const std::string& path, const std::string&) {
         struct stat info {};
         ::stat(path.c_str(), &info);
         EXPECT_EQ(info.st_uid, 65534u);
         EXPECT_EQ(info.st_gid, 65534u);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.needsRoot && ::geteuid() != 0) continue;
    TempFolder folder;
    const std::string path = folder.File("p.VYK");
    const std::string other = folder.File("other.VYK");
    WriteBytes(path, "old");
    c.prepare(path, other);
    const std::set<std::string> before = Entries(folder.Path());
    // Through the symbolic link when there is one.
    WriteFileReplacing(fs::is_symlink(other) ? other : path, "new");
    EXPECT_EQ(ReadBytes(path), "new");
    c.check(path, other);
    EXPECT_EQ(Entries(folder.Path()), before);
  }
}

// A read-only folder takes no new file, but its writable files can still be saved.
TEST(AtomicFile, AFolderThatTakesNoNewFileIsWrittenInPlace) {
  TempFolder folder;
  const std::string path = folder.File("p.VYK");
  WriteBytes(path, std::string(768, 'o'));
  // Root writes into any folder: the save runs as another user, who owns only the file.
  const uid_t user = ::geteuid() == 0 ? 65534 : ::geteuid();
  const gid_t group = ::geteuid() == 0 ? 65534 : ::getegid();
  ASSERT_EQ(::chown(path.c_str(), user, group), 0);
  fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec |
                                     fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
  EXPECT_TRUE(SavedAs(user, [&] { WriteFileReplacing(path, std::string(100, 'n')); }));
  EXPECT_EQ(ReadBytes(path), std::string(100, 'n'));
  EXPECT_EQ(Entries(folder.Path()), std::set<std::string>{"p.VYK"});
  // A new file there is still refused.
  EXPECT_FALSE(SavedAs(user, [&] { WriteFileReplacing(folder.File("new.VYK"), "n"); }));
}

// The hidden temporary's name is cut to fit, so the longest names save as well as short ones.
TEST(AtomicFile, NamesUpToTheLongestAllowedSave) {
  for (size_t length : {246u, 250u, 255u}) {
    SCOPED_TRACE(length);
    TempFolder folder;
    const std::string name = std::string(length - 4, 'x') + ".VYK";
    for (bool unnamed : {true, false}) {
      WriteFileReplacing(folder.File(name), unnamed ? "a" : "b", ReplaceOptions{unnamed});
      EXPECT_EQ(ReadBytes(folder.File(name)), unnamed ? "a" : "b");
    }
    EXPECT_EQ(Entries(folder.Path()), std::set<std::string>{name});
  }
}

// Only what an earlier save of this very file left and no running save holds is cleared.
TEST(AtomicFile, ASaveClearsOnlyItsFilesStaleTemporaries) {
  TempFolder folder;
  const std::string path = folder.File("p.VYK");
  struct Entry {
    const char* name;
    bool kept;
  } entries[] = {
      {".p.VYK.Ab3xY9", false},  // a killed save's
      {".p.VYK.Held01", true},   // a running save's: locked
      {".p.VYK.tmp", true},     {".p.VYK.Ab3xY9z", true},
      {".q.VYK.Ab3xY9", true},  {"p.VYK.Ab3xY9", true},
  };
  for (const Entry& e : entries)
    WriteBytes(folder.File(e.name), "litter?");
  const int held = ::open(folder.File(".p.VYK.Held01").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  WriteFileReplacing(path, "new");
  ::close(held);
  std::set<std::string> expected{"p.VYK"};
  for (const Entry& e : entries) {
    if (e.kept) expected.insert(e.name);
  }
  EXPECT_EQ(Entries(folder.Path()), expected);
}

}  // namespace
}  // namespace vyk
