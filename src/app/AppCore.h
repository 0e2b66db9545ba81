#pragma once

#include "rules/RulesDatabase.h"

#include <QString>
#include <QStringList>

#include <memory>

class DocumentManager;
class CharacterDocument;
class MainWindow;
class QtPrompt;

// How the program is started.
struct StartupOptions {
    // The command line without the program name (Qt's own options already taken out).
    QStringList arguments;
    // The data directory to read; empty: the one found beside the program.
    QString dataDirectory;
    bool splash = true;
};

// The options of the command line (Qt's own already taken out): "--data DIR" or
// "--data=DIR" chooses the data folder; the rest stays in `arguments`.
StartupOptions ParseCommandLine(const QStringList& arguments);

// Everything the running program owns: the rules database for the whole run, the message
// boxes, the documents and the main window. It lives inside the QApplication (Application)
// but is a class of its own so that start-up can be exercised without a second
// QApplication.
class AppCore {
public:
    AppCore();
    // Tests pass their own message boxes.
    explicit AppCore(std::unique_ptr<QtPrompt> prompt);
    ~AppCore();
    AppCore(const AppCore&) = delete;
    AppCore& operator=(const AppCore&) = delete;

    // Start-up, in order: splash, document type and main window, data directory, the seven
    // data files, the command line, the main window shown maximised. False when the
    // program must end; the main window is gone then.
    bool initialize(const StartupOptions& options);

    const RulesDatabase& rules() const { return m_rules; }
    QtPrompt& prompt() { return *m_prompt; }
    DocumentManager* documentManager() const { return m_docManager.get(); }
    MainWindow* mainWindow() const { return m_mainFrame.get(); }

    // The About command.
    void about();

private:
    // Carries out the command line: a new character, or the file named.
    bool processCommandLine(const QStringList& arguments);
    void fail();

    // Destroyed in reverse: the main window (and with it every view) first, then the
    // documents and their characters, then the rules they point into.
    RulesDatabase m_rules;
    std::unique_ptr<QtPrompt> m_prompt;
    std::unique_ptr<DocumentManager> m_docManager;
    std::unique_ptr<MainWindow> m_mainFrame;
};
