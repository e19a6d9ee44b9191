// Faces answered from the on-disk cache of fontconfig's earlier answers: the same face as
// fc-match, and fontconfig asked again whenever the configuration, a font or the cache changed.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <thread>
#include <tuple>

#include "graphics/FaceCacheFile.h"
#include "graphics/FaceResolver.h"
#include "graphics/FontCache.h"

namespace ribbon::detail {
namespace {

namespace fs = std::filesystem;

// Each test in a folder, home and cache of its own, with the environment restored after it
// (fc-match, run as a child, sees the same). Files other programs write into the real home
// while fontconfig reads could make an answer look unsafe to keep.
class FaceResolver : public testing::Test {
  protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "ribbon-faces-XXXXXX").string();
        dir = mkdtemp(name.data());
        fs::create_directories(dir / "home");
        Set("HOME", (dir / "home").string());
        Set("XDG_CACHE_HOME", (dir / "cache").string());
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
            Set(name, "");
            unsetenv(name);
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
        fs::remove_all(dir);
    }
    void Set(const char* Name, const std::string& Value) {
        const char* old = std::getenv(Name);
        if (!saved_.count(Name))
            saved_[Name] = old ? std::optional<std::string>(old) : std::nullopt;
        setenv(Name, Value.c_str(), 1);
    }
    fs::path dir;

  private:
    std::map<std::string, std::optional<std::string>> saved_;
};

void WriteText(const fs::path& File, const std::string& Text) {
    std::ofstream(File, std::ios::binary) << Text;
}

