#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

// The file name after the user picked entry `filterIndex` of the type list: the name is
// cut before its first "." and gets ".vrn" (entry 0) or ".txt" (entry 1). Other entries
// leave it alone, and so does an empty name.
QString RenameForFileType(const QString& typedName, int filterIndex);

// The open and save dialog of the file commands: Qt's own dialog (not the desktop's), so
// that a change of file type can rename what the user typed. Patterns match without regard
// to case, so "hero.VRN" is listed under "VARN Files (*.vrn)".
class FileDialog : public QFileDialog {
    Q_OBJECT
public:
    FileDialog(bool open, const QString& title, const QStringList& nameFilters,
               const QString& fileName, QWidget* parent = nullptr);

    // The name in the file-name box.
    QString typedName() const;
    void setTypedName(const QString& name);

    // The type list changed to entry `index` (as if the user picked it).
    void selectFileType(int index);

private:
    QStringList m_defaultSuffixes;
};
