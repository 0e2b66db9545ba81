#pragma once

#include "editor/Page.h"

#include <memory>

// The eight pages of the character sheet, in tab order. Each page gets its own file
// (PageCharacter.h, PageAttributes.h, ...) when it is built; until then it is an empty page
// of a plausible size, so that windows already look like they will.

inline constexpr int CharacterPageCount = 8;

// Makes the page of the given tab (0 = Character ... 7 = System); nullptr outside 0..7.
// The sheet creates its pages only through this function.
std::unique_ptr<CVARN_Page> CreateCharacterPage(int tab);

// An empty page that reserves the room its finished version is expected to need.
class CVARN_PlaceholderPage : public CVARN_Page {
public:
    explicit CVARN_PlaceholderPage(const QString& caption, QWidget* parent = nullptr)
        : CVARN_Page(caption, parent) {}
    QSize sizeHint() const override { return QSize(620, 420); }
};
