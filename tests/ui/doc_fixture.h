// Shared set-up of the document, window and start-up tests: the shipped rules, message
// boxes that record instead of showing, a file prompt that answers from a script, and a
// main window to hold the character windows. Nearly every test here also drives the
// window's actions, its MDI area and files on disk, so those headers come from here too.
#pragma once

#include "rules/RulesDatabase.h"
#include "ui/Doc.h"
#include "ui/DocManager.h"
#include "ui/MainFrame.h"
#include "ui/MultiDocTemplate.h"
#include "ui/QtPrompt.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace varn_test {

// Every message box the program would show, in order, as "kind: text".
class RecordingPrompt : public CVARN_QtPrompt {
public:
    using CVARN_QtPrompt::CVARN_QtPrompt;

    void Inform(const QString& text) override { shown.append("inform: " + text); }
    bool Confirm(const QString& text) override {
        shown.append("confirm: " + text);
        return false;
    }
    void Warn(const QString& text) override { shown.append("warn: " + text); }
    SaveAnswer AskSaveChanges(const QString& title) override {
        shown.append("save?: " + title);
        return saveAnswers.isEmpty() ? SaveAnswer::Cancel : saveAnswers.takeFirst();
    }

    QStringList shown;
    QList<SaveAnswer> saveAnswers; // Cancel once they run out
};

// The file dialog, answered from a list of paths (an empty entry cancels).
class ScriptedDocManager : public CMyDocManager {
public:
    using CMyDocManager::CMyDocManager;

    bool PromptFileName(QString& fileName, const QString& title, bool open,
                        CMyMultiDocTemplate*) override {
        prompts.append(QStringLiteral("%1|%2|%3").arg(title, open ? "open" : "save", fileName));
        const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
        if (!answer.isEmpty())
            fileName = answer;
        return !answer.isEmpty();
    }

    QStringList answers;
    QStringList prompts; // "title|open or save|proposed name"
};

// The shipped data set, read once for the whole test program.
inline RulesDatabase& ShippedRules() {
    static RulesDatabase* rules = [] {
        auto* db = new RulesDatabase;
        CVARN_SilentPrompt silent;
        db->dataDirectory = VARN_SHIPPED_DATA_DIR;
        if (!LoadRulesDatabase(*db, db->dataDirectory, silent))
            ADD_FAILURE() << "the shipped data set does not load";
        return db;
    }();
    return *rules;
}

// The example character that fills every page.
inline const QString kVeteran = QStringLiteral(VARN_SHIPPED_DATA_DIR "../examples/veteran.vrn");

inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What pdftotext (poppler-utils) reads from a PDF file; each page ends in a form feed.
inline QString PdfText(const QString& path, const QString& mode = QStringLiteral("-raw")) {
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {mode, path, QStringLiteral("-")});
    const bool ran = tool.waitForFinished(30000) && tool.exitCode() == 0;
    EXPECT_TRUE(ran) << "pdftotext (poppler-utils) could not read " << path.toStdString();
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// Runs the deletions that closed windows and documents left for the event loop.
inline void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Recent-file lists go to a scratch settings file, never to the user's.
inline void UseScratchSettings(const QString& dir) {
    QCoreApplication::setOrganizationName(QStringLiteral("VARN-tests"));
    QCoreApplication::setApplicationName(QStringLiteral("VARN-tests"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir);
    QSettings().clear();
}

class DocFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        UseScratchSettings(scratch.filePath("settings"));
        prompt = std::make_unique<RecordingPrompt>(ShippedRules());
        docs = std::make_unique<ScriptedDocManager>(ShippedRules(), *prompt);
        docs->AddDocTemplate(std::make_unique<CMyMultiDocTemplate>(*docs));
        frame = std::make_unique<CVARN_MainFrame>(*docs);
        frame->resize(1400, 1000);
        frame->show();
    }

    void TearDown() override {
        // Windows before documents, documents before the rules they point into.
        frame.reset();
        FlushDeletes();
        docs.reset();
        prompt.reset();
    }

    QString Scratch(const QString& name) const { return scratch.filePath(name); }

    QTemporaryDir scratch;
    std::unique_ptr<RecordingPrompt> prompt;
    std::unique_ptr<ScriptedDocManager> docs;
    std::unique_ptr<CVARN_MainFrame> frame;
};

} // namespace varn_test
