#pragma once

#include "rules/BucketTable.h"
#include "rules/DataFile.h"

#include <array>
#include <bit>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

// How the 256-bucket tables of skills, talents and spells (BucketTable.h) are kept; each
// entry file instantiates the table for its entries.

// Destroys the rest of a chain one entry at a time. Letting each entry's `next` destroy its
// successor would recurse once per entry, and a long chain would overflow the stack.
template <typename Entry> void UnlinkChain(std::unique_ptr<Entry>& next) {
    std::unique_ptr<Entry> node = std::move(next);
    while (node) {
        std::unique_ptr<Entry> after = std::move(node->next);
        node.reset();
        node = std::move(after);
    }
}

// HashName without a copy of the name. The bytes are summed eight at a time: each word is
// upper-cased and its bytes added pairwise into four 16-bit lanes. Only the sum modulo 256
// counts, so each lane is kept modulo 256 and never carries into the next.
inline int HashBytes(std::string_view name) {
    const std::string_view text = DataFile::Trim(name);
    constexpr uint64_t evenBytes = 0x00FF00FF00FF00FFull;
    uint64_t lanes = 0;
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        const uint64_t word = DataFile::ToUpperWord(DataFile::LoadWord(text.data() + i));
        lanes = (lanes + (word & evenBytes) + (word >> 8 & evenBytes)) & evenBytes;
    }
    if constexpr (std::endian::native == std::endian::little) {
        // The bytes left as the last word with those already summed shifted out.
        if (i > 0 && i < text.size()) {
            const uint64_t last = DataFile::LoadWord(text.data() + text.size() - 8);
            const uint64_t word = DataFile::ToUpperWord(last >> 8 * (8 - (text.size() - i)));
            lanes = (lanes + (word & evenBytes) + (word >> 8 & evenBytes)) & evenBytes;
            i = text.size();
        }
    }
    unsigned sum = static_cast<unsigned>((lanes * 0x0001000100010001ull) >> 48);
    for (; i < text.size(); ++i)
        sum += static_cast<unsigned char>(DataFile::ToUpper(text[i]));
    return static_cast<int>(sum % 256);
}

template <typename Entry> BucketTable<Entry>::~BucketTable() {
    for (int i = 255; i >= 0; --i)
        buckets[static_cast<size_t>(i)].reset();
}

// Compared ignoring case and not trimmed; only the bucket is found from the trimmed name.
template <typename Entry> const Entry* BucketTable<Entry>::Find(std::string_view key) const {
    for (Entry* entry = buckets[static_cast<size_t>(HashBytes(key))].get(); entry != nullptr;
         entry = entry->next.get())
        if (DataFile::EqualsNoCase(entry->name, key))
            return entry;
    return nullptr;
}

template <typename Entry> Entry* BucketTable<Entry>::Find(std::string_view key) {
    return const_cast<Entry*>(std::as_const(*this).Find(key));
}

template <typename Entry> Entry* BucketTable<Entry>::Add(std::unique_ptr<Entry> entry) {
    auto& head = buckets[static_cast<size_t>(HashBytes(entry->name))];
    entry->next = std::move(head);
    head = std::move(entry);
    return head.get();
}

// The head of the first bucket from `from` on that holds any entry.
template <typename Entry>
Entry* FirstInBuckets(const std::array<std::unique_ptr<Entry>, 256>& buckets, int from) {
    for (int i = from; i < 256; ++i)
        if (buckets[static_cast<size_t>(i)])
            return buckets[static_cast<size_t>(i)].get();
    return nullptr;
}

template <typename Entry> const Entry* BucketTable<Entry>::First() const {
    return FirstInBuckets(buckets, 0);
}

template <typename Entry> Entry* BucketTable<Entry>::First() {
    return FirstInBuckets(buckets, 0);
}

template <typename Entry> const Entry* BucketTable<Entry>::Next(const Entry* entry) const {
    if (entry == nullptr)
        return nullptr;
    if (entry->next)
        return entry->next.get();
    return FirstInBuckets(buckets, HashBytes(entry->name) + 1);
}

template <typename Entry> Entry* BucketTable<Entry>::Next(const Entry* entry) {
    return const_cast<Entry*>(std::as_const(*this).Next(entry));
}

template <typename Entry> size_t BucketTable<Entry>::Count() const {
    size_t count = 0;
    for (const auto& head : buckets)
        for (const Entry* entry = head.get(); entry != nullptr; entry = entry->next.get())
            ++count;
    return count;
}
