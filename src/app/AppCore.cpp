#include "app/AppCore.h"

#include "shell/AboutDlg.h"
#include "shell/DataFolder.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "shell/PrintingSplitFrame.h"
#include "shell/QtPrompt.h"
#include "shell/SplashWnd.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScreen>

CVARN_StartupOptions ParseCommandLine(const QStringList& arguments) {
    CVARN_StartupOptions options;
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

CVARN_AppCore::CVARN_AppCore() : CVARN_AppCore(nullptr) {}

CVARN_AppCore::CVARN_AppCore(std::unique_ptr<CVARN_QtPrompt> prompt)
    : m_prompt(prompt ? std::move(prompt) : std::make_unique<CVARN_QtPrompt>(rules)) {}

CVARN_AppCore::~CVARN_AppCore() {
    m_mainFrame.reset();
    m_docManager.reset();
}

bool CVARN_AppCore::InitInstance(const CVARN_StartupOptions& options) {
    // 1. The splash comes up before anything else, so a slow start has something to show.
    if (options.splash) {
        CVARNWndSplash::EnableSplashScreen(true);
        CVARNWndSplash::ShowSplashScreen(nullptr);
        QCoreApplication::processEvents();
    }

    // 3.-4. The document manager and the recent files.
    m_docManager = std::make_unique<CMyDocManager>(rules, *m_prompt);
    m_docManager->LoadRecentFileList();
    // The print window of a character: the Print command opens it on the same document.
    m_docManager->SetPrintWindowOpener(&CVARN_PrintingSplitFrame::Open);

    // 5.-6. The main window (not shown yet); it takes files dropped on it.
    m_mainFrame = std::make_unique<CVARN_MainFrame>(*m_docManager);
    QObject::connect(m_mainFrame.get(), &CVARN_MainFrame::AboutRequested, [this] { OnAppAbout(); });

    // 7.-8. Where the data lies: the command line's folder, the user's choice, the user's
    // own data folder, the shipped set. A chosen folder that has lost its files is not
    // used: the user must still be able to start the program and choose again.
    QString folder = options.dataDirectory;
    if (folder.isEmpty()) {
        const QString chosen = varn_data_folder::ChosenFolder();
        if (varn_data_folder::HasDataFiles(chosen))
            folder = chosen;
        else if (!chosen.isEmpty())
            m_prompt->Inform(QStringLiteral("The data folder %1 lacks some of its files: the "
                                            "shipped data set is used instead.")
                                 .arg(QDir::toNativeSeparators(chosen)));
        else if (varn_data_folder::HasDataFiles(varn_data_folder::UserFolder()))
            folder = varn_data_folder::UserFolder();
    }
    rules.dataDirectory = folder.isEmpty() ? DataDirectoryFor(ProgramDirectory())
                                           : QFile::encodeName(folder).toStdString();
    if (rules.dataDirectory.empty() || rules.dataDirectory.back() != '/')
        rules.dataDirectory += '/';

    // 9. The seven data files; a missing one has been reported when this fails.
    if (!LoadRulesDatabase(rules, rules.dataDirectory, *m_prompt)) {
        Fail();
        return false;
    }

    // 10. The command line.
    if (!ProcessShellCommand(options.arguments)) {
        m_prompt->Inform(QStringLiteral("Unable to process shell command"));
        Fail();
        return false;
    }

    // 11. Shown maximised, whatever the caller asked for. Without a window manager to
    // honour that (a bare X server), the window still covers the screen.
    if (QScreen* screen = m_mainFrame->screen())
        m_mainFrame->setGeometry(screen->availableGeometry());
    m_mainFrame->showMaximized();
    m_mainFrame->update();
    m_prompt->SetParentWidget(m_mainFrame.get());
    return true;
}

bool CVARN_AppCore::ProcessShellCommand(const QStringList& arguments) {
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
        return m_docManager->OnFileNew() != nullptr;
    return m_docManager->OpenDocumentFile(QFileInfo(file).absoluteFilePath()) != nullptr;
}

void CVARN_AppCore::Fail() {
    CVARNWndSplash::HideSplashScreen();
    m_prompt->SetParentWidget(nullptr);
    m_mainFrame.reset();
}

void CVARN_AppCore::OnAppAbout() {
    CVARN_AboutDlg dialog(m_mainFrame.get());
    dialog.exec();
}
