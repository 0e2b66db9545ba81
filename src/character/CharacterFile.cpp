// The .vrn character file: reader for versions 2 to 15, writer for version 15.

#include "character/CharacterFile.h"

#include "character/Character.h"
#include "rules/GatheredMessages.h"
#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

constexpr int16_t CurrentVersion = 15;
constexpr int16_t OldestReadableVersion = 2;

// Tags of the object scheme shared by the equipment list and the older skill and spell lists.
constexpr uint16_t NewClassTag = 0xFFFF;
constexpr uint16_t ClassTag = 0x8000;
constexpr uint16_t BigObjectTag = 0x7FFF;
constexpr uint32_t BigClassTag = 0x80000000u;
constexpr uint16_t EquipmentSchema = 3;
// Path elements of all pieces together. A path is where the piece sits in the equipment
// tree, a few names deep; an empty element costs one byte in the file but a whole string
// in memory, so a file of nothing else could ask for thirty times its size.
constexpr uint32_t MostPathElements = 1u << 16;

// The file's data is malformed: reported as "Unexpected file format.".
struct BadFormat {};
// The read was refused after a message of its own: reported as "Failed to open document.".
struct Refused {};

// ---------------------------------------------------------------- reading primitives

class ByteReader {
public:
    explicit ByteReader(std::string_view data) : data(data) {}

    size_t Left() const { return data.size() - pos; }

    std::string_view Take(size_t n) {
        if (n > Left())
            throw BadFormat{};
        std::string_view s = data.substr(pos, n);
        pos += n;
        return s;
    }

    uint8_t Byte() { return static_cast<uint8_t>(Take(1)[0]); }

    uint16_t Word() {
        std::string_view s = Take(2);
        return static_cast<uint16_t>(static_cast<uint8_t>(s[0]) |
                                     (static_cast<uint8_t>(s[1]) << 8));
    }

    int16_t Short() { return static_cast<int16_t>(Word()); }

    uint32_t Dword() {
        std::string_view s = Take(4);
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | static_cast<uint8_t>(s[i]);
        return v;
    }

    int32_t Long() { return static_cast<int32_t>(Dword()); }

    // One byte below 255; else 0xFF and a WORD up to 0xFFFD; else 0xFF, 0xFFFF and a
    // DWORD. 0xFFFE announces wide characters, which this program never writes.
    std::string String() {
        size_t length = Byte();
        if (length == 0xFF) {
            length = Word();
            if (length == 0xFFFE)
                throw BadFormat{};
            if (length == 0xFFFF)
                length = Dword();
        }
        // Checked by Take before the string is built.
        return std::string(Take(length));
    }

    // A record count; every record takes at least `minimumRecordSize` bytes, so a count
    // that the rest of the file cannot hold is refused before anything is built from it.
    uint32_t Count(size_t minimumRecordSize) {
        uint32_t n = Dword();
        if (n > Left() / minimumRecordSize)
            throw BadFormat{};
        return n;
    }

private:
    std::string_view data;
    size_t pos = 0;
};

// What a stored class name stands for: a kind of piece, or a skill or spell record of the
// older versions.
enum class FileClass {
    Armor,
    Shield,
    Weapon,
    Misc,
    ThreadArmor,
    IOSkill,
    IOSpell,
};

struct StoredClass {
    const char* name;
    FileClass fileClass;
};

// The class names of the file format. They came from the names of the classes of an earlier
// program and must never change: every saved character with equipment holds them.
constexpr StoredClass StoredClasses[] = {
    {"CVARN_CharEquipArmor", FileClass::Armor},
    {"CVARN_CharEquipShield", FileClass::Shield},
    {"CVARN_CharEquipWeapon", FileClass::Weapon},
    {"CVARN_CharEquipMisc", FileClass::Misc},
    {"CVARN_CharEquipThreadArmor", FileClass::ThreadArmor},
    {"CVARN_IOSkill", FileClass::IOSkill},
    {"CVARN_IOSpell", FileClass::IOSpell},
};

constexpr FileClass FileClassOf(CVARN_EquipKind kind) {
    switch (kind) {
    case CVARN_EquipKind::Armor:
        return FileClass::Armor;
    case CVARN_EquipKind::ThreadArmor:
        return FileClass::ThreadArmor;
    case CVARN_EquipKind::Shield:
        return FileClass::Shield;
    case CVARN_EquipKind::Weapon:
        return FileClass::Weapon;
    case CVARN_EquipKind::Misc:
        break;
    }
    return FileClass::Misc;
}

struct LoadedClass {
    FileClass fileClass;
    uint16_t schema = 0;
};

