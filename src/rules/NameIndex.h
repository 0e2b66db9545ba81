#pragma once

#include "rules/DataFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A reader's look-up of entries by name ignoring case, for files that name other entries on
// nearly every line (a discipline file names a talent on most of its lines). The tables'
// own look-ups walk linked chains or lists, one cache miss per entry; this keeps the
// upper-cased names side by side and probes a flat array instead.
template <typename Entry> class NameIndex {
public:
    explicit NameIndex(size_t expected = 0) { Rehash(Capacity(expected)); }

    void Reserve(size_t expected) {
        if (Capacity(expected) > slots.size())
            Rehash(Capacity(expected));
    }

    // Keeps an existing entry of the same name (for "the first one wins").
    void AddIfAbsent(std::string_view name, Entry* entry) { Put(name, entry, false); }
    // Replaces an existing entry of the same name (for "the last one added wins").
    void AddOrReplace(std::string_view name, Entry* entry) { Put(name, entry, true); }

    Entry* Find(std::string_view name) const {
        const uint64_t hash = Hash(name);
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = slots[i];
            if (slot.entry == nullptr)
                return nullptr;
            if (slot.hash == hash && Matches(slot, name))
                return slot.entry;
        }
    }

private:
    struct Slot {
        uint64_t hash = 0;
        size_t offset = 0; // of the upper-cased name in `names`
        size_t length = 0;
        Entry* entry = nullptr;
    };

    static size_t Capacity(size_t expected) {
        size_t capacity = 16;
        while (capacity < expected * 2)
            capacity *= 2;
        return capacity;
    }

    static uint64_t Hash(std::string_view text) {
        uint64_t hash = 14695981039346656037ull; // FNV-1a over the upper-cased bytes
        for (char c : text)
            hash = (hash ^ static_cast<unsigned char>(DataFile::ToUpper(c))) * 1099511628211ull;
        return hash;
    }

    bool Matches(const Slot& slot, std::string_view name) const {
        return slot.length == name.size() &&
               DataFile::EqualsNoCase(std::string_view(names).substr(slot.offset, slot.length),
                                      name);
    }

    void Put(std::string_view name, Entry* entry, bool replace) {
        if ((count + 1) * 2 > slots.size())
            Rehash(slots.size() * 2);
        const uint64_t hash = Hash(name);
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = slots[i];
            if (slot.entry == nullptr) {
                slot.hash = hash;
                slot.offset = names.size();
                slot.length = name.size();
                slot.entry = entry;
                for (char c : name)
                    names += DataFile::ToUpper(c);
                ++count;
                return;
            }
            if (slot.hash == hash && Matches(slot, name)) {
                if (replace)
                    slot.entry = entry;
                return;
            }
        }
    }

    void Rehash(size_t capacity) {
        std::vector<Slot> old = std::move(slots);
        slots.assign(capacity, Slot{});
        mask = capacity - 1;
        for (const Slot& slot : old) {
            if (slot.entry == nullptr)
                continue;
            size_t i = slot.hash & mask;
            while (slots[i].entry != nullptr)
                i = (i + 1) & mask;
            slots[i] = slot;
        }
    }

    std::vector<Slot> slots;
    std::string names;
    size_t mask = 0;
    size_t count = 0;
};
