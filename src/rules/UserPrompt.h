#pragma once

#include <string>

class CVARN_Item;
class CVARN_CharEquip;

// How the core talks to the person using it. The desktop program answers with message
// boxes and the Select Item dialog, varn-tool writes to standard error, tests record calls.
class CVARN_UserPrompt {
public:
    virtual ~CVARN_UserPrompt() = default;

    // A message with an OK button.
    virtual void ShowMessage(const std::string& text) = 0;

    // A question with OK and Cancel buttons; true means OK.
    virtual bool AskOkCancel(const std::string& text) = 0;

    // Lets the user pick an equipment entry to replace a piece read from a file whose
    // entry the database no longer holds. nullptr means none was chosen.
    virtual const CVARN_Item* SelectReplacementItem(const CVARN_CharEquip& piece) {
        (void)piece;
        return nullptr;
    }

    // A data file can hold a million faults. Where each message stops the user (a message
    // box), start-up shows the first few of each file and one message for the rest; a prompt
    // that only writes them down (a log) returns true and gets every one.
    virtual bool TakesEveryMessage() const { return false; }
};

// Answers every question with Cancel and forgets every message.
class CVARN_SilentPrompt : public CVARN_UserPrompt {
public:
    void ShowMessage(const std::string&) override {}
    bool AskOkCancel(const std::string&) override { return false; }
};
