#pragma once

#include "rules/DataFile.h"
#include "rules/SkillDatabase.h"

#include <array>
#include <memory>
#include <string>

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

// `key` is already upper-cased; it is not trimmed for the comparison, only for the bucket.
template <typename Entry>
Entry* FindInBucket(const std::array<std::unique_ptr<Entry>, 256>& buckets,
                    const std::string& key) {
    for (Entry* entry = buckets[static_cast<size_t>(HashName(key))].get(); entry != nullptr;
         entry = entry->next.get())
        if (DataFile::EqualsNoCase(entry->name, key))
            return entry;
    return nullptr;
}

template <typename Entry>
Entry* AddToBucket(std::array<std::unique_ptr<Entry>, 256>& buckets, std::unique_ptr<Entry> entry) {
    auto& head = buckets[static_cast<size_t>(HashName(entry->name))];
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
    return FirstInBuckets(buckets, HashName(entry->name) + 1);
}

template <typename Entry>
size_t CountBuckets(const std::array<std::unique_ptr<Entry>, 256>& buckets) {
    size_t count = 0;
    for (const auto& head : buckets)
        for (const Entry* entry = head.get(); entry != nullptr; entry = entry->next.get())
            ++count;
    return count;
}
