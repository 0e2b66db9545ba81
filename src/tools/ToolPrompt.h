#pragma once

#include "rules/UserPrompt.h"

#include <iostream>
#include <string>

// varn-tool's answer to the program's message boxes: every message goes to standard error,
// followed by one line feed. Questions are shown the same way and answered Cancel, unless
// the user gave --yes (the only question at load time is whether to rename a data file
// whose name was shortened).
class ToolPrompt : public CVARN_UserPrompt {
public:
    explicit ToolPrompt(bool answerYes = false) : answerYes(answerYes) {}

    void ShowMessage(const std::string& text) override { std::cerr << text << '\n'; }
    bool TakesEveryMessage() const override { return true; } // a script may want them all

    bool AskOkCancel(const std::string& text) override {
        std::cerr << text << '\n';
        return answerYes;
    }

private:
    bool answerYes;
};
