#pragma once
// Which names may occur more than once among the records, learnt while they are copied: a Bloom
// filter, which never takes a name seen before for a new one and takes about 2 % of new names
// for seen ones. It grows in stages, each twice the size of the last, at a byte a name.

#include <cstdint>
#include <vector>

namespace ribbon::cli {

class RepeatFilter {
  public:
    // Adds the name of hash Hash; true when it may have been added before.
    bool Add(std::uint64_t Hash);

  private:
    struct Stage {
        std::vector<std::uint64_t> Words;
        std::uint64_t Mask = 0;  // of the bit numbers
        std::size_t Capacity = 0, Size = 0;
    };
    static bool Has(const Stage& stage, std::uint64_t Hash);

    std::vector<Stage> stages_;
};

}  // namespace ribbon::cli