// Reads object tags. One numbering runs through the whole file: each new class and each
// object takes the next number. Each object is read exactly once, so any tag that names
// an object (the null tag, or a reference to an object already read) is malformed here.
class ObjectTagReader {
public:
    ObjectTagReader() { numbers.push_back(std::nullopt); } // numbering starts at 1

    LoadedClass ReadTag(ByteReader& in) {
        uint16_t word = in.Word();
        LoadedClass loaded{};
        if (word == NewClassTag) {
            loaded.schema = in.Word();
            std::string_view name = in.Take(in.Word());
            loaded.fileClass = ClassByName(name);
            numbers.push_back(loaded);
        } else {
            uint32_t tag;
            if (word == BigObjectTag)
                tag = in.Dword();
            else
                tag = (static_cast<uint32_t>(word & ClassTag) << 16) | (word & ~ClassTag);
            if (!(tag & BigClassTag))
                throw BadFormat{}; // no object, or an object used a second time
            uint32_t index = tag & ~BigClassTag;
            if (index == 0 || index >= numbers.size() || !numbers[index])
                throw BadFormat{};
            loaded = *numbers[index];
        }
        numbers.push_back(std::nullopt); // the object that follows
        return loaded;
    }

private:
    static FileClass ClassByName(std::string_view name) {
        for (const StoredClass& c : StoredClasses)
            if (name == c.name)
                return c.fileClass;
        throw BadFormat{};
    }

    // nullopt marks an object's number.
    std::vector<std::optional<LoadedClass>> numbers;
};

// ---------------------------------------------------------------- the reader

class CharacterReader {
public:
    CharacterReader(CVARN_Character& character, std::string_view bytes, CVARN_UserPrompt& prompt)
        : c(character), rules(character.Rules()), in(bytes), prompt(prompt) {}

    void Read() {
        ReadAttributes();
        int16_t version = in.Short();
        if (version > CurrentVersion) {
            prompt.ShowMessage(
                "This file was created by a new version of VARN.\nplease update your program");
            throw Refused{};
        }
        if (version < OldestReadableVersion) {
            // Such files hold no race, and a character without one cannot be shown.
            prompt.ShowMessage("This file was created by a version of VARN too old to be "
                               "read.\nThe character cannot be opened.");
            throw Refused{};
        }
        ReadIdentity();
        ReadDisciplines();
        ReadTalents();
        if (version >= 15)
            ReadSkills();
        else if (version >= 12)
            ReadOldSkills();
        if (version >= 15)
            ReadSpells();
        else if (version == 14)
            ReadOldSpells();
        if (version >= 3) {
            c.durabilityRank = in.Short();
            c.deathPerRank = in.Short();
            c.unconsciousnessPerRank = in.Short();
            // A rank stored after its talent was gone must not bring the bonus back.
            if (!c.HasDurabilityTalent())
                c.durabilityRank = 0;
        }
        if (version >= 5)
            ReadEquipment();
        if (version >= 10) {
            c.karmaBought = in.Short();
            c.karmaSpent = in.Short();
        } else if (version >= 6) {
            int16_t current = in.Short();
            c.karmaBought = static_cast<int16_t>(current - c.race->karmaStart);
            c.karmaSpent = 0;
        }
        if (version >= 8) {
            c.attributesCost = in.Long();
            if (version >= 11)
                c.attributeIncrease = in.Long();
            c.attributesMinMax = in.Long();
            c.circleAdvancement = in.Long();
            c.armorsWornLimit = in.Long();
            c.raceDisciplineCompatibility = in.Long();
            c.attributePoints = in.Short();
        }
        if (version >= 10) {
            c.legendEarned = in.Long();
            c.extraCosts = in.Long();
            c.creationLegend = in.Long();
        }
        // The race was set before the lists, karma, durability and worn equipment were
        // read: bring every derived value and legend sum up to date once, so the character
        // shows what the same character built on the pages shows. skillLegend is not part
        // of it: SetSkillRank has kept it while the skills were read.
        c.RecomputeAll();
    }

private:
    void ReadAttributes() {
        for (CVARN_CharAtt& att : c.attributes) {
            if (in.Word() != 2)
                continue; // a record of another version is that word alone
            att.raceModifier = in.Short();
            att.minimum = in.Short();
            att.maximum = in.Short();
            att.base = in.Short();
            att.SetIncreases(in.Short()); // clamps to 0..5 and sets increaseLegend
            att.step = in.Short();
        }
    }

