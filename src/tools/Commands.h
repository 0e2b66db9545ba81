#pragma once

#include <string>
#include <vector>

// Each command gets the data directory (ending with "/") and its own arguments, and
// returns the exit status: 0 success, 1 failure (after its message), 2 usage error.
int CommandCheck(const std::string& dataDirectory, bool answerYes);
int CommandSheet(const std::string& dataDirectory, const std::vector<std::string>& args);
int CommandConvert(const std::string& dataDirectory, const std::vector<std::string>& args);
// args: IN.vrn OUT.json|OUT.html
int CommandExport(const std::string& dataDirectory, const std::vector<std::string>& args);
// args: IN.json OUT.vrn
int CommandImport(const std::string& dataDirectory, const std::vector<std::string>& args);
