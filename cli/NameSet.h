#pragma once
// The file names that the records of a labels run have taken, at about ten bytes a name: each is
// kept as where its record lies in the spool plus a fragment of the name's hash, and a name whose
// fragment matches is read back from the spool to compare, so the answer is exact. The table is
// split in 256 parts that grow one at a time, so growing never holds two copies of it.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ribbon::cli {

class NameSet {
  public:
    // KeyAt gives back the name kept at a position that Insert was given.
    explicit NameSet(std::function<std::string(std::uint64_t)> KeyAt);

    // Takes Name for the record kept at Position; false when an earlier record took it.
    bool Insert(std::string_view Name, std::uint64_t Position);

  private:
    struct Part {
        std::vector<std::uint64_t> Slots;  // 0 empty, else fragment << 40 | (position + 1)
        std::size_t Size = 0;
    };
    void Grow(Part& part);

    std::function<std::string(std::uint64_t)> keyAt_;
    std::vector<Part> parts_;
};

}  // namespace ribbon::cli
