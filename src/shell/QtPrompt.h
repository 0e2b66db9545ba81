#pragma once

#include "rules/UserPrompt.h"

#include <QPointer>
#include <QString>
#include <QWidget>

struct RulesDatabase;

// The desktop program's answers to the core's questions, and every other message box of
// the documents and windows. Each box is captioned with the program's name. Tests derive
// from it and override the Qt-side virtuals to record what would have been shown.
class QtPrompt : public CVARN_UserPrompt {
public:
    enum class SaveAnswer { Yes, No, Cancel };

    explicit QtPrompt(const RulesDatabase& rules);

    // The window the boxes belong to: the main window once it is shown, none before.
    void setParentWidget(QWidget* parent) { m_parent = parent; }
    QWidget* parentWidget() const;

    // The core's questions, texts converted from the core's bytes.
    void ShowMessage(const std::string& text) final { inform(fromCoreText(text)); }
    bool AskOkCancel(const std::string& text) final { return confirm(fromCoreText(text)); }
    const CVARN_Item* SelectReplacementItem(const CVARN_CharEquip& piece) override;

    // A plain message with an OK button.
    virtual void inform(const QString& text);
    // A question with OK and Cancel; true for OK.
    virtual bool confirm(const QString& text);
    // A failure of a file command: exclamation icon, OK button.
    virtual void warn(const QString& text);
    // "Save changes to %1?" with Yes, No and Cancel.
    virtual SaveAnswer askSaveChanges(const QString& documentTitle);

protected:
    static QString fromCoreText(const std::string& text);
    const RulesDatabase& m_rules;

private:
    QPointer<QWidget> m_parent;
};
