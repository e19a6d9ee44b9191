// The picture cache: JPEG files it names itself, served by name only, swept when old.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>

#include "base/Exceptions.h"
#include "tests/JpegFile.h"
#include "tests/web/PageClient.h"
#include "web/Controls.h"
#include "web/PictureCache.h"

namespace ribbon::web {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

TEST(PictureCache, CreatesItsDirectoryWithMissingParentsOrSaysWhyNot) {
    TempDir dir;
    TPictureCache cache(dir.Path() / "a" / "b" / "Cache");
    EXPECT_TRUE(fs::is_directory(dir.Path() / "a" / "b" / "Cache"));
    std::ofstream(dir.Path() / "file") << "x";
    EXPECT_THROW(TPictureCache(dir.Path() / "file" / "Cache"), EFileError);
}

TEST(PictureCache, StoresTheImagesBaselineQuality90Jpeg) {
    TempDir dir;
    TPictureCache cache(dir.Path());
    TIWImage image("img", 0, 0, 500, 200);
    image.Picture.SetSize(500, 200);
    image.Picture.Canvas().Brush.SetColor(clRed);
    image.Picture.Canvas().FillRect({0, 0, 250, 200});
    image.Settle();
    EXPECT_EQ(image.Picture.Width(), 0);  // the bitmap is given back
    const auto pin = cache.Store(image.Jpeg());
    const std::string& name = pin.Name();
    EXPECT_TRUE(std::regex_match(name, std::regex("JPG[A-Za-z0-9]{6}\\.tmp"))) << name;
    EXPECT_NE(cache.Store(image.Jpeg()).Name(), name);

    test::JpegStream stream(test::ReadFile(dir.Path() / name));
    ASSERT_TRUE(stream.HeaderOk());
    jpeg_decompress_struct& info = stream.Info();
    EXPECT_EQ(info.image_width, 500u);
    EXPECT_EQ(info.image_height, 200u);
    EXPECT_EQ(info.num_components, 3);
    EXPECT_FALSE(jpeg_has_multiple_scans(&info));  // baseline, not progressive
    // The quantisation table that quality 90 gives for luminance starts with 3 (50 -> 16).
    ASSERT_NE(info.quant_tbl_ptrs[0], nullptr);
    EXPECT_EQ(info.quant_tbl_ptrs[0]->quantval[0], 3);
}

TEST(PictureCache, FindsOnlyNamesItMade) {
    TempDir dir;
    TPictureCache cache(dir.Path() / "Cache");
    const auto pin = cache.Store("jpeg");
    const std::string made = pin.Name();
    std::ofstream(dir.Path() / "Cache" / "JPGabcdef.tmp") << "planted";
    std::ofstream(dir.Path() / "secret.txt") << "secret";
    ASSERT_TRUE(cache.Find(made));
    EXPECT_EQ(*cache.Find(made), dir.Path() / "Cache" / made);
    for (const std::string& bad : std::vector<std::string>{
             "JPGabcdef.tmp", "../secret.txt", "..%2Fsecret.txt", "/etc/passwd", "", ".",
             "JPG/../../secret.txt", made + "/", "./" + made, made.substr(0, made.size() - 1)})
        EXPECT_FALSE(cache.Find(bad)) << bad;

    // A link put in place of a picture is not followed.
    fs::remove(dir.Path() / "Cache" / made);
    fs::create_symlink(dir.Path() / "secret.txt", dir.Path() / "Cache" / made);
    EXPECT_FALSE(cache.Find(made));
}

TEST(PictureCache, SweepDeletesOnlyTmpFilesOlderThanTenMinutes) {
    TempDir dir;
    TPictureCache cache(dir.Path());
    const auto now = std::chrono::system_clock::now();
    const struct {
        const char* name;
        std::chrono::seconds age;
        bool kept;
    } files[] = {
        {"JPGold001.tmp", std::chrono::seconds(11 * 60), false},
        {"other.tmp", std::chrono::seconds(60 * 60), false},
        {"JPGnew001.tmp", std::chrono::seconds(9 * 60), true},
        {"JPGedge01.tmp", std::chrono::seconds(10 * 60 - 5), true},
        {"old.jpg", std::chrono::seconds(60 * 60), true},
    };
    for (const auto& f : files) {
        std::ofstream(dir.Path() / f.name) << "x";
        fs::last_write_time(dir.Path() / f.name, fs::file_time_type::clock::now() - f.age);
    }
    EXPECT_EQ(cache.Sweep(now), 2);
    for (const auto& f : files) EXPECT_EQ(fs::exists(dir.Path() / f.name), f.kept) << f.name;
}

// The quota deletes the oldest pictures first, never one a page still shows, and counts what an
// earlier process left behind.
TEST(PictureCache, QuotaDeletesOldestUnshownPicturesFirst) {
    TempDir dir;
    std::ofstream(dir.Path() / "JPGleft01.tmp") << std::string(100, 'x');
    TPictureCache cache(dir.Path());
    const std::uintmax_t block = cache.Size();  // one picture takes one block
    ASSERT_GT(block, 0u);
    EXPECT_FALSE(cache.Find("JPGleft01.tmp"));
    const std::uintmax_t quota = 3 * block;
    const std::string jpeg(100, 'j');

    auto a = cache.Store(jpeg, quota);
    auto b = cache.Store(jpeg, quota);
    EXPECT_TRUE(fs::exists(dir.Path() / "JPGleft01.tmp"));
    auto c = cache.Store(jpeg, quota);
    EXPECT_FALSE(fs::exists(dir.Path() / "JPGleft01.tmp"));  // the leftover went first
    EXPECT_THROW(cache.Store(jpeg, quota), EFileError);      // every picture is shown
    EXPECT_EQ(cache.Size(), quota);

    const std::string first = a.Name();
    { auto released = std::move(a); }  // its page is gone
    auto d = cache.Store(jpeg, quota);
    EXPECT_FALSE(fs::exists(dir.Path() / first));
    for (const auto* kept : {&b, &c, &d}) EXPECT_TRUE(cache.Find(kept->Name())) << kept->Name();
    EXPECT_EQ(cache.Size(), quota);

    const std::string discarded = d.Name();
    cache.Discard(std::move(d));
    EXPECT_FALSE(fs::exists(dir.Path() / discarded));
    EXPECT_EQ(cache.Size(), 2 * block);
    EXPECT_THROW(cache.Store(std::string(4 * block, 'j'), quota), EFileError);
    EXPECT_EQ(cache.Size(), 2 * block);

    // A folder removed under the running server is made again.
    fs::remove_all(dir.Path());
    EXPECT_TRUE(cache.Find(cache.Store(jpeg).Name()));
}

}  // namespace
}  // namespace ribbon::web