std::string ReadText(const fs::path& File) {
    std::ifstream in(File, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// fontconfig's own answer, from fc-match, as "file:index".
std::string FcMatch(const std::string& Family, bool Bold, bool Italic) {
    const std::string command = "fc-match -f '%{file}:%{index}' '" + Family +
                                ":weight=" + (Bold ? "200" : "80") +
                                ":slant=" + (Italic ? "100" : "0") + ":scalable=True'";
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[512];
        while (std::fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    return out;
}

std::string FileAndIndex(const TFaceMatch& m) {
    return m.File + ":" + std::to_string(m.Index);
}

// Waits until the files changed so far carry an older stamp than the file clock, as they do
// for a process started after the change (a stamp may run up to a tick ahead of that clock).
void LetFileClockTick() {
    const std::int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
    while (FileClockNow() <= now) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST_F(FaceResolver, GivesFcMatchsFaceFirstFromFontconfigThenFromTheCache) {
    struct Case {
        const char* name;
        bool bold, italic;
    };
    const Case cases[] = {
        {"", false, false},
        {"DejaVu Sans", false, false},
        {"DejaVu Sans", true, false},
        {"Courier New", false, false},
        {"Courier New", true, true},
        {"Arial", false, true},
        {"Times New Roman", true, false},
        {"Verdana", false, false},
        {"Impact", false, false},
    };
    std::set<std::tuple<std::string, bool, bool>> asked;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.bold ? " bold" : "") + (c.italic ? " italic" : ""));
        const std::string family = SubstituteFamily(c.name);
        const std::string expected = FcMatch(family, c.bold, c.italic);
        ASSERT_NE(expected, "");
        // Names standing for the same family share its answer.
        const bool first = asked.emplace(family, c.bold, c.italic).second;
        for (const TFaceSource source :
             {first ? TFaceSource::Fontconfig : TFaceSource::Cache, TFaceSource::Cache}) {
            const auto r = ResolveFace(family, c.bold, c.italic);
            ASSERT_TRUE(r);
            EXPECT_EQ(r->Source, source);
            EXPECT_EQ(FileAndIndex(r->Match), expected);
        }
        const auto face = FindFace(c.name, c.bold, c.italic);
        EXPECT_EQ(face->File + ":" + std::to_string(face->Index), expected);
    }
}

TEST_F(FaceResolver, NoticesAChangedConfigurationAnAddedOrRemovedFontAndANewIncludedFile) {
    // The configuration in a folder of its own: the caches written beside it do not change it.
    // The included file is in a folder not there yet, as ~/.config/fontconfig often is.
    const fs::path conf = dir / "conf", fonts = dir / "fonts";
    const fs::path extra = dir / "user" / "fonts.conf";
    // The folders made beforehand: the first reading would change the test's folder.
    for (const fs::path& d : {conf, fonts, dir / "fc-cache"}) fs::create_directory(d);
    const fs::path system = "/usr/share/fonts/truetype";
    for (const char* f : {"dejavu/DejaVuSans.ttf", "liberation/LiberationSerif-Regular.ttf",
                          "liberation/LiberationMono-Regular.ttf"})
        fs::copy_file(system / f, fonts / fs::path(f).filename());
    auto alias = [](const std::string& prefer) {
        return "<alias binding=\"strong\"><family>Ribbon Probe</family><prefer>" + prefer +
               "</prefer></alias>\n";
    };
    auto configure = [&](const std::string& prefer) {
        // Written beside and renamed over, as editors and package managers do.
        WriteText(conf / "new.conf",
                  "<?xml version=\"1.0\"?>\n<fontconfig>\n<dir>" + fonts.string() +
                      "</dir>\n<cachedir>" + (dir / "fc-cache").string() +
                      "</cachedir>\n<include ignore_missing=\"yes\">" + extra.string() +
                      "</include>\n" + alias(prefer) + "</fontconfig>\n");
        fs::rename(conf / "new.conf", conf / "fonts.conf");
    };
    auto include = [&](const std::string& prefer) {
        fs::create_directories(extra.parent_path());
        WriteText(extra,
                  "<?xml version=\"1.0\"?>\n<fontconfig>" + alias(prefer) + "</fontconfig>\n");
    };
    Set("FONTCONFIG_FILE", (conf / "fonts.conf").string());

    struct Step {
        const char* what;
        std::function<void()> change;
        // As a new process would: the change in the past, the configuration read afresh.
        // Otherwise the configuration read before stays in use, as in a long-running process.
        bool fresh;
        const char* file;
        TFaceSource source;
    };
    const Step steps[] = {
        {"an alias to Liberation Serif", [&] { configure("<family>Liberation Serif</family>"); },
         true, "LiberationSerif-Regular.ttf", TFaceSource::Fontconfig},
        {"nothing changed", [] {}, true, "LiberationSerif-Regular.ttf", TFaceSource::Cache},
        {"the alias now to Liberation Sans, else Liberation Mono",
         [&] { configure("<family>Liberation Sans</family><family>Liberation Mono</family>"); },
         true, "LiberationMono-Regular.ttf", TFaceSource::Fontconfig},
        {"Liberation Sans installed",
         [&] {
             fs::copy_file(system / "liberation/LiberationSans-Regular.ttf",
                           fonts / "LiberationSans-Regular.ttf");
         },
         true, "LiberationSans-Regular.ttf", TFaceSource::Fontconfig},
        {"nothing changed", [] {}, true, "LiberationSans-Regular.ttf", TFaceSource::Cache},
        {"Liberation Sans removed", [&] { fs::remove(fonts / "LiberationSans-Regular.ttf"); }, true,
         "LiberationMono-Regular.ttf", TFaceSource::Fontconfig},
        {"the included file written, with an alias to DejaVu Sans",
         [&] { include("<family>DejaVu Sans</family>"); }, true, "DejaVuSans.ttf",
         TFaceSource::Fontconfig},
        {"nothing changed", [] {}, true, "DejaVuSans.ttf", TFaceSource::Cache},
        {"the included file changed after the configuration was read",
         [&] {
             ASSERT_TRUE(ResolveFace("Ribbon Probe", true, false));  // reads it
             include("<family>Liberation Serif</family>");
         },
         false, "DejaVuSans.ttf", TFaceSource::Fontconfig},
        {"a new process: that older answer was not kept", [] {}, true,
         "LiberationSerif-Regular.ttf", TFaceSource::Fontconfig},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.change();
        if (s.fresh) {
            LetFileClockTick();
            ReloadFontConfiguration();
        }
        const auto r = ResolveFace("Ribbon Probe", false, false);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->Source, s.source);
        EXPECT_EQ(FileAndIndex(r->Match), (fonts / s.file).string() + ":0");
        if (s.fresh) {
            EXPECT_EQ(FileAndIndex(r->Match), FcMatch("Ribbon Probe", false, false));
        }
    }
}

