#include "cli/NameSet.h"

#include "base/Exceptions.h"

namespace ribbon::cli {

namespace {

constexpr int PositionBits = 40;
constexpr std::uint64_t PositionMask = (std::uint64_t{1} << PositionBits) - 1;
constexpr std::size_t PartCount = 256;

constexpr int FragmentBits = 24;

// Below the bits that pick the part.
std::uint64_t Fragment(std::uint64_t Hash) {
    return Hash >> 32 & ((std::uint64_t{1} << FragmentBits) - 1);
}

// Where the search for a fragment starts: the fragment alone decides, so that growing moves the
// names without reading them back.
std::size_t Home(std::uint64_t Fragment, std::size_t Capacity) {
    return static_cast<std::size_t>((Fragment * Capacity) >> FragmentBits);
}

}  // namespace

NameSet::NameSet(std::function<std::string(std::uint64_t)> KeyAt)
    : keyAt_(std::move(KeyAt)), parts_(PartCount) {}

void NameSet::Grow(Part& part) {
    std::vector<std::uint64_t> old = std::move(part.Slots);
    part.Slots.assign(old.empty() ? 16 : old.size() * 2, 0);
    for (const std::uint64_t slot : old) {
        if (slot == 0) continue;
        std::size_t i = Home(slot >> PositionBits, part.Slots.size());
        while (part.Slots[i] != 0) i = i + 1 == part.Slots.size() ? 0 : i + 1;
        part.Slots[i] = slot;
    }
}

bool NameSet::Insert(std::string_view Name, std::uint64_t Position) {
    if (Position >= PositionMask) throw Exception("Too many records for one run of labels.");
    const std::uint64_t hash = std::hash<std::string_view>{}(Name);
    Part& part = parts_[hash >> 56];
    // At most 7/8 full, so that a search stays short.
    if ((part.Size + 1) * 8 > part.Slots.size() * 7) Grow(part);
    const std::uint64_t fragment = Fragment(hash);
    std::size_t i = Home(fragment, part.Slots.size());
    for (; part.Slots[i] != 0; i = i + 1 == part.Slots.size() ? 0 : i + 1) {
        const std::uint64_t slot = part.Slots[i];
        if (slot >> PositionBits == fragment && keyAt_((slot & PositionMask) - 1) == Name)
            return false;
    }
    part.Slots[i] = fragment << PositionBits | (Position + 1);
    ++part.Size;
    return true;
}

}  // namespace ribbon::cli
