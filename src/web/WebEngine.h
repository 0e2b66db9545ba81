#pragma once

// The engine behind the web page: one data set and one open character, driven through JSON.
// Plain C++ over rules and character, so that the native test runner drives exactly what
// the WebAssembly module runs; Bindings.cpp only hands it to JavaScript.

#include "character/CharacterSnapshot.h"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct RulesDatabase;
class CVARN_Character;

class VarnWebEngine {
public:
    VarnWebEngine();
    ~VarnWebEngine();
    VarnWebEngine(const VarnWebEngine&) = delete;
    VarnWebEngine& operator=(const VarnWebEngine&) = delete;

    // Checks a data set as start-up does, from the files' names and bytes (written to a
    // folder of their own and read from there). JSON {ok, messages}. On success the engine
    // takes it and starts a new character; on failure it keeps what it had.
    std::string LoadDataSet(const std::vector<std::pair<std::string, std::string>>& files);
    // The same from a folder (the native runner and the benchmarks).
    std::string LoadDataFolder(const std::string& folder);
    bool HasDataSet() const { return rules != nullptr; }

    // Every list of the data set with every field of its entries.
    std::string Catalog() const;
    // One list ("races", "disciplines", "talents", "skills", "spells", "equipment") with the
    // fields its list or tree shows; Entry gives the rest of one entry.
    std::string CatalogPart(const std::string& part) const;
    // One entry ("discipline", "talent", "skill", "spell") by name, every field; null if none.
    std::string Entry(const std::string& kind, const std::string& name) const;
    std::string ItemDetails(const std::string& category, const std::string& item) const;
    std::string ThreadWeavingWarning(const std::string& spellType) const;

    void NewCharacter();
    // JSON {ok, messages}: the character's own messages, then the failure text.
    std::string OpenVrn(std::string_view bytes, const std::string& fileName);
    std::string SaveVrn() const;
    // JSON {ok, messages, warnings}.
    std::string ImportJson(std::string_view text);
    std::string ExportJson() const;
    // As the desktop saves it to a text file: "\r\n" line ends.
    std::string TextSheet() const;
    std::string HtmlSheet() const;

    std::string View();
    // One part of View(): "header" (modified, undo and redo texts) or one page's part.
    std::string ViewPart(const std::string& part);
    // One operation as JSON; JSON {ok, message}. A change that took is one undo step.
    std::string Apply(std::string_view operation);

    bool Undo();
    bool Redo();
    std::string UndoText() const;
    std::string RedoText() const;
    bool IsModified() const;
    void MarkSaved();

    static constexpr size_t UndoLimit = 1000;

private:
    class Observer;
    void ResetHistory();
    void RecordStep();
    void Restore(size_t index);
    std::string ApplyOperation(std::string_view operation);
    nlohmann::ordered_json CatalogList(const std::string& part) const;
    nlohmann::ordered_json ViewSection(const std::string& part);
    std::string DisciplinesText();

    std::unique_ptr<RulesDatabase> rules;
    std::unique_ptr<CVARN_Character> character;
    std::unique_ptr<Observer> observer;
    // history[current] is the character's state; steps before it undo, after it redo.
    std::vector<CVARN_CharacterSnapshot::Ptr> history;
    size_t current = 0;
    // Index of the saved state; npos once the history no longer holds it.
    size_t saved = 0;
    int dataSets = 0;
    // The data set's discipline names as JSON strings, in list order (made when first needed).
    std::vector<std::string> quotedDisciplineNames;
};
