#include "cli/RepeatFilter.h"

namespace ribbon::cli {

namespace {

constexpr int Probes = 6;
constexpr std::size_t BitsPerName = 8;  // with 6 probes, 2.2 % of new names look seen
constexpr std::size_t FirstCapacity = 16384;

// The probes' bit numbers by double hashing: Hash, then steps of an odd stride.
std::uint64_t Stride(std::uint64_t Hash) {
    return (Hash * 0x9E3779B97F4A7C15ULL) >> 32 | 1;
}

}  // namespace

bool RepeatFilter::Has(const Stage& stage, std::uint64_t Hash) {
    const std::uint64_t stride = Stride(Hash);
    for (int i = 0; i < Probes; ++i, Hash += stride) {
        const std::uint64_t bit = Hash & stage.Mask;
        if (!(stage.Words[bit / 64] >> (bit % 64) & 1)) return false;
    }
    return true;
}

bool RepeatFilter::Add(std::uint64_t Hash) {
    for (const Stage& stage : stages_)
        if (Has(stage, Hash)) return true;
    if (stages_.empty() || stages_.back().Size == stages_.back().Capacity) {
        Stage next;
        next.Capacity = stages_.empty() ? FirstCapacity : 2 * stages_.back().Capacity;
        next.Mask = next.Capacity * BitsPerName - 1;
        next.Words.assign(next.Capacity * BitsPerName / 64, 0);
        stages_.push_back(std::move(next));
    }
    Stage& stage = stages_.back();
    const std::uint64_t stride = Stride(Hash);
    for (int i = 0; i < Probes; ++i, Hash += stride) {
        const std::uint64_t bit = Hash & stage.Mask;
        stage.Words[bit / 64] |= std::uint64_t{1} << (bit % 64);
    }
    ++stage.Size;
    return false;
}

}  // namespace ribbon::cli
