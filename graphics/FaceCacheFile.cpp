#include "graphics/FaceCacheFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "base/AtomicFile.h"
#include "base/Exceptions.h"

namespace ribbon::detail {

namespace {

// Bump when the matching or the layout changes, so that older files are not read.
constexpr std::string_view Magic = "ribbonkit-faces 1";
constexpr std::size_t MaxFileSize = 1 << 20;

std::uint64_t Fnv1a(std::string_view s) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
    return h;
}

std::string Hex(std::uint64_t v) {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
    return buf;
}

// Fields are separated by tabs and records by newlines, so those (and the escape) are escaped.
std::string Escape(std::string_view s) {
    std::string out;
    for (unsigned char c : s) {
        if (c < 0x20 || c == '\\' || c == 0x7f) {
            char buf[4];
            std::snprintf(buf, sizeof buf, "\\%02x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool Unescape(std::string_view s, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        unsigned value = 0;
        if (i + 2 >= s.size() ||
            std::from_chars(s.data() + i + 1, s.data() + i + 3, value, 16).ptr != s.data() + i + 3)
            return false;
        out += static_cast<char>(value);
        i += 2;
    }
    return true;
}

std::vector<std::string_view> Split(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

template <typename T>
bool Number(std::string_view s, T& out) {
    return !s.empty() &&
           std::from_chars(s.data(), s.data() + s.size(), out).ptr == s.data() + s.size();
}

void EncodeState(std::string& out, const TPathState& s) {
    out += std::to_string(s.Exists) + '\t' + std::to_string(s.Device) + '\t' +
           std::to_string(s.Inode) + '\t' + std::to_string(s.Size) + '\t' +
           std::to_string(s.Modified) + '\t' + std::to_string(s.Changed) + '\t' + Escape(s.Path);
}

// Reads the seven fields from First on.
bool DecodeState(const std::vector<std::string_view>& f, std::size_t First, TPathState& s) {
    int exists = 0;
    return f.size() >= First + 7 && Number(f[First], exists) && exists >= 0 && exists <= 1 &&
           Number(f[First + 1], s.Device) && Number(f[First + 2], s.Inode) &&
           Number(f[First + 3], s.Size) && Number(f[First + 4], s.Modified) &&
           Number(f[First + 5], s.Changed) && Unescape(f[First + 6], s.Path) &&
           (s.Exists = exists == 1, true);
}

}  // namespace

std::string FaceCacheFileName(const std::string& Context) {
    if (Context.empty()) return {};
    std::string dir;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && xdg[0] == '/') {
        dir = xdg;
    } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
        dir = std::string(home) + "/.cache";
    } else {
        return {};
    }
    // One file per context, so that programs and environments do not overwrite each other's.
    return dir + "/ribbonkit/faces-" + Hex(Fnv1a(Context));
}

std::string EncodeFaceCache(const TFaceCacheData& Data) {
    std::string out = std::string(Magic) + '\n' + "context\t" + Escape(Data.Context) + '\n';
    for (const TPathState& s : Data.Depends) {
        out += "depends\t";
        EncodeState(out, s);
        out += '\n';
    }
    for (const TCachedFace& f : Data.Faces) {
        const TFaceMatch& m = f.Match;
        out += "face\t" + Escape(f.Family) + '\t' + std::to_string(f.Bold) + '\t' +
               std::to_string(f.Italic) + '\t' + std::to_string(m.Index) + '\t' +
               std::to_string(m.Weight) + '\t' + std::to_string(m.Slant) + '\t' + Escape(m.Family) +
               '\t' + Escape(m.Style) + '\t';
        EncodeState(out, f.FileState);
        out += '\n';
    }
    // A check sum, so that a damaged file reads as no cache rather than as a wrong face.
    return out + "end\t" + Hex(Fnv1a(out)) + '\n';
}

std::optional<TFaceCacheData> DecodeFaceCache(std::string_view Text) {
    const auto endAt = Text.rfind("end\t");
    if (endAt == std::string_view::npos ||
        Text.substr(endAt) != "end\t" + Hex(Fnv1a(Text.substr(0, endAt))) + '\n')
        return std::nullopt;
    TFaceCacheData data;
    bool magic = false, context = false;
    std::string_view rest = Text.substr(0, endAt);
    while (!rest.empty()) {
        const auto newline = rest.find('\n');
        if (newline == std::string_view::npos) return std::nullopt;
        const std::string_view line = rest.substr(0, newline);
        rest.remove_prefix(newline + 1);
        if (!magic) {
            if (line != Magic) return std::nullopt;
            magic = true;
            continue;
        }
        const auto f = Split(line);
        if (f[0] == "context" && f.size() == 2 && !context) {
            if (!Unescape(f[1], data.Context)) return std::nullopt;
            context = true;
        } else if (f[0] == "depends" && f.size() == 8) {
            if (!DecodeState(f, 1, data.Depends.emplace_back())) return std::nullopt;
        } else if (f[0] == "face" && f.size() == 16) {
            TCachedFace& face = data.Faces.emplace_back();
            int bold = 0, italic = 0;
            if (!Unescape(f[1], face.Family) || !Number(f[2], bold) || !Number(f[3], italic) ||
                !Number(f[4], face.Match.Index) || !Number(f[5], face.Match.Weight) ||
                !Number(f[6], face.Match.Slant) || !Unescape(f[7], face.Match.Family) ||
                !Unescape(f[8], face.Match.Style) || !DecodeState(f, 9, face.FileState) ||
                !face.FileState.Exists)
                return std::nullopt;
            face.Bold = bold != 0;
            face.Italic = italic != 0;
            face.Match.File = face.FileState.Path;
        } else {
            return std::nullopt;
        }
    }
    if (!context) return std::nullopt;
    return data;
}

std::optional<TFaceCacheData> ReadFaceCache(const std::string& FileName) {
    const int fd = open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string text;
    struct stat st {};
    // Only a file of our own: another user's could point us at any file.
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
        static_cast<std::size_t>(st.st_size) <= MaxFileSize) {
        text.resize(static_cast<std::size_t>(st.st_size));
        std::size_t got = 0;
        while (got < text.size()) {
            const ssize_t n = read(fd, text.data() + got, text.size() - got);
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        text.resize(got);
    }
    close(fd);
    return DecodeFaceCache(text);
}

bool WriteFaceCache(const std::string& FileName, const TFaceCacheData& Data) {
    // The directory and its parent (~/.cache may not be there yet), private to the user.
    const auto slash = FileName.rfind('/');
    if (slash == std::string::npos) return false;
    const std::string dir = FileName.substr(0, slash);
    const std::string parent = dir.substr(0, dir.rfind('/'));
    if (!parent.empty()) mkdir(parent.c_str(), 0700);
    mkdir(dir.c_str(), 0700);
    try {
        WriteFileAtomically(FileName, EncodeFaceCache(Data));
        return true;
    } catch (const Exception&) {
        return false;
    }
}

}  // namespace ribbon::detail
