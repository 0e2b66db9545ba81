#pragma once

#include "rules/DataFile.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>

// The 256-bucket tables of skills, talents and spells: each bucket is a chain linked through
// the entries' owning `next`, newest entry at the head.

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

template <typename Entry> void DestroyBuckets(std::array<std::unique_ptr<Entry>, 256>& buckets) {
    for (int i = 255; i >= 0; --i)
        buckets[static_cast<size_t>(i)].reset();
}

// HashName without a copy of the name.
inline int HashBytes(std::string_view name) {
    unsigned sum = 0;
    for (char c : DataFile::Trim(name))
        sum += static_cast<unsigned char>(DataFile::ToUpper(c));
    return static_cast<int>(sum % 256);
}

// Compared ignoring case and not trimmed; only the bucket is found from the trimmed name.
template <typename Entry>
Entry* FindInBucket(const std::array<std::unique_ptr<Entry>, 256>& buckets, std::string_view key) {
    for (Entry* entry = buckets[static_cast<size_t>(HashBytes(key))].get(); entry != nullptr;
         entry = entry->next.get())
        if (DataFile::EqualsNoCase(entry->name, key))
            return entry;
    return nullptr;
}

template <typename Entry>
Entry* AddToBucket(std::array<std::unique_ptr<Entry>, 256>& buckets, std::unique_ptr<Entry> entry) {
    auto& head = buckets[static_cast<size_t>(HashBytes(entry->name))];
    entry->next = std::move(head);
    head = std::move(entry);
    return head.get();
}

template <typename Entry>
Entry* FirstInBuckets(const std::array<std::unique_ptr<Entry>, 256>& buckets, int from) {
    for (int i = from; i < 256; ++i)
        if (buckets[static_cast<size_t>(i)])
            return buckets[static_cast<size_t>(i)].get();
    return nullptr;
}

template <typename Entry>
Entry* NextInBuckets(const std::array<std::unique_ptr<Entry>, 256>& buckets, const Entry* entry) {
    if (entry == nullptr)
        return nullptr;
    if (entry->next)
        return entry->next.get();
    return FirstInBuckets(buckets, HashBytes(entry->name) + 1);
}

template <typename Entry>
size_t CountBuckets(const std::array<std::unique_ptr<Entry>, 256>& buckets) {
    size_t count = 0;
    for (const auto& head : buckets)
        for (const Entry* entry = head.get(); entry != nullptr; entry = entry->next.get())
            ++count;
    return count;
}
