#pragma once

#include "rules/UserPrompt.h"

#include <deque>
#include <string>
#include <vector>

// A user prompt for tests: records every message and question in order, answers questions
// from `answers` (front first) and then with `defaultAnswer`, and picks replacement items
// from `replacements` the same way (nullptr when the queue is empty).
class RecordingPrompt : public CVARN_UserPrompt {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    bool AskOkCancel(const std::string& text) override {
        questions.push_back(text);
        if (answers.empty())
            return defaultAnswer;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    const CVARN_Item* SelectReplacementItem(const CVARN_CharEquip& piece) override {
        replacementRequests.push_back(&piece);
        if (replacements.empty())
            return nullptr;
        const CVARN_Item* item = replacements.front();
        replacements.pop_front();
        return item;
    }

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::deque<bool> answers;
    bool defaultAnswer = false;
    std::vector<const CVARN_CharEquip*> replacementRequests;
    std::deque<const CVARN_Item*> replacements;
};
