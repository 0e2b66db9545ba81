#pragma once

// What the laid-out character sheet shows, in reading order, free of any way of drawing it.
// The HTML page, the painted page and the PDF all render this one description, so that
// every output shows the same figures under the same headings.

#include <cstddef>
#include <string>
#include <vector>

class CVARN_Character;

namespace varn_sheet {

// The longest name and description, in characters, that the desktop's fields and JSON
// import take: a sheet lays them out in a few lines and a few pages. A stored file with
// longer texts still opens, and its sheets show them whole.
inline constexpr size_t kNameLimit = 200;
inline constexpr size_t kDescriptionLimit = 20000;

enum class Align { Left, Right, Center };

struct Column {
    std::string title;
    Align align = Align::Left;
};

// One block of a section. A table has column titles and rows of cells; a field list has
// rows of two cells (label, value) and no titles; a text block has paragraphs in `rows`,
// one cell each.
struct Block {
    enum class Kind { Fields, Table, Text };
    Kind kind = Kind::Fields;
    std::string heading; // a sub-heading inside the section ("Weapons", a spell type), or ""
    std::vector<Column> columns;
    std::vector<std::vector<std::string>> rows;
};

struct Section {
    std::string title;
    // Small boxes of figures: a renderer may set several of them side by side.
    bool compact = false;
    std::vector<Block> blocks;
};

struct SheetContent {
    std::string title; // the character's name, or a stand-in for an unnamed one
    std::string subtitle;
    std::vector<Section> sections;
};

// The sheet of `character` as it stands. Steps are worked out afresh, as the text sheet
// does; nothing of the character changes.
SheetContent BuildSheetContent(const CVARN_Character& character);

} // namespace varn_sheet
