#include <extensionsystem/InstallLayout.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using ExtensionSystem::dataFile;
using ExtensionSystem::pluginFolder;

namespace {

// A root with bin/ and whatever folders and files a test lays out under it,
// the way a build tree or an unpacked package holds them.
class InstallLayout : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        make("bin");
    }

    void make(const QString& folder)
    {
        ASSERT_TRUE(QDir(root.path()).mkpath(folder)) << folder.toStdString();
    }

    void touch(const QString& file)
    {
        QFile f(path(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << file.toStdString();
    }

    QString path(const QString& relative) const { return root.path() + '/' + relative; }
    QString program() const { return path("bin"); }

    QTemporaryDir root;
};

} // namespace

TEST_F(InstallLayout, BuildTreeFindsPluginsAndDataBesideTheProgram)
{
    make("bin/plugins");
    touch("bin/family.xml");

    EXPECT_EQ(pluginFolder(program()), path("bin/plugins"));
    EXPECT_EQ(dataFile(program(), "family.xml"), path("bin/family.xml"));
}

TEST_F(InstallLayout, InstalledTreeFindsPluginsInLibAndDataInShare)
{
    make("lib/iolink-workbench/plugins");
    make("share/iolink-workbench");
    touch("share/iolink-workbench/family.xml");

    EXPECT_EQ(pluginFolder(program()), path("lib/iolink-workbench/plugins"));
    EXPECT_EQ(dataFile(program(), "family.xml"), path("share/iolink-workbench/family.xml"));
}

TEST_F(InstallLayout, BesideTheProgramWinsOverTheInstalledPlace)
{
    make("bin/plugins");
    make("lib/iolink-workbench/plugins");
    touch("bin/family.xml");
    make("share/iolink-workbench");
    touch("share/iolink-workbench/family.xml");

    EXPECT_EQ(pluginFolder(program()), path("bin/plugins"));
    EXPECT_EQ(dataFile(program(), "family.xml"), path("bin/family.xml"));
}

TEST_F(InstallLayout, EachFileIsLookedUpOnItsOwn)
{
    touch("bin/first.xml");
    make("share/iolink-workbench");
    touch("share/iolink-workbench/second.xml");

    EXPECT_EQ(dataFile(program(), "first.xml"), path("bin/first.xml"));
    EXPECT_EQ(dataFile(program(), "second.xml"), path("share/iolink-workbench/second.xml"));
}

TEST_F(InstallLayout, NothingThereNamesThePlaceBesideTheProgram)
{
    EXPECT_EQ(pluginFolder(program()), path("bin/plugins"));
    EXPECT_EQ(dataFile(program(), "family.xml"), path("bin/family.xml"));
}

TEST_F(InstallLayout, ProgramFolderGivenWithATrailingSlashGivesCleanPaths)
{
    make("lib/iolink-workbench/plugins");

    EXPECT_EQ(pluginFolder(program() + '/'), path("lib/iolink-workbench/plugins"));
}
