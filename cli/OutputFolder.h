#pragma once
// The folder that labels writes its files into, each file appearing complete or not at all.
//
// A new name is linked into the folder from an unnamed file (O_TMPFILE) once all its bytes are
// written: one step in the folder instead of a create and a rename, and an end of any kind
// (even a kill) leaves nothing behind. A name that exists already, as when a run is repeated
// into the same folder, is replaced by renaming a hidden temporary file over it, so the old file
// stays whole until the new one is; a file system without unnamed files takes that way for
// every file.

#include <atomic>
#include <string>
#include <string_view>

namespace ribbon::cli {

class OutputFolder {
  public:
    // Creates the folder when missing; raises EFileError when it cannot be created or opened.
    explicit OutputFolder(const std::string& Path);
    ~OutputFolder();
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;

    // Writes Bytes under Name (a plain name, no '/'); raises EFileError naming the file. Safe
    // to call from several threads.
    void Write(const std::string& Name, std::string_view Bytes);

  private:
    bool WriteUnnamed(const std::string& Name, std::string_view Bytes);
    void WriteNamed(const std::string& Name, std::string_view Bytes);
    void Replace(int Fd, const std::string& Name);
    std::string HiddenName(const std::string& Name);
    [[noreturn]] void Fail(const std::string& Name, int Error) const;

    std::string path_;
    int dir_ = -1;
    std::atomic<bool> unnamed_{true};  // false once the file system refused O_TMPFILE
    std::atomic<unsigned> serial_{0};  // for the hidden temporary names
};

}  // namespace ribbon::cli
