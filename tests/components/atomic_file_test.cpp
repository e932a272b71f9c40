#include "components/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace timer555 {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("timer555_atomic_" + std::to_string(getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(dir, fs::perms::owner_all, ignored);
    fs::remove_all(dir);
  }
  static std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  size_t Entries() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {}));
  }
  fs::path dir;
};

TEST_F(AtomicFileTest, ReplacesTheWholeFileAndKeepsItsMode) {
  const fs::path file = dir / "page.svg";
  std::ofstream(file) << "old";
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(WriteFileAtomically(file.string(), "new contents"), std::nullopt);
  EXPECT_EQ(Read(file), "new contents");
  EXPECT_EQ(fs::status(file).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Entries(), 1u) << "no temporary file is left";
}

TEST_F(AtomicFileTest, ALinkIsFollowedAndStays) {
  const fs::path target = dir / "target.png";
  std::ofstream(target) << "old";
  fs::create_symlink(target, dir / "link.png");
  EXPECT_EQ(WriteFileAtomically((dir / "link.png").string(), "new"), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(dir / "link.png"));
  EXPECT_EQ(Read(target), "new");
}

TEST_F(AtomicFileTest, AFullDeviceIsReported) {
  EXPECT_EQ(WriteFileAtomically("/dev/full", "bytes"),
            "cannot write '/dev/full': No space left on device");
}

// A write that fails half-way (here the file-size limit, as a full disk
// would) leaves the old file as it was and no temporary file beside it.
TEST_F(AtomicFileTest, AFailedWriteKeepsTheOldFile) {
  const fs::path file = dir / "design.png";
  std::ofstream(file) << "the old picture";
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &small);
  const auto failure = WriteFileAtomically(file.string(), std::string(10000, 'x'));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_EQ(failure, "cannot write '" + file.string() + "': File too large");
  EXPECT_EQ(Read(file), "the old picture");
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicFileTest, ReadOnlyTargetsAndFoldersAreRefused) {
  const fs::path file = dir / "kept.cir";
  std::ofstream(file) << "kept";
  fs::permissions(file, fs::perms::owner_read);
  EXPECT_EQ(WriteFileAtomically(file.string(), "new"),
            "cannot write '" + file.string() + "': Permission denied");
  EXPECT_EQ(Read(file), "kept");
  EXPECT_EQ(WriteFileAtomically(dir.string(), "x"),
            "cannot write '" + dir.string() + "': Is a directory");
  EXPECT_EQ(WriteFileAtomically((dir / "no" / "such.png").string(), "x"),
            "cannot write '" + (dir / "no" / "such.png").string() + "': No such file or directory");
}

// The name's edges: a 255-byte file name (the temporary beside it must fit
// too), a loop of links (an error, nothing written), a link to nowhere
// (written through: the file it names is made), a file with another hard
// link (both names keep seeing the same, new content).
TEST_F(AtomicFileTest, LongNamesLinksAndHardLinks) {
  const fs::path longest = dir / (std::string(251, 'x') + ".png");
  EXPECT_EQ(WriteFileAtomically(longest.string(), "long"), std::nullopt);
  EXPECT_EQ(Read(longest), "long");
  EXPECT_EQ(WriteFileAtomically(longest.string(), "longer"), std::nullopt);
  EXPECT_EQ(Read(longest), "longer");

  fs::create_symlink("b", dir / "a");
  fs::create_symlink("a", dir / "b");
  EXPECT_EQ(WriteFileAtomically((dir / "a").string(), "x"),
            "cannot write '" + (dir / "a").string() + "': Too many levels of symbolic links");
  EXPECT_TRUE(fs::is_symlink(dir / "a"));

  fs::create_symlink("made.png", dir / "dangling");
  EXPECT_EQ(WriteFileAtomically((dir / "dangling").string(), "through"), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
  EXPECT_EQ(Read(dir / "made.png"), "through");

  std::ofstream(dir / "one.cir") << "old";
  fs::create_hard_link(dir / "one.cir", dir / "two.cir");
  EXPECT_EQ(WriteFileAtomically((dir / "one.cir").string(), "new"), std::nullopt);
  EXPECT_EQ(Read(dir / "two.cir"), "new");
  EXPECT_EQ(fs::hard_link_count(dir / "one.cir"), 2u);
  EXPECT_EQ(Entries(), 7u) << "no temporary file left";
}

}  // namespace
}  // namespace timer555
