// Spare files: made ahead without a name, named once, and the pictures stored through them whole.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <thread>

#include "tests/JpegFile.h"
#include "tests/web/PageClient.h"
#include "web/PictureCache.h"
#include "web/SpareFiles.h"

namespace ribbon::web {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

std::size_t FilesIn(const fs::path& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

TEST(SpareFiles, AreUnnamedUntilLinkedAndLinkOnlyToNewNames) {
    TempDir dir;
    TSpareFiles spares(dir.Path(), 2);
    int fd = spares.Take();  // starts the maker
    for (int i = 0; fd < 0 && i < 500; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        fd = spares.Take();
    }
    ASSERT_GE(fd, 0) << "no spare file was made in 5 s";
    EXPECT_EQ(FilesIn(dir.Path()), 0u);
    ASSERT_EQ(write(fd, "picture", 7), 7);
    const fs::path taken = dir.Path() / "JPGtaken.tmp";
    std::ofstream(taken) << "other";
    EXPECT_EQ(TSpareFiles::Link(fd, taken.string()), EEXIST);
    EXPECT_EQ(test::ReadFile(taken), "other");
    EXPECT_EQ(TSpareFiles::Link(fd, (dir.Path() / "JPGnamed.tmp").string()), 0);
    close(fd);
    EXPECT_EQ(test::ReadFile(dir.Path() / "JPGnamed.tmp"), "picture");
    struct stat st {};
    ASSERT_EQ(stat((dir.Path() / "JPGnamed.tmp").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(FilesIn(dir.Path()), 2u);  // the spares made meanwhile have no names
}

TEST(SpareFiles, PicturesStoredThroughThemAreWholeAndDistinct) {
    TempDir dir;
    TPictureCache cache(dir.Path());
    std::vector<TPictureCache::TPin> pins;
    std::set<std::string> names;
    for (int i = 0; i < 40; ++i) {
        pins.push_back(cache.Store(std::string(5000 + i, static_cast<char>('a' + i % 26))));
        names.insert(pins.back().Name());
        std::this_thread::sleep_for(std::chrono::milliseconds(2));  // lets the maker catch up
    }
    EXPECT_EQ(names.size(), 40u);
    EXPECT_EQ(FilesIn(dir.Path()), 40u);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(test::ReadFile(dir.Path() / pins[i].Name()),
                  std::string(5000 + i, static_cast<char>('a' + i % 26)));
}

}  // namespace
}  // namespace ribbon::web
