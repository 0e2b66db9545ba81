#pragma once

#include "rules/DataFile.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

class CVARN_DBTalent;

// A reader's look-up of entries by name ignoring case, for files that name other entries on
// nearly every line (a discipline file names a talent on most of its lines). The tables'
// own look-ups walk linked chains or lists, one cache miss per entry; this probes a flat
// array of slots, each holding an entry and the hash of its name, and compares names only
// with the entry whose hash matches. The entries' names must not change while indexed.
//
// Entries added with AddOrReplace, as a reader does while it creates them, are only noted
// with their hash (computed while the name is at hand) and go into the array together at
// the next look-up: the array then has its final size at once, and the fetches of its slots
// from memory overlap instead of waiting on one another between the lines of a file.
template <typename Entry> class NameIndex {
public:
    explicit NameIndex(size_t expected = 0) { Rehash(Capacity(expected)); }

    // Keeps an existing entry of the same name (for "the first one wins").
    void AddIfAbsent(Entry* entry) {
        Settle();
        Put(Slot{entry, Hash(entry->name)}, false);
    }
    // Replaces an existing entry of the same name (for "the last one added wins").
    void AddOrReplace(Entry* entry) { pending.push_back(Slot{entry, Hash(entry->name)}); }

    const Entry* Find(std::string_view name) const { return Find(name, Hash(name)); }
    Entry* Find(std::string_view name) { return Find(name, Hash(name)); }

    // Of the upper-cased bytes, eight at a time.
    static uint32_t Hash(std::string_view text) {
        constexpr uint64_t multiplier = 0x9E3779B97F4A7C15ull;
        uint64_t hash = text.size() * multiplier;
        size_t i = 0;
        for (; i + 8 <= text.size(); i += 8) {
            hash = (hash ^ DataFile::ToUpperWord(DataFile::LoadWord(text.data() + i))) * multiplier;
            hash ^= hash >> 29;
        }
        if (i < text.size()) {
            // The bytes left at the low end of a word, the rest zero: as the copy below gives
            // them on a little-endian machine, without a call.
            const size_t left = text.size() - i;
            uint64_t tail = 0;
            if (i > 0)
                tail = DataFile::LoadWord(text.data() + text.size() - 8) >> (64 - 8 * left);
            else
                std::memcpy(&tail, text.data(), left);
            hash = (hash ^ DataFile::ToUpperWord(tail)) * multiplier;
            hash ^= hash >> 29;
        }
        return static_cast<uint32_t>(hash ^ (hash >> 32));
    }
    // A look-up in steps, for a reader that has several names to look up at once: each step
    // starts fetching from memory what the next one reads (slot, entry, name), so that the
    // fetches for all the names overlap instead of following one another.
    void PrefetchSlot(uint32_t hash) const {
        Settle();
        __builtin_prefetch(&slots[Home(hash)]);
    }
    void PrefetchEntry(uint32_t hash) const {
        const char* const entry = reinterpret_cast<const char*>(slots[Home(hash)].entry);
        if (entry == nullptr)
            return;
        for (size_t offset = 0; offset < sizeof(Entry); offset += 64)
            __builtin_prefetch(entry + offset);
        __builtin_prefetch(entry + sizeof(Entry) - 1);
    }
    void PrefetchName(uint32_t hash) const {
        if (const Entry* entry = slots[Home(hash)].entry)
            __builtin_prefetch(entry->name.data());
    }
    const Entry* Find(std::string_view name, uint32_t hash) const { return Lookup(name, hash); }
    Entry* Find(std::string_view name, uint32_t hash) { return Lookup(name, hash); }

private:
    Entry* Lookup(std::string_view name, uint32_t hash) const {
        Settle();
        for (size_t i = Home(hash);; i = (i + 1) & mask) {
            const Slot& slot = slots[i];
            if (slot.entry == nullptr)
                return nullptr;
            if (slot.hash == hash && DataFile::EqualsNoCase(slot.entry->name, name))
                return slot.entry;
        }
    }

    struct Slot {
        Entry* entry = nullptr; // nullptr for a free slot
        uint32_t hash = 0;
    };

    static size_t Capacity(size_t expected) {
        size_t capacity = 16;
        while (capacity < expected * 2)
            capacity *= 2;
        return capacity;
    }

    // Fibonacci hashing: the top bits of the product spread any set of hashes evenly.
    size_t Home(uint32_t hash) const {
        return static_cast<size_t>((uint64_t{hash} * 0x9E3779B97F4A7C15ull) >> shift);
    }

    // Puts the noted entries in, in the order they were added.
    void Settle() const {
        if (pending.empty())
            return;
        if (Capacity(count + pending.size()) > slots.size())
            Rehash(Capacity(count + pending.size()));
        constexpr size_t ahead = 8;
        for (size_t i = 0; i < pending.size(); ++i) {
            if (i + ahead < pending.size())
                __builtin_prefetch(&slots[Home(pending[i + ahead].hash)]);
            Put(pending[i], true);
        }
        pending.clear();
    }

    void Put(const Slot& added, bool replace) const {
        if ((count + 1) * 2 > slots.size())
            Rehash(slots.size() * 2);
        for (size_t i = Home(added.hash);; i = (i + 1) & mask) {
            Slot& slot = slots[i];
            if (slot.entry == nullptr) {
                slot = added;
                ++count;
                return;
            }
            if (slot.hash == added.hash &&
                DataFile::EqualsNoCase(slot.entry->name, added.entry->name)) {
                if (replace)
                    slot.entry = added.entry;
                return;
            }
        }
    }

    void Rehash(size_t capacity) const {
        std::vector<Slot> old = std::move(slots);
        slots.assign(capacity, Slot{});
        mask = capacity - 1;
        shift = 64;
        for (size_t c = capacity; c > 1; c /= 2)
            --shift;
        for (const Slot& slot : old) {
            if (slot.entry == nullptr)
                continue;
            size_t i = Home(slot.hash);
            while (slots[i].entry != nullptr)
                i = (i + 1) & mask;
            slots[i] = slot;
        }
    }

    // Look-ups put the noted entries in first: they change no answer, only where it is kept.
    mutable std::vector<Slot> slots;
    mutable std::vector<Slot> pending; // added with AddOrReplace, not yet in `slots`
    mutable size_t mask = 0;
    mutable size_t count = 0;
    mutable int shift = 64;
};

// The talent table's index, kept by the table while its files are read (see TalentTable).
class TalentNameIndex : public NameIndex<CVARN_DBTalent> {
public:
    using NameIndex::NameIndex;
};
