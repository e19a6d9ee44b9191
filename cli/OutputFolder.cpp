#include "cli/OutputFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/Exceptions.h"
#include "base/Format.h"

namespace ribbon::cli {

namespace {

// 0 when every byte was written, else the error.
int WriteAll(int Fd, std::string_view Bytes) {
    while (!Bytes.empty()) {
        const ssize_t n = write(Fd, Bytes.data(), Bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        Bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

// How an unnamed file is reached by name, for linkat (which needs no privilege this way).
struct ProcPath {
    explicit ProcPath(int Fd) { std::snprintf(text, sizeof text, "/proc/self/fd/%d", Fd); }
    char text[32];
};

}  // namespace

OutputFolder::OutputFolder(const std::string& Path) : path_(Path) {
    std::error_code error;
    std::filesystem::create_directories(Path, error);
    if (error || !std::filesystem::is_directory(Path))
        throw EFileError(Format("Cannot create the folder \"%s\". %s", Path,
                                error ? error.message() : std::string("A file has that name.")));
    dir_ = open(Path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_ < 0)
        throw EFileError(Format("Cannot open the folder \"%s\". %s", Path, std::strerror(errno)));
}

OutputFolder::~OutputFolder() {
    close(dir_);
}

void OutputFolder::Fail(const std::string& Name, int Error) const {
    throw EFileError(
        Format("Cannot write file \"%s\". %s", path_ + "/" + Name, std::strerror(Error)));
}

// A name no label takes (they cannot start with '.') and no other writer picks.
std::string OutputFolder::HiddenName(const std::string& Name) {
    return Format(".%s.%d-%d", Name, static_cast<int>(getpid()), serial_++);
}

void OutputFolder::Write(const std::string& Name, std::string_view Bytes) {
    if (unnamed_ && WriteUnnamed(Name, Bytes)) return;
    WriteNamed(Name, Bytes);
}

bool OutputFolder::WriteUnnamed(const std::string& Name, std::string_view Bytes) {
    const int fd = openat(dir_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        // The kernel or the file system has no unnamed files.
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
            unnamed_ = false;
            return false;
        }
        Fail(Name, errno);
    }
    if (const int error = WriteAll(fd, Bytes)) {
        close(fd);
        Fail(Name, error);
    }
    const ProcPath proc(fd);
    if (linkat(AT_FDCWD, proc.text, dir_, Name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        close(fd);
        return true;
    }
    const int error = errno;
    if (error == EEXIST) {
        try {
            Replace(fd, Name);
        } catch (...) {
            close(fd);
            throw;
        }
        close(fd);
        return true;
    }
    close(fd);
    // Without /proc an unnamed file cannot be given a name: the named way from now on.
    if (error == ENOENT && access("/proc/self/fd", F_OK) != 0) {
        unnamed_ = false;
        return false;
    }
    Fail(Name, error);
}

// Names the unnamed file Fd under a hidden name first, then renames that over Name.
void OutputFolder::Replace(int Fd, const std::string& Name) {
    const ProcPath proc(Fd);
    std::string temp = HiddenName(Name);
    while (linkat(AT_FDCWD, proc.text, dir_, temp.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        if (errno != EEXIST) Fail(Name, errno);
        temp = HiddenName(Name);
    }
    if (renameat(dir_, temp.c_str(), dir_, Name.c_str()) != 0) {
        const int error = errno;
        unlinkat(dir_, temp.c_str(), 0);
        Fail(Name, error);
    }
}

void OutputFolder::WriteNamed(const std::string& Name, std::string_view Bytes) {
    std::string temp = HiddenName(Name);
    int fd;
    while ((fd = openat(dir_, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)) < 0) {
        if (errno != EEXIST) Fail(Name, errno);
        temp = HiddenName(Name);
    }
    int error = WriteAll(fd, Bytes);
    if (close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && renameat(dir_, temp.c_str(), dir_, Name.c_str()) != 0) error = errno;
    if (error != 0) {
        unlinkat(dir_, temp.c_str(), 0);
        Fail(Name, error);
    }
}

}  // namespace ribbon::cli