    void ReadIdentity() {
        std::string raceName = in.String();
        c.name = in.String();
        c.description = in.String();
        // Sets the race's limits, re-clamps every base and recomputes all derived values.
        if (!c.SetRaceByName(raceName)) {
            prompt.ShowMessage("Unknown Race : " + raceName);
            throw Refused{};
        }
    }

    void ReadDisciplines() {
        uint32_t count = in.Count(5);
        for (uint32_t i = 0; i < count; ++i) {
            in.Word(); // record version
            std::string name = in.String();
            int16_t circle = in.Short();
            const CVARN_DBDiscipline* entry = rules.disciplineList.FindDiscipline(name);
            if (!entry) {
                prompt.ShowMessage("Unknown Discipline : " + name);
                continue;
            }
            // Out-of-range circles are ignored, as on the Discipline page.
            c.SetDisciplineCircle(entry, circle);
            if (CVARN_CharDisc* record = c.FindCharDisc(entry))
                record->name = name;
        }
        c.ComputeDisciplineModifiers();
    }

    void ReadTalents() {
        uint32_t count = in.Count(5);
        for (uint32_t i = 0; i < count; ++i) {
            uint16_t recordVersion = in.Word();
            std::string name = in.String();
            if (recordVersion < 4)
                in.String(); // a text older records kept; no longer used
            int16_t rank = in.Short();
            CVARN_CharTalent* talent = c.FindCharTalent(name);
            if (!talent) {
                prompt.ShowMessage("Unknown Character Talent : " + name);
                continue;
            }
            // The ranks the Talents page accepts; anything else keeps the talent unranked.
            if (rank >= 0 && rank <= 15)
                talent->SetRank(rank);
        }
        c.RecomputeTalentLegend();
    }

    void ReadSkills() {
        uint32_t count = in.Count(5);
        for (uint32_t i = 0; i < count; ++i) {
            in.Word();
            std::string name = in.String();
            int16_t rank = in.Short();
            if (const CVARN_DBSkill* entry = rules.skillTable.Find(name))
                c.SetSkillRank(entry, rank); // refuses ranks outside 0..10 itself
        }
    }

    void ReadOldSkills() {
        uint32_t count = in.Count(5);
        for (uint32_t i = 0; i < count; ++i) {
            if (tags.ReadTag(in).fileClass != FileClass::IOSkill)
                throw BadFormat{};
            CVARN_IOSkill old;
            old.name = in.String();
            old.rank = in.Short();
            old.skill = rules.skillTable.Find(old.name);
            c.ConvertIOSkill(old, prompt); // reports an unknown skill, keeps ranks in 1..10
        }
    }

    void ReadSpells() {
        uint32_t count = in.Count(4);
        for (uint32_t i = 0; i < count; ++i) {
            in.Word();
            std::string name = in.String();
            std::string spellType = in.String();
            if (const CVARN_DBSpell* entry = rules.spellTable.Find(name))
                c.AddSpell(entry, spellType);
        }
    }

    void ReadOldSpells() {
        uint32_t count = in.Count(4);
        for (uint32_t i = 0; i < count; ++i) {
            if (tags.ReadTag(in).fileClass != FileClass::IOSpell)
                throw BadFormat{};
            CVARN_IOSpell old;
            old.name = in.String();
            old.spellType = in.String();
            old.spell = rules.spellTable.Find(old.name);
            c.ConvertIOSpell(old, prompt); // reports an unknown spell
        }
    }

    void ReadEquipment() {
        uint32_t count = in.Count(3);
        // Pieces past the questions asked one by one, for one question about them all.
        std::vector<std::unique_ptr<CVARN_CharEquip>> unasked;
        for (uint32_t i = 0; i < count; ++i) {
            std::unique_ptr<CVARN_CharEquip> piece = ReadPiece();
            if (piece->item) {
                c.equipment.push_back(std::move(piece));
                continue;
            }
            // No replacement is ever offered for miscellaneous goods: nothing to ask.
            if (dynamic_cast<const CVARN_CharEquipMisc*>(piece.get()) != nullptr) {
                prompt.ShowMessage("Unknown object " + piece->name);
                continue;
            }
            if (questionsAsked >= QuestionsInFull && !prompt.TakesEveryMessage()) {
                unasked.push_back(std::move(piece));
                continue;
            }
            ++questionsAsked;
            AskReplacement(*piece);
        }
        if (unasked.size() == 1) {
            AskReplacement(*unasked.front());
        } else if (unasked.size() > 1 &&
                   prompt.AskOkCancel(
                       std::to_string(unasked.size()) +
                       " more unknown objects, the last of them: " + unasked.back()->name +
                       "\nDo you want to search each of them in database?")) {
            for (const auto& piece : unasked)
                BuyReplacement(*piece);
        }
    }

