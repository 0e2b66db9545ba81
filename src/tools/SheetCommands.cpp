#include "tools/Commands.h"

#include <iostream>

// Placeholder until the character file commands arrive.
int CommandSheet(const std::string&, const std::vector<std::string>&) {
    std::cerr << "varn-tool: sheet is not available yet\n";
    return 2;
}

int CommandConvert(const std::string&, const std::vector<std::string>&) {
    std::cerr << "varn-tool: convert is not available yet\n";
    return 2;
}
