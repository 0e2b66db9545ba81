#pragma once

#include "character/SheetContent.h"

#include <string>

class CVARN_Character;

// The laid-out sheet as one self-contained HTML page: styles in the page itself, no
// scripts, nothing fetched from elsewhere. Print styles keep each box on one page where it
// fits and repeat a table's header on the pages it runs over.
std::string BuildHtmlSheet(const varn_sheet::SheetContent& content);
std::string BuildHtmlSheet(const CVARN_Character& character);
