#include "app/AppCore.h"

#include "shell/AboutDialog.h"
#include "shell/DataFolderDialog.h"
#include "shell/DocumentManager.h"
#include "shell/MainWindow.h"
#include "shell/PrintWindow.h"
#include "shell/QtPrompt.h"
#include "shell/SplashWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScreen>

StartupOptions ParseCommandLine(const QStringList& arguments) {
    StartupOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--data") && i + 1 < arguments.size())
            options.dataDirectory = arguments[++i];
        else if (argument.startsWith(QLatin1String("--data=")))
            options.dataDirectory = argument.mid(7);
        else
            options.arguments << argument;
    }
    return options;
}

AppCore::AppCore() : AppCore(nullptr) {}

AppCore::AppCore(std::unique_ptr<QtPrompt> prompt)
    : m_prompt(prompt ? std::move(prompt) : std::make_unique<QtPrompt>(m_rules)) {}

AppCore::~AppCore() {
    m_mainFrame.reset();
    m_docManager.reset();
}

bool AppCore::initialize(const StartupOptions& options) {
    // 1. The splash comes up before anything else, so a slow start has something to show.
    if (options.splash) {
        SplashWindow::enableSplashScreen(true);
        SplashWindow::showSplashScreen(nullptr);
        QCoreApplication::processEvents();
    }

    // 3.-4. The document manager and the recent files.
    m_docManager = std::make_unique<DocumentManager>(m_rules, *m_prompt);
    m_docManager->loadRecentFiles();
    // The print window of a character: the Print command opens it on the same document.
    m_docManager->setPrintWindowOpener(&PrintWindow::open);

    // 5.-6. The main window (not shown yet); it takes files dropped on it.
    m_mainFrame = std::make_unique<MainWindow>(*m_docManager);
    QObject::connect(m_mainFrame.get(), &MainWindow::aboutRequested, [this] { about(); });

    // 7.-8. Where the data lies: the command line's folder, the user's choice, the user's
    // own data folder, the shipped set. A chosen folder that has lost its files is not
    // used: the user must still be able to start the program and choose again.
    QString folder = options.dataDirectory;
    if (folder.isEmpty()) {
        const QString chosen = varn_data_folder::chosenFolder();
        if (varn_data_folder::hasDataFiles(chosen))
            folder = chosen;
        else if (!chosen.isEmpty())
            m_prompt->inform(QStringLiteral("The data folder %1 lacks some of its files: the "
                                            "shipped data set is used instead.")
                                 .arg(QDir::toNativeSeparators(chosen)));
        else if (varn_data_folder::hasDataFiles(varn_data_folder::userFolder()))
            folder = varn_data_folder::userFolder();
    }
    m_rules.dataDirectory = folder.isEmpty() ? DataDirectoryFor(ProgramDirectory())
                                             : QFile::encodeName(folder).toStdString();
    if (m_rules.dataDirectory.empty() || m_rules.dataDirectory.back() != '/')
        m_rules.dataDirectory += '/';

    // 9. The seven data files; a missing one has been reported when this fails.
    if (!LoadRulesDatabase(m_rules, m_rules.dataDirectory, *m_prompt)) {
        fail();
        return false;
    }

    // 10. The command line.
    if (!processCommandLine(options.arguments)) {
        m_prompt->inform(QStringLiteral("Unable to process shell command"));
        fail();
        return false;
    }

    // 11. Shown maximised, whatever the caller asked for. Without a window manager to
    // honour that (a bare X server), the window still covers the screen.
    if (QScreen* screen = m_mainFrame->screen())
        m_mainFrame->setGeometry(screen->availableGeometry());
    m_mainFrame->showMaximized();
    m_mainFrame->update();
    m_prompt->setParentWidget(m_mainFrame.get());
    return true;
}

bool AppCore::processCommandLine(const QStringList& arguments) {
    QString file;
    for (const QString& argument : arguments) {
        // Switches are the framework's business (printing from the command line prints
        // nothing); the first plain argument is the character file.
        if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1)
            continue;
        file = argument;
        break;
    }
    if (file.isEmpty())
        return m_docManager->fileNew() != nullptr;
    return m_docManager->openDocumentFile(QFileInfo(file).absoluteFilePath()) != nullptr;
}

void AppCore::fail() {
    SplashWindow::hideSplashScreen();
    m_prompt->setParentWidget(nullptr);
    m_mainFrame.reset();
}

void AppCore::about() {
    AboutDialog dialog(m_mainFrame.get());
    dialog.exec();
}
