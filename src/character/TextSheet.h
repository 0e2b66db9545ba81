#pragma once

#include <string>

class CVARN_Character;
class CVARN_CharTalent;

// Program version printed in the sheet's title.
inline constexpr const char* VARN_SHEET_VERSION = "1.3e";

// The plain-text character sheet, lines ending with "\n".
void BuildTextSheet(const CVARN_Character& character, std::string& out);

// True when the talent's first granting discipline offers it as a discipline talent (the
// sheets' "Disc." column).
bool IsDisciplineTalent(const CVARN_CharTalent& talent);