TEST_F(FaceResolver, ADamagedForeignStaleOrUnwritableCacheIsAskedOfFontconfig) {
    const std::string expected = FcMatch("DejaVu Sans", false, false);
    const std::string cacheFile = FaceCacheFileName(FontconfigContext());
    ASSERT_TRUE(ResolveFace("DejaVu Sans", false, false));
    const std::string good = ReadText(cacheFile);
    const auto data = DecodeFaceCache(good);
    ASSERT_TRUE(data);
    ASSERT_EQ(data->Faces.size(), 1u);

    // A well-formed file that must not be believed: its answer names another face.
    auto forged = [&](const std::function<void(TFaceCacheData&)>& change) {
        TFaceCacheData d = *data;
        d.Faces[0].Match.File = "/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf";
        d.Faces[0].FileState = StatPath(d.Faces[0].Match.File);
        change(d);
        return EncodeFaceCache(d);
    };
    struct Case {
        const char* what;
        std::string text;
    };
    std::string flipped = good;
    flipped[flipped.size() / 2] ^= 1;
    const Case cases[] = {
        {"empty", ""},
        {"one bit changed", flipped},
        {"made in another context", forged([](TFaceCacheData& d) { d.Context += " LANG=de"; })},
        {"a configuration file changed since",
         forged([](TFaceCacheData& d) { d.Depends.front().Modified -= 1; })},
        {"a missing file now present",
         forged([](TFaceCacheData& d) { d.Depends.push_back(TPathState{.Path = "/"}); })},
        {"the face's file changed since",
         forged([](TFaceCacheData& d) { d.Faces[0].FileState.Size += 1; })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteText(cacheFile, c.text);
        for (const TFaceSource source : {TFaceSource::Fontconfig, TFaceSource::Cache}) {
            const auto r = ResolveFace("DejaVu Sans", false, false);
            ASSERT_TRUE(r);
            EXPECT_EQ(r->Source, source);
            EXPECT_EQ(FileAndIndex(r->Match), expected);
        }
    }

    Set("XDG_CACHE_HOME", "/dev/null/cache");  // cannot be made
    const auto r = ResolveFace("DejaVu Sans", false, false);
    ASSERT_TRUE(r);
    EXPECT_EQ(FileAndIndex(r->Match), expected);
}

TEST(FaceCacheFile, KeepsAnyBytesInNamesAndPaths) {
    TFaceCacheData d;
    d.Context = "ctx\twith\nodd \\ bytes";
    d.Depends = {TPathState{.Path = "/a\tb\nc\\d"}, StatPath("/")};
    TCachedFace f{"Family\\\x7f", true, false, {}, StatPath("/")};
    f.Match = {"/", 3, 200, 100, "Fam\tily", "St\nyle"};
    d.Faces = {f};
    const auto back = DecodeFaceCache(EncodeFaceCache(d));
    ASSERT_TRUE(back);
    EXPECT_EQ(EncodeFaceCache(*back), EncodeFaceCache(d));
    EXPECT_EQ(back->Faces[0].Match, f.Match);
    EXPECT_EQ(back->Depends, d.Depends);
}

}  // namespace
}  // namespace ribbon::detail
