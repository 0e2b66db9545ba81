// Installs the build into a scratch prefix and runs the installed programs from there: the
// tree must work wherever it lands, finding its data through the links in bin/.
#include "shell/DocFixture.h"

using namespace varn_test;

TEST(Package, InstallsIntoAnyPrefixAndTheInstalledProgramsFindTheirData) {
    const QString build = QStringLiteral(VARN_BUILD_DIR);
    if (!QFile::exists(QDir(build).filePath("bin/varn")))
        GTEST_SKIP() << "the desktop program has not been built";

    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    // A prefix with a blank in it: nothing on the way may split the path.
    const QString prefix = scratch.filePath("my prefix");
    ASSERT_EQ(RunProgram(VARN_CMAKE_COMMAND, {"--install", build, "--prefix", prefix}), 0);

    const QDir root(prefix);
    for (const char* path :
         {"bin/varn", "bin/varn-tool", "libexec/varn/varn", "libexec/varn/Data/VARN.dat",
          "share/varn/Data/Races.dat", "share/applications/varn.desktop",
          "share/mime/packages/varn.xml", "share/icons/hicolor/128x128/apps/varn.png"}) {
        EXPECT_TRUE(QFileInfo::exists(root.filePath(path))) << path;
    }
    EXPECT_TRUE(QFileInfo(root.filePath("bin/varn")).isExecutable());

    // The menu entry starts this very program and takes character files.
    const QString entry =
        QString::fromUtf8(ReadAll(root.filePath("share/applications/varn.desktop")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=\"%1\" %f").arg(root.filePath("bin/varn"))))
        << entry.toStdString();
    const QString type = QString::fromUtf8(ReadAll(root.filePath("share/mime/packages/varn.xml")));
    EXPECT_TRUE(type.contains("*.vrn"));
    for (const QString& mimeType :
         QRegularExpression("MimeType=([^;\n]+)").match(entry).capturedTexts().mid(1))
        EXPECT_TRUE(type.contains(QStringLiteral("type=\"%1\"").arg(mimeType)));

    // Started through its link in bin/, the installed tool reads the installed data.
    QString out;
    EXPECT_EQ(RunProgram(root.filePath("bin/varn-tool"), {"check"}, &out), 0);
    EXPECT_TRUE(out.startsWith("races=")) << out.toStdString();
}
