// Shared set-up of the document, window and start-up tests: the shipped rules, message
// boxes that record instead of showing, a file prompt that answers from a script, and a
// main window to hold the character windows. Every test of the area drives widgets, so the
// Qt Widgets and Qt Test headers come from here too.
#pragma once

#include "rules/RulesDatabase.h"
#include "shell/CharacterDocument.h"
#include "shell/CharacterView.h"
#include "shell/DocumentManager.h"
#include "shell/MainWindow.h"
#include "shell/QtPrompt.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include <memory>

namespace varn_test {

// Every message box the program would show, in order, as "kind: text".
class RecordingPrompt : public QtPrompt {
public:
    using QtPrompt::QtPrompt;

    void inform(const QString& text) override { shown.append("inform: " + text); }
    bool confirm(const QString& text) override {
        shown.append("confirm: " + text);
        return confirmAnswer;
    }
    const CVARN_Item* SelectReplacementItem(const CVARN_CharEquip&) override {
        shown.append("select item");
        return replacement;
    }
    void warn(const QString& text) override { shown.append("warn: " + text); }
    SaveAnswer askSaveChanges(const QString& title) override {
        shown.append("save?: " + title);
        return saveAnswers.isEmpty() ? SaveAnswer::Cancel : saveAnswers.takeFirst();
    }

    QStringList shown;
    QList<SaveAnswer> saveAnswers; // Cancel once they run out
    bool confirmAnswer = false;
    const CVARN_Item* replacement = nullptr; // what Select Item chooses
};

// The file dialog, answered from a list of paths (an empty entry cancels).
class ScriptedDocumentManager : public DocumentManager {
public:
    using DocumentManager::DocumentManager;

    bool promptFileName(QString& fileName, const QString& title, bool open) override {
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

// Runs a program to its end and gives its exit code (-1 when it does not finish) and its
// output; what it says on its error channel goes to the test's own.
inline int RunProgram(const QString& program, const QStringList& arguments,
                      QString* out = nullptr) {
    QProcess process; // kills the program if it is still running when the test goes on
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    const bool finished =
        process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    if (out != nullptr)
        *out = QString::fromUtf8(process.readAllStandardOutput());
    return finished ? process.exitCode() : -1;
}

// What pdftotext (poppler-utils) reads from a PDF file; each page ends in a form feed.
inline QString PdfText(const QString& path, const QString& mode = QStringLiteral("-raw")) {
    QString text;
    EXPECT_EQ(RunProgram(QStringLiteral("pdftotext"), {mode, path, QStringLiteral("-")}, &text), 0)
        << "pdftotext (poppler-utils) could not read " << path.toStdString();
    return text;
}

// The pixels of an image within a rectangle for which the test holds.
template <class Test> int CountPixels(const QImage& image, const QRect& rect, Test test) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += test(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

// What a list or tree shows, item by item and column by column, joined by "|".
inline QString Rows(QTreeWidget* tree) {
    QStringList texts;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it)
        for (int col = 0; col < tree->columnCount(); ++col)
            texts << (*it)->text(col);
    return texts.join('|');
}

// Runs the deletions that closed windows and documents left for the event loop.
inline void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

inline CharacterView* ViewOf(CharacterDocument* doc, int window = 0) {
    return qobject_cast<CharacterView*>(doc->views().value(window));
}

// A page of a character window, brought to the front as the user would.
template <typename PageType> PageType* PageOf(CharacterDocument* doc, int tab, int window = 0) {
    CharacterView* view = ViewOf(doc, window);
    view->sheet()->SetActivePage(tab);
    return static_cast<PageType*>(view->page(tab));
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
        docs = std::make_unique<ScriptedDocumentManager>(ShippedRules(), *prompt);
        frame = std::make_unique<MainWindow>(*docs);
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
    std::unique_ptr<ScriptedDocumentManager> docs;
    std::unique_ptr<MainWindow> frame;
};

} // namespace varn_test
