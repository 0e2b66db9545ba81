#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;

// Modal window with a spell's name and full description, opened from the
// Grimoire page.
class CVARN_DlgInfoSpell : public QDialog {
    Q_OBJECT
public:
    CVARN_DlgInfoSpell(const QString& name, const QString& description, QWidget* parent = nullptr);

    QString Name() const { return m_name; }
    QString Description() const { return m_description; }
    QLabel* NameLabel() const { return m_nameLabel; }
    QPlainTextEdit* DescriptionEdit() const { return m_descriptionEdit; }

private:
    QString m_name;
    QString m_description;
    QLabel* m_nameLabel = nullptr;
    QPlainTextEdit* m_descriptionEdit = nullptr;
};
