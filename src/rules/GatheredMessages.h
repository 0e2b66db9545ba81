#pragma once

#include "rules/UserPrompt.h"

#include <cstdint>
#include <string>

// What reading one file says to the user: its first 20 messages as they come, then, once the
// file is read, one message with the count of the rest and the last of them (the one that
// stopped the reading, if one did). A crafted file can hold a million faults; each of them
// must not be a message box of its own. A prompt that only writes messages down gets every
// one. Questions are passed on as they come.
class CVARN_GatheredMessages : public CVARN_UserPrompt {
public:
    static constexpr int shownInFull = 20;

    // `summaryPrefix` opens the message about the rest ("File 'Races.dat': ", or nothing).
    explicit CVARN_GatheredMessages(CVARN_UserPrompt& user, std::string summaryPrefix = {})
        : user(user), summaryPrefix(std::move(summaryPrefix)) {}
    CVARN_GatheredMessages(const CVARN_GatheredMessages&) = delete;
    CVARN_GatheredMessages& operator=(const CVARN_GatheredMessages&) = delete;

    // Says what was gathered, once the file is read.
    void Flush();

    void ShowMessage(const std::string& text) override;
    bool AskOkCancel(const std::string& text) override { return user.AskOkCancel(text); }
    const CVARN_Item* SelectReplacementItem(const CVARN_CharEquip& piece) override {
        return user.SelectReplacementItem(piece);
    }
    bool TakesEveryMessage() const override { return user.TakesEveryMessage(); }

private:
    CVARN_UserPrompt& user;
    std::string summaryPrefix;
    int shown = 0;
    int64_t gathered = 0;
    std::string last;
};
