#pragma once

#include "rules/UserPrompt.h"

#include <QPointer>
#include <QString>
#include <QWidget>

struct RulesDatabase;

// The desktop program's answers to the core's questions, and every other message box of
// the documents and windows. Each box is captioned with the program's name. Tests derive
// from it and override the Qt-side virtuals to record what would have been shown.
class CVARN_QtPrompt : public CVARN_UserPrompt {
public:
    enum class SaveAnswer { Yes, No, Cancel };

    explicit CVARN_QtPrompt(const RulesDatabase& rules);

    // The window the boxes belong to: the main window once it is shown, none before.
    void SetParentWidget(QWidget* parent) { m_parent = parent; }
    QWidget* ParentWidget() const;

    // The core's questions, texts converted from the core's bytes.
    void ShowMessage(const std::string& text) final { Inform(FromCoreText(text)); }
    bool AskOkCancel(const std::string& text) final { return Confirm(FromCoreText(text)); }
    const CVARN_Item* SelectReplacementItem(const CVARN_CharEquip& piece) override;

    // A plain message with an OK button.
    virtual void Inform(const QString& text);
    // A question with OK and Cancel; true for OK.
    virtual bool Confirm(const QString& text);
    // A failure of a file command: exclamation icon, OK button.
    virtual void Warn(const QString& text);
    // "Save changes to %1?" with Yes, No and Cancel.
    virtual SaveAnswer AskSaveChanges(const QString& documentTitle);

protected:
    static QString FromCoreText(const std::string& text);
    const RulesDatabase& m_rules;

private:
    QPointer<QWidget> m_parent;
};
