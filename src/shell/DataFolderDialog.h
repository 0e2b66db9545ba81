#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QLineEdit;
class QPushButton;

// Where the program reads its data set, in this order: the folder given on the command line
// (--data DIR), the folder the user chose (Data Folder... in the File menu, kept in the
// user's settings), the "Data" folder in the user's own application data folder, and last
// the data set shipped beside the program.
namespace varn_data_folder {

// The folder chosen in the user's settings; empty when none was chosen.
QString chosenFolder();
void setChosenFolder(const QString& folder);
// The "Data" folder under the user's application data folder (it may not exist).
QString userFolder();
// True when `folder` holds all seven data files.
bool hasDataFiles(const QString& folder);
// Loads the data set of `folder` on its own, as start-up would; empty when it loads,
// else what start-up would say about it.
QString checkFolder(const QString& folder);

} // namespace varn_data_folder

// Data Folder: the user's choice of data set, checked by loading it before it is kept. The
// running program keeps the data set it started with; the choice counts from the next start.
class DataFolderDialog : public QDialog {
    Q_OBJECT
public:
    // `current` is the folder the running program read.
    explicit DataFolderDialog(const QString& current, QWidget* parent = nullptr);

    QLineEdit* folderEdit() const { return m_folder; }
    // Why the last OK was refused; empty when it was not.
    const QString& refusal() const { return m_refusal; }

    void accept() override;

private:
    QLineEdit* m_folder;
    QLabel* m_status;
    QString m_refusal;
};
