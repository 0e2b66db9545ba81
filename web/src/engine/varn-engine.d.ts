// Types of the VARN engine: the rules and character core compiled to WebAssembly
// (scripts/build-wasm.sh builds build-wasm/varn-engine.mjs and varn-engine.wasm).
//
// The page holds no rule: every figure, text, warning, list and enabled state it shows comes
// from Engine.view() and Engine.catalog(); every change goes through Engine.apply(). The raw
// module speaks JSON strings; engine.ts (beside this file) parses them into the types below.

// ---------------------------------------------------------------------------------------------
// The raw module (ES module factory made by emscripten, embind class "Engine").
// A new Engine has no data set: call loadDataSet first (with the seven shipped files).

export interface RawEngine {
    // The files' names (only the last path part counts) and their bytes, in the same order.
    // On success the engine takes the data set and starts a new character (the open one is
    // dropped: save it with saveVrn() first and reopen it with openVrn() after).
    loadDataSet(names: string[], blobs: Uint8Array[]): string; // -> LoadResult
    catalog(): string; // -> Catalog
    // One list of the catalog with the fields its list or tree shows -> BriefCatalog[part]
    catalogPart(part: keyof Catalog): string;
    // One entry with every field -> EntryKinds[kind] | null
    entry(kind: keyof EntryKinds, name: string): string;
    // The six label/value rows the equipment page shows for a catalog entry (the weapon's
    // damage step depends on the character): JSON [string, string][]; "-" rows unused.
    itemDetails(category: EquipmentCategory, item: string): string;
    // The thread-weaving warning to show while a spell of `type` is selected; "" for none.
    // "\n" line ends as the desktop's text box shows it.
    threadWeavingWarning(type: string): string;
    newCharacter(): void;
    openVrn(bytes: Uint8Array, fileName: string): string; // -> OpenResult
    saveVrn(): Uint8Array;
    importJson(text: string): string; // -> OpenResult
    exportJson(): string; // the desktop's JSON export text
    textSheet(): string; // the text sheet, "\r\n" line ends as the desktop saves it to .txt
    htmlSheet(): string; // the laid-out sheet as one HTML document
    view(): string; // -> CharacterView
    // One part of the view: "header" -> ViewHeader, a page's part -> CharacterView[part]
    viewPart(part: "header" | ViewPartName): string;
    apply(op: string): string; // op: JSON of an Operation -> ApplyResult
    undo(): boolean;
    redo(): boolean;
    undoText(): string; // "" when nothing to undo, else e.g. "Undo Talent Rank"
    // (the same texts are in view().undoText / redoText)
    redoText(): string;
    isModified(): boolean;
    markSaved(): void;
    delete(): void; // embind: frees the C++ object
}

export interface VarnModule {
    Engine: new () => RawEngine;
}

// In the browser the module fetches varn-engine.wasm beside itself (or where locateFile
// says); under Node pass the file's bytes as wasmBinary.
declare const createVarnEngine: (options?: {
    wasmBinary?: ArrayBuffer | Uint8Array;
    locateFile?: (path: string, prefix: string) => string;
    print?: (text: string) => void;
    printErr?: (text: string) => void;
}) => Promise<VarnModule>;
export default createVarnEngine;

// ---------------------------------------------------------------------------------------------
// Results

export interface LoadResult {
    ok: boolean; // false: the data set was refused, the engine keeps the data set it had
    // Every message start-up would show, in the order it shows them. Questions are answered
    // as varn-tool answers them (Cancel).
    messages: string[];
}

export interface OpenResult {
    ok: boolean; // false: nothing changed, the open character stays as it was
    messages: string[]; // the desktop's texts ("Unexpected file format.", unknown entries...)
    warnings?: string[]; // JSON import: keys ignored ("talents[0].note: unknown key, ignored")
}

export interface ApplyResult {
    ok: boolean; // false: refused, nothing changed (message says why)
    message?: string;
}