    void AskReplacement(const CVARN_CharEquip& piece) {
        // The piece is dropped whatever the answer; a chosen entry is bought anew.
        if (prompt.AskOkCancel("Unknown object " + piece.name +
                               "\nDo you want to search it in database?"))
            BuyReplacement(piece);
    }

    void BuyReplacement(const CVARN_CharEquip& piece) {
        if (const CVARN_Item* replacement = prompt.SelectReplacementItem(piece))
            c.AddEquipment(replacement);
    }

    std::unique_ptr<CVARN_CharEquip> ReadPiece() {
        LoadedClass loaded = tags.ReadTag(in);
        std::unique_ptr<CVARN_CharEquip> piece;
        int32_t* worn = nullptr;
        CVARN_CharEquipThreadArmor* threadArmor = nullptr;
        switch (loaded.fileClass) {
        case FileClass::Armor: {
            auto armor = std::make_unique<CVARN_CharEquipArmor>();
            worn = &armor->worn;
            piece = std::move(armor);
            break;
        }
        case FileClass::ThreadArmor: {
            auto armor = std::make_unique<CVARN_CharEquipThreadArmor>();
            worn = &armor->worn;
            threadArmor = armor.get();
            piece = std::move(armor);
            break;
        }
        case FileClass::Shield: {
            auto shield = std::make_unique<CVARN_CharEquipShield>();
            worn = &shield->worn;
            piece = std::move(shield);
            break;
        }
        case FileClass::Weapon:
            piece = std::make_unique<CVARN_CharEquipWeapon>();
            break;
        case FileClass::Misc:
            piece = std::make_unique<CVARN_CharEquipMisc>();
            break;
        default:
            throw BadFormat{}; // an older skill or spell record in the equipment list
        }
        piece->schema = loaded.schema;
        piece->name = in.String();
        if (loaded.schema >= 3) {
            uint32_t elements = in.Count(1);
            if (elements > pathElementsLeft)
                throw BadFormat{};
            pathElementsLeft -= elements;
            piece->path.reserve(elements);
            for (uint32_t i = 0; i < elements; ++i)
                piece->path.push_back(in.String());
        }
        if (worn)
            *worn = in.Long();
        if (threadArmor && loaded.schema >= 2)
            threadArmor->threadRank = in.Short();

        const EquipmentDatabase& db = rules.equipmentDatabase;
        switch (loaded.fileClass) {
        case FileClass::Armor:
            piece->item = db.FindArmor(piece->name);
            break;
        case FileClass::ThreadArmor:
            piece->item = db.FindThreadArmor(piece->name);
            break;
        case FileClass::Shield:
            piece->item = db.FindShield(piece->name);
            break;
        case FileClass::Weapon:
            piece->item = db.FindWeapon(piece->name);
            break;
        default:
            piece->item = db.FindMisc(piece->name);
            break;
        }
        return piece;
    }

    CVARN_Character& c;
    const RulesDatabase& rules;
    ByteReader in;
    CVARN_UserPrompt& prompt;
    ObjectTagReader tags;
    uint32_t pathElementsLeft = MostPathElements;
    static constexpr int QuestionsInFull = 20;
    int questionsAsked = 0;
};

// ---------------------------------------------------------------- the writer

class ByteWriter {
public:
    void Word(uint16_t v) {
        out.push_back(static_cast<char>(v & 0xFF));
        out.push_back(static_cast<char>(v >> 8));
    }
    void Short(int16_t v) { Word(static_cast<uint16_t>(v)); }
    void Dword(uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
    void Long(int32_t v) { Dword(static_cast<uint32_t>(v)); }
    void Count(size_t n) { Dword(static_cast<uint32_t>(n)); }

    void String(const std::string& s) {
        size_t n = s.size();
        if (n < 0xFF) {
            out.push_back(static_cast<char>(n));
        } else if (n < 0xFFFE) {
            out.push_back(static_cast<char>(0xFF));
            Word(static_cast<uint16_t>(n));
        } else {
            out.push_back(static_cast<char>(0xFF));
            Word(0xFFFF);
            Dword(static_cast<uint32_t>(n));
        }
        out += s;
    }

    void Bytes(std::string_view s) { out += s; }

    std::string out;
};

class ObjectTagWriter {
public:
    // Writes the class tag of the next object: the class itself the first time, a
    // reference to its number afterwards.
    void WriteTag(ByteWriter& out, const char* className) {
        auto it = classNumbers.find(className);
        if (it == classNumbers.end()) {
            out.Word(NewClassTag);
            out.Word(EquipmentSchema);
            std::string_view name(className);
            out.Word(static_cast<uint16_t>(name.size()));
            out.Bytes(name);
            classNumbers.emplace(className, next++);
        } else if (it->second < BigObjectTag) {
            out.Word(static_cast<uint16_t>(ClassTag | it->second));
        } else {
            out.Word(BigObjectTag);
            out.Dword(BigClassTag | it->second);
        }
        ++next; // the object
    }

private:
    std::unordered_map<std::string_view, uint32_t> classNumbers;
    uint32_t next = 1;
};

} // namespace

