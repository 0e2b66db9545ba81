#include "shell/FileDialog.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>

QString RenameForFileType(const QString& typedName, int filterIndex) {
    static const char* const extensions[] = {".vrn", ".txt"};
    if (filterIndex < 0 || filterIndex > 1 || typedName.isEmpty())
        return typedName;
    QString name = typedName;
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    return name + QLatin1String(extensions[filterIndex]);
}

namespace {
// "*.txt" from "Text File (*.txt)"; the first pattern's extension without its dot.
QString SuffixOfFilter(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.([^ )]+)"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}
} // namespace

FileDialog::FileDialog(bool open, const QString& title, const QStringList& nameFilters,
                       const QString& fileName, QWidget* parent)
    : QFileDialog(parent, title) {
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // Linux file names are case-sensitive, but the character files of this program have
    // always been named in any case (".VRN" is what it proposes).
    setFilter(filter() & ~QDir::CaseSensitive);
    setNameFilters(nameFilters);
    for (const QString& f : nameFilters)
        m_defaultSuffixes.append(SuffixOfFilter(f));
    if (!nameFilters.isEmpty()) {
        selectNameFilter(nameFilters.front());
        // A typed name without an extension gets the one of the type chosen; the first
        // type's at first.
        setDefaultSuffix(m_defaultSuffixes.front().toUpper());
    }
    if (!fileName.isEmpty()) {
        const QFileInfo info(fileName);
        if (info.isAbsolute())
            setDirectory(info.absolutePath());
        selectFile(info.fileName());
    }
    connect(this, &QFileDialog::filterSelected, this, [this](const QString& filter) {
        selectFileType(static_cast<int>(this->nameFilters().indexOf(filter)));
    });
}

QString FileDialog::typedName() const {
    if (auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        return edit->text();
    return QString();
}

void FileDialog::setTypedName(const QString& name) {
    if (auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        edit->setText(name);
}

void FileDialog::selectFileType(int index) {
    if (index >= 0 && index < m_defaultSuffixes.size())
        setDefaultSuffix(index == 0 ? m_defaultSuffixes[index].toUpper()
                                    : m_defaultSuffixes[index]);
    // Opening renames nothing: the JSON type there only widens what is listed.
    if (acceptMode() == QFileDialog::AcceptOpen)
        return;
    const QString typed = typedName();
    const QString renamed = RenameForFileType(typed, index);
    if (renamed != typed)
        setTypedName(renamed);
}
