#include "shell/DataFolderDialog.h"

#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"
#include "widgets/AccessibleNames.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>

namespace {
const char* const kSetting = "DataFolder";

// The messages of a trial load, the first few of them.
class TrialPrompt : public CVARN_UserPrompt {
public:
    void ShowMessage(const std::string& text) override {
        if (messages.size() < 5)
            messages << QString::fromStdString(text);
    }
    bool AskOkCancel(const std::string& text) override {
        ShowMessage(text);
        return false;
    }
    QStringList messages;
};
} // namespace

namespace varn_data_folder {

QString chosenFolder() {
    return QSettings().value(QLatin1String(kSetting)).toString();
}

void setChosenFolder(const QString& folder) {
    QSettings settings;
    if (folder.isEmpty())
        settings.remove(QLatin1String(kSetting));
    else
        settings.setValue(QLatin1String(kSetting), folder);
}

QString userFolder() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return base.isEmpty() ? QString() : QDir(base).filePath(QStringLiteral("Data"));
}

bool hasDataFiles(const QString& folder) {
    if (folder.isEmpty())
        return false;
    const QDir dir(folder);
    for (const char* name : {"Skills.dat", "Races.dat", "Talents.dat", "Disciplines.dat",
                             "Spells.dat", "Equipment.dat", "VARN.dat"}) {
        if (!QFileInfo(dir.filePath(QLatin1String(name))).isFile())
            return false;
    }
    return true;
}

QString checkFolder(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return QStringLiteral("'%1' is not a folder.").arg(folder);
    RulesDatabase trial;
    TrialPrompt prompt;
    std::string path = QFile::encodeName(QDir(folder).absolutePath()).toStdString() + '/';
    if (LoadRulesDatabase(trial, path, prompt))
        return {};
    return prompt.messages.isEmpty() ? QStringLiteral("The data set cannot be read.")
                                     : prompt.messages.join(QLatin1Char('\n'));
}

} // namespace varn_data_folder

DataFolderDialog::DataFolderDialog(const QString& current, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Data Folder"));
    auto* label = new QLabel(QStringLiteral("&Folder:"), this);
    m_folder = new QLineEdit(varn_data_folder::chosenFolder(), this);
    m_folder->setPlaceholderText(QStringLiteral("the shipped data set"));
    m_folder->setToolTip(
        QStringLiteral("The folder holding the seven .dat files; empty: the shipped data set"));
    label->setBuddy(m_folder);
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    browse->setToolTip(QStringLiteral("Choose the folder"));
    auto* shipped = new QPushButton(QStringLiteral("&Shipped Data"), this);
    shipped->setToolTip(QStringLiteral("Go back to the data set shipped with the program"));
    m_status = new QLabel(QStringLiteral("In use now: ") + QDir::toNativeSeparators(current) +
                              QStringLiteral("\nA new choice counts from the next start."),
                          this);
    m_status->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_folder, 0, 1);
    layout->addWidget(browse, 0, 2);
    layout->addWidget(shipped, 1, 2);
    layout->addWidget(m_status, 2, 0, 1, 3);
    layout->addWidget(buttons, 3, 0, 1, 3);
    layout->setColumnStretch(1, 1);

    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getExistingDirectory(
            this, QStringLiteral("Data Folder"), m_folder->text());
        if (!chosen.isEmpty())
            m_folder->setText(QDir::toNativeSeparators(chosen));
    });
    connect(shipped, &QPushButton::clicked, m_folder, &QLineEdit::clear);
    connect(buttons, &QDialogButtonBox::accepted, this, &DataFolderDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    NameControls(this);
    resize(520, sizeHint().height());
}

void DataFolderDialog::accept() {
    const QString folder = QDir::fromNativeSeparators(m_folder->text().trimmed());
    m_refusal.clear();
    if (!folder.isEmpty()) {
        m_refusal = varn_data_folder::checkFolder(folder);
        if (!m_refusal.isEmpty()) {
            m_status->setText(QStringLiteral("This folder cannot be used:\n") + m_refusal);
            return;
        }
    }
    varn_data_folder::setChosenFolder(folder.isEmpty() ? QString() : QDir(folder).absolutePath());
    QDialog::accept();
}
