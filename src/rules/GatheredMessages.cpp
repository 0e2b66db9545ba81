#include "rules/GatheredMessages.h"

void CVARN_GatheredMessages::Flush() {
    if (gathered == 1)
        user.ShowMessage(last);
    else if (gathered > 1)
        user.ShowMessage(summaryPrefix + std::to_string(gathered) +
                         " more messages not shown, the last of them:\n" + last);
    gathered = 0;
}

void CVARN_GatheredMessages::ShowMessage(const std::string& text) {
    if (shown < shownInFull || user.TakesEveryMessage()) {
        ++shown;
        user.ShowMessage(text);
        return;
    }
    ++gathered;
    last = text;
}
