#include "shell/QtPrompt.h"

#include "editor/DlgSelectItem.h"
#include "rules/RulesDatabase.h"
#include "widgets/QtText.h"

#include <QApplication>
#include <QMessageBox>

namespace {
const QString kCaption = QStringLiteral("VARN");

QMessageBox::StandardButton RunBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                   QMessageBox::StandardButtons buttons,
                                   QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, kCaption, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    // A wait cursor left over from a long operation must not hide the question.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    if (waiting)
        QApplication::restoreOverrideCursor();
    return answer;
}
} // namespace

QtPrompt::QtPrompt(const RulesDatabase& rules) : m_rules(rules) {}

QWidget* QtPrompt::parentWidget() const {
    // Never whatever window happens to be active: during start-up that is the splash,
    // which deletes itself on a timer and would take an open box with it.
    return m_parent.data();
}

QString QtPrompt::fromCoreText(const std::string& text) {
    return FromCore(text);
}

const CVARN_Item* QtPrompt::SelectReplacementItem(const CVARN_CharEquip& piece) {
    CVARN_DlgSelectItem dialog(m_rules.equipmentDatabase, &piece, parentWidget());
    return dialog.Run();
}

void QtPrompt::inform(const QString& text) {
    RunBox(parentWidget(), QMessageBox::NoIcon, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtPrompt::confirm(const QString& text) {
    return RunBox(parentWidget(), QMessageBox::NoIcon, text, QMessageBox::Ok | QMessageBox::Cancel,
                  QMessageBox::Ok) == QMessageBox::Ok;
}

void QtPrompt::warn(const QString& text) {
    RunBox(parentWidget(), QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

QtPrompt::SaveAnswer QtPrompt::askSaveChanges(const QString& documentTitle) {
    const auto answer =
        RunBox(parentWidget(), QMessageBox::Question,
               QStringLiteral("Save changes to %1?").arg(documentTitle),
               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        return SaveAnswer::Yes;
    if (answer == QMessageBox::No)
        return SaveAnswer::No;
    return SaveAnswer::Cancel; // Escape and the close box count as Cancel
}
