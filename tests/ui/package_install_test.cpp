// Installs the build into a scratch prefix and runs the installed programs from there: the
// tree must work wherever it lands, finding its data through the links in bin/.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The build directory holds the test program in bin/ and its CMakeCache.txt.
QString BuildDirectory() {
    QDir dir(QCoreApplication::applicationDirPath());
    dir.cdUp();
    return QFile::exists(dir.filePath("CMakeCache.txt")) ? dir.absolutePath() : QString();
}

QString CacheValue(const QString& buildDir, const QString& key) {
    QFile cache(QDir(buildDir).filePath("CMakeCache.txt"));
    if (!cache.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    const QRegularExpression line(QStringLiteral("^%1:[A-Z]+=(.*)$").arg(key));
    while (!cache.atEnd()) {
        const auto match = line.match(QString::fromUtf8(cache.readLine()).trimmed());
        if (match.hasMatch())
            return match.captured(1);
    }
    return QString();
}

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ProgramRun RunProgram(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        run.err = QStringLiteral("did not finish: ") + process.errorString();
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

TEST(Package, InstallsIntoAnyPrefixAndTheInstalledProgramsFindTheirData) {
    const QString build = BuildDirectory();
    if (build.isEmpty())
        GTEST_SKIP() << "not run from a build directory";
    const QString cmake = CacheValue(build, "CMAKE_COMMAND");
    ASSERT_FALSE(cmake.isEmpty());
    if (!QFile::exists(QDir(build).filePath("bin/varn")))
        GTEST_SKIP() << "the desktop program has not been built";

    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    // A prefix with a blank in it: nothing on the way may split the path.
    const QString prefix = scratch.filePath("my prefix");
    const ProgramRun install = RunProgram(cmake, {"--install", build, "--prefix", prefix});
    ASSERT_EQ(install.exitCode, 0) << install.out.toStdString() << install.err.toStdString();

    const QDir root(prefix);
    for (const char* path :
         {"bin/varn", "bin/varn-tool", "libexec/varn/varn", "libexec/varn/Data/VARN.dat",
          "share/varn/Data/Races.dat", "share/applications/varn.desktop",
          "share/mime/packages/varn.xml", "share/icons/hicolor/128x128/apps/varn.png"}) {
        EXPECT_TRUE(QFileInfo::exists(root.filePath(path))) << path;
    }
    EXPECT_TRUE(QFileInfo(root.filePath("bin/varn")).isExecutable());

    // The menu entry starts this very program and takes character files.
    QFile desktop(root.filePath("share/applications/varn.desktop"));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString entry = QString::fromUtf8(desktop.readAll());
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=\"%1\" %f").arg(root.filePath("bin/varn"))))
        << entry.toStdString();
    QFile mime(root.filePath("share/mime/packages/varn.xml"));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString type = QString::fromUtf8(mime.readAll());
    EXPECT_TRUE(type.contains("*.vrn"));
    for (const QString& mimeType :
         QRegularExpression("MimeType=([^;\n]+)").match(entry).capturedTexts().mid(1))
        EXPECT_TRUE(type.contains(QStringLiteral("type=\"%1\"").arg(mimeType)));

    // Started through its link in bin/, the installed tool reads the installed data.
    const ProgramRun check = RunProgram(root.filePath("bin/varn-tool"), {"check"});
    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    EXPECT_TRUE(check.out.startsWith("races=")) << check.out.toStdString();
}
