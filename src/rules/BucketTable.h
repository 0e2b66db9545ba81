#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string_view>

// The 256-bucket table of the skills, the talents and the spells. A bucket is the byte sum of
// the trimmed, upper-cased name; each bucket is a chain linked through the entries' owning
// `next`, newest entry at the head. Defined in BucketChain.h for the three entry types.
template <typename Entry> class BucketTable {
public:
    BucketTable() = default;
    BucketTable(const BucketTable&) = delete;
    BucketTable& operator=(const BucketTable&) = delete;
    ~BucketTable(); // buckets 255 down to 0

    // Entry whose name equals `name` ignoring case; of two, the one added later.
    const Entry* Find(std::string_view name) const;
    Entry* Find(std::string_view name);
    // Puts the entry at the head of its bucket; returns it.
    Entry* Add(std::unique_ptr<Entry> entry);
    // Walk order: buckets 0 to 255, each chain from its head.
    const Entry* First() const;
    Entry* First();
    const Entry* Next(const Entry* entry) const;
    Entry* Next(const Entry* entry);
    size_t Count() const;

    std::array<std::unique_ptr<Entry>, 256> buckets;
};