// ---------------------------------------------------------------------------------------------
// Operations (Engine.apply). Each successful one is one undo step when it changed anything.

export type AttributeName =
    | "Dexterity" | "Strength" | "Toughness" | "Charisma" | "Perception" | "Willpower";

export type OptionName =
    | "raceDisciplineCompatibility" | "attributesCost" | "attributeIncrease"
    | "attributesMinMax" | "circleAdvancement" | "armorsWornLimit";

export type EquipmentCategory = "misc" | "armors" | "threadArmors" | "shields" | "weapons";

export type Operation =
    | { op: "name"; value: string }
    | { op: "description"; value: string }
    | { op: "legend"; field: "creation" | "earned" | "extra"; value: number }
    | { op: "race"; name: string }
    | { op: "attributeBase"; attribute: AttributeName; value: number }
    | { op: "attributeIncreases"; attribute: AttributeName; value: number } // 0..5
    | { op: "karmaBought"; value: number }
    | { op: "karmaSpent"; value: number }
    | { op: "circle"; discipline: string; circle: number } // 0 leaves it; only listed ones
    | { op: "talentRank"; talent: string; rank: number } // 0..15, a talent the character has
    | { op: "skillRank"; skill: string; rank: number } // 0 removes the skill
    | { op: "learnSpell"; spell: string; type: string } // type: one of the spell's types
    | { op: "forgetSpell"; spell: string }
    | { op: "buy"; category: EquipmentCategory; item: string } // first entry of that name
    | { op: "remove"; index: number } // index into view().equipment.owned
    | { op: "wear"; index: number; worn: boolean }
    | { op: "threadRank"; index: number; rank: number } // 0..threadMax
    | { op: "option"; option: OptionName; value: boolean }
    | { op: "attributePoints"; value: number }; // 1..999

// ---------------------------------------------------------------------------------------------
// The data set as the pages list it (Engine.catalog(); changes only with loadDataSet).

export interface CatalogRace {
    name: string;
    abilities: string[];
}

export interface CatalogDisciplineTalent {
    circle: number;
    name: string; // as offered: "Durability (7/6)"
    talent: string | null; // the talent entry's name (null when the data set lacks it)
    disciplineTalent: boolean; // the "Disc." flag
}

export interface CatalogDiscipline {
    name: string;
    highestCircle: number;
    description: string;
    abilities: { circle: number; text: string }[];
    talents: CatalogDisciplineTalent[]; // in file order; the page shows one circle at a time
}

export interface CatalogTalent {
    name: string;
    formula: string;
    strain: number;
    action: boolean;
    karma: boolean;
    description: string;
}

export interface CatalogSkill {
    name: string;
    type: string;
    formula: string;
    strain: number;
    action: boolean;
    karma: boolean;
    description: string;
}

export interface CatalogSpell {
    name: string;
    circle: number;
    types: string[];
    threads: string;
    weaving: string;
    reattuning: string;
    range: string;
    difficulty: string;
    duration: string;
    effect: string;
    description: string;
}

export interface CatalogItem {
    category: EquipmentCategory;
    name: string;
    path: string[]; // sub-category path, outermost first (the tree's folders)
}

// Lists come in data-set order unless said otherwise; the page sorts and groups them for
// display (skills by type, spells by type then circle: a spell of several types is listed
// under each). Texts of the data set are UTF-8 (bytes that are not are read as Latin-1).
// The lists as catalogPart() gives them: what a list or tree shows of each entry.
export interface BriefCatalog {
    races: CatalogRace[];
    disciplines: Pick<CatalogDiscipline, "name" | "highestCircle">[];
    talents: Pick<CatalogTalent, "name">[];
    skills: Pick<CatalogSkill, "name" | "type">[];
    spells: Pick<CatalogSpell, "name" | "circle" | "types">[];
    equipment: CatalogItem[];
}

