#include "graphics/FontMatch.h"

#include <fontconfig/fontconfig.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <set>
#include <sstream>
#include <string_view>

#include "base/PathState.h"

namespace ribbon::detail {

namespace {

std::string Lower(std::string_view s) {
    std::string out;
    for (char c : s) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string Env(const char* Name) {
    const char* value = std::getenv(Name);
    return value ? value : "";
}

std::string DirectoryOf(const std::string& Path) {
    const auto slash = Path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : Path.substr(0, slash);
}

std::string Text(const FcChar8* s) {
    return s ? reinterpret_cast<const char*>(s) : "";
}

void Collect(FcStrList* list, std::set<std::string>& out) {
    if (!list) return;
    while (const FcChar8* s = FcStrListNext(list)) out.insert(Text(s));
    FcStrListDone(list);
}

// The places an <include> may name, whether or not something is there now: fontconfig looks
// relative names up beside the including file and in its configuration directories.
void IncludedPaths(const std::string& File, const std::vector<std::string>& ConfigDirs,
                   std::set<std::string>& out) {
    struct stat st {};
    if (stat(File.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;  // an included directory
    std::ifstream in(File, std::ios::binary);
    const std::string xml{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in) return;
    std::size_t at = 0;
    while ((at = xml.find('<', at)) != std::string::npos) {
        if (xml.compare(at, 4, "<!--") == 0) {
            const auto end = xml.find("-->", at + 4);
            if (end == std::string::npos) return;
            at = end + 3;
            continue;
        }
        const bool isInclude =
            xml.compare(at, 8, "<include") == 0 &&
            (std::isspace(static_cast<unsigned char>(xml[at + 8])) || xml[at + 8] == '>');
        const auto close = xml.find('>', at);
        if (close == std::string::npos) return;
        if (!isInclude || xml[close - 1] == '/') {
            at = close + 1;
            continue;
        }
        const auto end = xml.find("</include>", close);
        if (end == std::string::npos) return;
        const std::string tag = xml.substr(at, close - at);
        std::string name = xml.substr(close + 1, end - close - 1);
        name.erase(0, name.find_first_not_of(" \t\r\n"));
        name.erase(name.find_last_not_of(" \t\r\n") + 1);
        at = end;
        if (name.empty()) continue;
        if (tag.find("prefix=\"xdg\"") != std::string::npos ||
            tag.find("prefix='xdg'") != std::string::npos) {
            const std::string xdg = Env("XDG_CONFIG_HOME");
            out.insert((xdg.empty() || xdg[0] != '/' ? Env("HOME") + "/.config" : xdg) + "/" +
                       name);
        } else if (name[0] == '~') {
            out.insert(Env("HOME") + name.substr(1));
        } else if (name[0] == '/') {
            out.insert(name);
        } else {
            out.insert(DirectoryOf(File) + "/" + name);
            for (const std::string& dir : ConfigDirs) out.insert(dir + "/" + name);
        }
    }
}

std::vector<std::string> SourcesOf(FcConfig* config) {
    std::vector<std::string> files;  // in the order read, the main file first
    if (FcStrList* list = FcConfigGetConfigFiles(config)) {
        while (const FcChar8* s = FcStrListNext(list)) files.push_back(Text(s));
        FcStrListDone(list);
    }
    std::set<std::string> dirs;
    Collect(FcConfigGetConfigDirs(config), dirs);
    Collect(FcConfigGetFontDirs(config), dirs);

    // Where fontconfig looks relative names up: FONTCONFIG_PATH, then its own folder (that of
    // the main file unless FONTCONFIG_FILE moved it; Debian's is /etc/fonts). Not asked of
    // fontconfig, whose answer would read the default configuration a second time.
    std::vector<std::string> configDirs;
    std::stringstream path(Env("FONTCONFIG_PATH"));
    for (std::string dir; std::getline(path, dir, ':');)
        if (!dir.empty()) configDirs.push_back(dir);
    if (!files.empty()) configDirs.push_back(DirectoryOf(files.front()));
    configDirs.push_back("/etc/fonts");

    std::set<std::string> all = dirs;
    for (const std::string& file : files) {
        all.insert(file);
        all.insert(DirectoryOf(file));  // a file added beside it, such as local.conf
        IncludedPaths(file, configDirs, all);
    }
    return {all.begin(), all.end()};
}

struct Configuration {
    std::mutex lock;
    FcConfig* config = nullptr;
    std::string context;  // FontconfigContext() when read
    std::int64_t readSince = 0;
    std::vector<std::string> sources;  // filled when first asked for
    bool sourcesKnown = false;
};

Configuration& TheConfiguration() {
    static Configuration* c = new Configuration;  // never destroyed: see FontCache
    return *c;
}

}  // namespace

std::string FontconfigContext() {
    if (std::getenv("FONTCONFIG_SYSROOT")) return {};
    std::string context = "fontconfig " + std::to_string(FcGetVersion());
    for (const char* name :
         {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
          "XDG_DATA_DIRS", "FC_LANG", "LC_ALL", "LC_CTYPE", "LANG"}) {
        context += ' ';
        context += name;
        if (const char* value = std::getenv(name)) context += "=" + std::string(value);
    }
    // The defaults fontconfig adds to every request, as it adds them (without reading the
    // configuration).
    if (FcPattern* pattern = FcPatternCreate()) {
        FcDefaultSubstitute(pattern);
        FcChar8* text = FcNameUnparse(pattern);
        context += " defaults " + Text(text);
        FcStrFree(text);
        FcPatternDestroy(pattern);
    }
    return context;
}

bool MatchWithFontconfig(const std::string& Family, bool Bold, bool Italic, TFaceMatch& Out,
                         TConfigurationSources* Sources) {
    Configuration& c = TheConfiguration();
    const std::lock_guard guard(c.lock);
    // Read again when the environment it was read in changed (another FONTCONFIG_FILE, HOME).
    const std::string context = FontconfigContext();
    if (c.config && c.context != context) {
        FcConfigDestroy(c.config);
        c.config = nullptr;
    }
    if (!c.config) {
        c.readSince = FileClockNow();
        c.config = FcInitLoadConfigAndFonts();
        c.context = context;
        c.sourcesKnown = false;
        if (!c.config) return false;
    }

    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(Family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(c.config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(c.config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!found) return false;
    FcChar8* text = nullptr;
    const bool ok = FcPatternGetString(found, FC_FILE, 0, &text) == FcResultMatch;
    if (ok) {
        Out = TFaceMatch{};
        Out.File = Text(text);
        FcPatternGetInteger(found, FC_INDEX, 0, &Out.Index);
        FcPatternGetInteger(found, FC_WEIGHT, 0, &Out.Weight);
        FcPatternGetInteger(found, FC_SLANT, 0, &Out.Slant);
        // A face belongs to several families ("DejaVu Sans", "DejaVu Sans Condensed"): name it
        // by the one asked for when it is among them.
        for (int i = 0; FcPatternGetString(found, FC_FAMILY, i, &text) == FcResultMatch; ++i) {
            const std::string name = Text(text);
            if (i == 0 || Lower(name) == Lower(Family)) Out.Family = name;
        }
        if (FcPatternGetString(found, FC_STYLE, 0, &text) == FcResultMatch) Out.Style = Text(text);
    }
    FcPatternDestroy(found);
    if (ok && Sources) {
        if (!c.sourcesKnown) {
            c.sources = SourcesOf(c.config);
            c.sourcesKnown = true;
        }
        Sources->Paths = c.sources;
        Sources->ReadSince = c.readSince;
        Sources->Context = c.context;
    }
    return ok;
}

void ReloadFontConfiguration() {
    Configuration& c = TheConfiguration();
    const std::lock_guard guard(c.lock);
    if (c.config) FcConfigDestroy(c.config);
    c.config = nullptr;
}

}  // namespace ribbon::detail
