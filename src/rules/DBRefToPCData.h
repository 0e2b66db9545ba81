#pragma once

#include <algorithm>
#include <vector>

class CVARN_Character;

// One open character's use of a database entry, through one of its records.
template <typename T> struct CVARN_CharacterRef {
    CVARN_Character* character = nullptr;
    T* record = nullptr;
};

// Base of the database entries that characters keep records of (disciplines, talents,
// skills, spells). The entry remembers, per open character, the record that uses it, so a
// character's record for an entry is found without searching the character. At most one
// reference per character.
template <typename T> class CVARN_DBRefToPCData {
public:
    virtual ~CVARN_DBRefToPCData() = default;

    T* GetPCData(const CVARN_Character* character) const {
        for (const auto& ref : references)
            if (ref.character == character)
                return ref.record;
        return nullptr;
    }

    void AddPCData(CVARN_Character* character, T* record) {
        if (GetPCData(character) == nullptr)
            references.push_back({character, record});
    }

    void RemovePCData(const CVARN_Character* character) {
        std::erase_if(references, [character](const CVARN_CharacterRef<T>& ref) {
            return ref.character == character;
        });
    }

    const std::vector<CVARN_CharacterRef<T>>& References() const { return references; }

private:
    std::vector<CVARN_CharacterRef<T>> references;
};
