#pragma once

#include "rules/RulesDatabase.h"

#include <QString>
#include <QStringList>

#include <memory>

class CMyDocManager;
class CVARN_Doc;
class CVARN_MainFrame;
class CVARN_QtPrompt;

// How the program is started.
struct CVARN_StartupOptions {
    // The command line without the program name (Qt's own options already taken out).
    QStringList arguments;
    // The data directory to read; empty: the one found beside the program.
    QString dataDirectory;
    bool splash = true;
};

// The options of the command line (Qt's own already taken out): "--data DIR" or
// "--data=DIR" chooses the data folder; the rest stays in `arguments`.
CVARN_StartupOptions ParseCommandLine(const QStringList& arguments);

// Everything the running program owns: the rules database for the whole run, the message
// boxes, the documents and the main window. It lives inside the QApplication (CVARN_App)
// but is a class of its own so that start-up can be exercised without a second
// QApplication.
class CVARN_AppCore {
public:
    CVARN_AppCore();
    // Tests pass their own message boxes.
    explicit CVARN_AppCore(std::unique_ptr<CVARN_QtPrompt> prompt);
    ~CVARN_AppCore();
    CVARN_AppCore(const CVARN_AppCore&) = delete;
    CVARN_AppCore& operator=(const CVARN_AppCore&) = delete;

    // Start-up, in order: splash, document type and main window, data directory, the seven
    // data files, the command line, the main window shown maximised. False when the
    // program must end; the main window is gone then.
    bool InitInstance(const CVARN_StartupOptions& options);

    const RulesDatabase& Rules() const { return rules; }
    CVARN_QtPrompt& Prompt() { return *m_prompt; }
    CMyDocManager* DocManager() const { return m_docManager.get(); }
    CVARN_MainFrame* MainFrame() const { return m_mainFrame.get(); }

    // The About command.
    void OnAppAbout();

private:
    // Carries out the command line: a new character, or the file named.
    bool ProcessShellCommand(const QStringList& arguments);
    void Fail();

    // Destroyed in reverse: the main window (and with it every view) first, then the
    // documents and their characters, then the rules they point into.
    RulesDatabase rules;
    std::unique_ptr<CVARN_QtPrompt> m_prompt;
    std::unique_ptr<CMyDocManager> m_docManager;
    std::unique_ptr<CVARN_MainFrame> m_mainFrame;
};
