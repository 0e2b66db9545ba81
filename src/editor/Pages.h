#pragma once

#include "editor/Page.h"

#include <memory>

// The eight pages of the character sheet, in tab order, each in its own file
// (PageCharacter.h, PageAttributes.h, ...).

inline constexpr int CharacterPageCount = 8;

// Makes the page of the given tab (0 = Character ... 7 = System); nullptr outside 0..7.
// The sheet creates its pages only through this function.
std::unique_ptr<CVARN_Page> CreateCharacterPage(int tab);