const char* StoredClassName(CVARN_EquipKind kind) {
    const FileClass fileClass = FileClassOf(kind);
    for (const StoredClass& c : StoredClasses)
        if (c.fileClass == fileClass)
            return c.name;
    return nullptr; // every kind has its name above
}

std::string WriteCharacter(const CVARN_Character& c) {
    ByteWriter out;
    for (const CVARN_CharAtt& att : c.attributes) {
        out.Word(2); // the layout below is that of record version 2
        out.Short(att.raceModifier);
        out.Short(att.minimum);
        out.Short(att.maximum);
        out.Short(att.base);
        out.Short(att.increases);
        out.Short(att.step);
    }
    out.Short(CurrentVersion);
    out.String(c.raceName);
    out.String(c.name);
    out.String(c.description);

    // Record versions are written as constants: the reader's layout depends on them.
    out.Count(c.disciplines.size());
    for (const auto& d : c.disciplines) {
        out.Word(1);
        out.String(d->name);
        out.Short(d->circle);
    }
    out.Count(c.talents.size());
    for (const auto& t : c.talents) {
        out.Word(4);
        out.String(t->name);
        out.Short(t->rank);
    }
    out.Count(c.skills.size());
    for (const auto& s : c.skills) {
        out.Word(4);
        out.String(s->skill ? s->skill->name : std::string());
        out.Short(s->rank);
    }
    out.Count(c.spells.size());
    for (const auto& s : c.spells) {
        out.Word(4);
        out.String(s->spell ? s->spell->name : std::string());
        out.String(s->spellType);
    }
    out.Short(c.durabilityRank);
    out.Short(c.deathPerRank);
    out.Short(c.unconsciousnessPerRank);

    out.Count(c.equipment.size());
    ObjectTagWriter tags;
    for (const auto& piece : c.equipment) {
        tags.WriteTag(out, StoredClassName(piece->EquipKind()));
        out.String(piece->name);
        out.Count(piece->path.size());
        for (const std::string& element : piece->path)
            out.String(element);
        if (auto* armor = dynamic_cast<const CVARN_CharEquipArmor*>(piece.get())) {
            out.Long(armor->worn);
            if (auto* thread = dynamic_cast<const CVARN_CharEquipThreadArmor*>(armor))
                out.Short(thread->threadRank);
        } else if (auto* shield = dynamic_cast<const CVARN_CharEquipShield*>(piece.get())) {
            out.Long(shield->worn);
        }
    }

    out.Short(c.karmaBought);
    out.Short(c.karmaSpent);
    out.Long(c.attributesCost);
    out.Long(c.attributeIncrease);
    out.Long(c.attributesMinMax);
    out.Long(c.circleAdvancement);
    out.Long(c.armorsWornLimit);
    out.Long(c.raceDisciplineCompatibility);
    out.Short(c.attributePoints);
    out.Long(c.legendEarned);
    out.Long(c.extraCosts);
    out.Long(c.creationLegend);
    return std::move(out.out);
}

CVARN_FileFailure ReadCharacter(CVARN_Character& character, std::string_view bytes,
                                CVARN_UserPrompt& prompt) {
    CVARN_GatheredMessages messages(prompt);
    CVARN_FileFailure failure = CVARN_FileFailure::None;
    try {
        CharacterReader(character, bytes, messages).Read();
    } catch (const BadFormat&) {
        failure = CVARN_FileFailure::UnexpectedFormat;
    } catch (const Refused&) {
        failure = CVARN_FileFailure::OpenFailed;
    } catch (const std::bad_alloc&) {
        // Whatever the file asked for, the program and its other documents go on.
        failure = CVARN_FileFailure::UnexpectedFormat;
    }
    try {
        messages.Flush();
    } catch (const std::bad_alloc&) {
        failure = CVARN_FileFailure::UnexpectedFormat;
    }
    return failure;
}
