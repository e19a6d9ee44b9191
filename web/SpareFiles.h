#pragma once
// Unnamed files made ahead in a directory. Making a file (its inode) is the dear part of writing
// a small one on a journalling file system; a background thread does it before a request needs
// it, so that storing a picture costs a write and a link. The files have no name until they are
// linked, so a half-written picture is never seen and a killed process leaves none behind.

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ribbon::web {

class TSpareFiles {
  public:
    explicit TSpareFiles(std::filesystem::path directory, std::size_t keep = 8);
    ~TSpareFiles();
    TSpareFiles(const TSpareFiles&) = delete;
    TSpareFiles& operator=(const TSpareFiles&) = delete;

    // An open, writable, unnamed file in the directory, which the caller owns; -1 when none is
    // ready or the file system has no unnamed files. The thread starts with the first call, in
    // the process that serves (threads do not survive a fork).
    int Take();

    // Gives the file a name in the directory (a new entry: fails with EEXIST when the name is
    // taken). Returns 0 or the errno.
    static int Link(int fd, const std::string& path);

    // No more files are made (the file system or the process cannot link them).
    void Disable();

  private:
    void Run();

    std::filesystem::path directory_;
    std::size_t keep_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<int> ready_;
    bool started_ = false, stopping_ = false, disabled_ = false;
    bool filled_ = false;  // full once: wait until half are gone
    std::thread thread_;
};

}  // namespace ribbon::web