export interface EntryKinds {
    discipline: CatalogDiscipline;
    talent: CatalogTalent;
    skill: CatalogSkill;
    spell: CatalogSpell;
}

export interface Catalog {
    races: CatalogRace[]; // sorted by name, ignoring case, as the race list shows them
    disciplines: CatalogDiscipline[];
    talents: CatalogTalent[];
    skills: CatalogSkill[];
    spells: CatalogSpell[];
    // categories in the page's order: armors, shields, weapons, threadArmors, misc
    equipment: CatalogItem[];
}

// ---------------------------------------------------------------------------------------------
// The character as the pages show it (Engine.view(); cheap, call after every change).

export interface AttributeView {
    name: AttributeName;
    base: number;
    min: number; // range of the base stepper
    max: number;
    modifier: string; // race modifier as shown ("+2", "-1", "0")
    increases: number; // 0..5
    value: number;
    step: number;
    cost: number;
}

export interface CharacterView {
    modified: boolean;
    undoText: string; // "" when nothing to undo
    redoText: string;
    character: {
        name: string;
        description: string;
        creation: number;
        earned: number;
        extra: number;
        spent: number;
        available: number;
        availableWarning: boolean; // the warning mark beside Available
    };
    attributes: {
        race: string; // "" while none is chosen
        raceAbilities: string[];
        attributes: AttributeView[]; // in page order: Dex, Str, Tou, Per, Wil, Cha
        // points, increases: the texts beside "Points" and "Increases"; *Warning: show the mark
        points: string; // "66 / 66" or "40 / --"
        pointsWarning: boolean;
        increases: string; // "1 / 2" or "0 / --"
        increasesWarning: boolean;
        physicalDefense: number;
        spellDefense: number;
        socialDefense: number;
        physicalArmor: number;
        mysticArmor: number;
        land: string; // "32/64"
        fly: string; // "N/A" or "48/96"
        death: number;
        unconsciousness: number;
        wound: number;
        recoveryTests: string; // number, "1/2" or "None"
        recoveryDice: string; // "D8 (5)"
        initiative: string; // "D6 (4)"
        carry: string; // "95 Lbs"
        lift: string;
        karma: {
            max: number;
            bought: number;
            spent: number;
            cost: number;
            dice: string;
            available: number;
            warning: boolean;
        };
    };
    disciplines: {
        // the Available Disciplines list (race/discipline compatibility applied), sorted
        list: { name: string; label: string; circle: number; highestCircle: number }[];
    };
    talents: {
        // every talent the character has, in its order (the page hides rank 0 unless
        // "Show 'Rank 0' Talents" is ticked, and shows those dimmed)
        list: {
            name: string;
            rank: number;
            discipline: string;
            formula: string;
            step: number;
            dimmed: boolean;
        }[];
        check: string; // circle requirement text, "\n" line ends; "" when all is well
    };
    skills: {
        list: { name: string; type: string; rank: number; formula: string; step: number }[];
    };
    spells: {
        list: { name: string; type: string; circle: number }[]; // see threadWeavingWarning()
    };
    equipment: {
        owned: {
            index: number;
            category: EquipmentCategory;
            name: string;
            path: string[];
            worn: boolean | null; // null: cannot be worn
            threadRank: number | null; // null: not a thread item
            threadMax: number;
            rows: [string, string][]; // the details rows for this piece
        }[];
        warning: string; // worn armors/shields text, "\n" line ends; "" when none
    };
    system: {
        raceDisciplineCompatibility: boolean;
        attributesCost: boolean;
        attributeIncrease: boolean;
        attributesMinMax: boolean;
        circleAdvancement: boolean;
        armorsWornLimit: boolean;
        attributePoints: number;
        attributePointsEnabled: boolean;
    };
}

export type ViewHeader = Pick<CharacterView, "modified" | "undoText" | "redoText">;
export type ViewPartName = Exclude<keyof CharacterView, keyof ViewHeader>;
