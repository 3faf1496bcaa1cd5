#include "services/Environment.h"

#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace fw;

namespace {

// Every test starts from a clean environment with no settings file and a
// scratch folder as home.
class EnvironmentTest : public ::testing::Test {
protected:
    EnvironmentTest()
    {
        for (const char* name : {"FORMWRIGHT_LANGUAGE", "FORMWRIGHT_HELP_FILE", "FORMWRIGHT_UI_FONT",
                                 "FORMWRIGHT_UI_FONT_SIZE", "FORMWRIGHT_CONFIG_DIR", "FORMWRIGHT_DATA_DIR",
                                 "FORMWRIGHT_ADDINS", "FORMWRIGHT_MY_SETTING", "XDG_CONFIG_HOME"})
            m_vars.Unset(name);
        m_vars.Set("HOME", m_home.Path()).Set("FORMWRIGHT_CONFIG_FILE", "/nonexistent");
        env().reload();
    }

    static Environment& env() { return Environment::instance(); }

    static std::vector<std::string> Addins()
    {
        Collection<std::string> list;
        env().getDllFiles(list);
        std::vector<std::string> paths;
        for (std::string* path : list)
            paths.push_back(*path);
        list.deleteAll();
        return paths;
    }

    test::ScopedEnv m_vars;
    test::ScratchDir m_home;
};

TEST_F(EnvironmentTest, DefaultsAndTheUserConfigFolder)
{
    EXPECT_EQ(env().language(), "English");
    EXPECT_EQ(env().getUiFont(), "Sans");
    EXPECT_EQ(env().getUiFontSize(), 9);
    EXPECT_EQ(env().globalCfgPath(), m_home.Path() + "/.config/formwright");
    EXPECT_TRUE(std::filesystem::exists(env().languageDir() + "/English.lang")) << env().dataDir();
    EXPECT_EQ(env().helpFile(""), env().dataDir() + "/help/formwright.hhp");
    EXPECT_TRUE(Addins().empty());
    std::string value;
    EXPECT_FALSE(env().getVariable("language", value));

    m_vars.Set("XDG_CONFIG_HOME", m_home.Path() + "/xdg");
    EXPECT_EQ(env().globalCfgPath(), m_home.Path() + "/xdg/formwright");
    m_vars.Set("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_EQ(env().globalCfgPath(), m_home.Path() + "/.config/formwright");

    // The settings file lives in that folder unless one is named.
    m_home.Put("xdg/formwright/environment.conf", "language = German\n");
    m_home.Put(".config/formwright/environment.conf", "language = FromHome\n");
    m_vars.Unset("FORMWRIGHT_CONFIG_FILE");
    env().reload();
    EXPECT_EQ(env().language(), "FromHome");
    m_vars.Set("XDG_CONFIG_HOME", m_home.Path() + "/xdg");
    env().reload();
    EXPECT_EQ(env().language(), "German");
}

TEST_F(EnvironmentTest, SettingsFileIsParsedAndVariablesOverrideIt)
{
    m_vars.Set("FORMWRIGHT_CONFIG_FILE", m_home.Put("settings.conf", "# a comment\n\n"
                                                                     "language = German\n"
                                                                     "  uiFont=Noto Sans  \n"
                                                                     "uiFontSize = 12\n"
                                                                     "this line has no equals sign\n"
                                                                     "mySetting = a = b\n"
                                                                     "configDir = ~/forms\n"
                                                                     "helpFile = /file/book.hhp\n"
                                                                     "addins = /opt/one.so:/opt/two.so\n"
                                                                     "#language = Klingon\n"));
    EXPECT_EQ(env().language(), "English");  // not read before reload()
    env().reload();
    EXPECT_EQ(env().language(), "German");
    EXPECT_EQ(env().getUiFont(), "Noto Sans");
    EXPECT_EQ(env().getUiFontSize(), 12);
    EXPECT_EQ(env().globalCfgPath(), m_home.Path() + "/forms");
    EXPECT_EQ(env().helpFile("controls.hhp"), "/file/controls.hhp");  // beside the book
    EXPECT_EQ(env().helpFile("/elsewhere/x.hhp"), "/elsewhere/x.hhp");
    std::string value;
    ASSERT_TRUE(env().getVariable("mySetting", value));
    EXPECT_EQ(value, "a = b");
    EXPECT_FALSE(env().getVariable("mysetting", value));  // file keys are case-sensitive
    EXPECT_EQ(Addins(), (std::vector<std::string>{"/opt/one.so", "/opt/two.so"}));

    m_vars.Set("FORMWRIGHT_LANGUAGE", "English").Set("FORMWRIGHT_HELP_FILE", "/env/help/book.hhp");
    m_vars.Set("FORMWRIGHT_MY_SETTING", "from env").Set("FORMWRIGHT_UI_FONT", "DejaVu Sans");
    m_vars.Set("FORMWRIGHT_UI_FONT_SIZE", " 11pt").Set("FORMWRIGHT_CONFIG_DIR", "/env/config");
    m_vars.Set("FORMWRIGHT_DATA_DIR", "/env/data").Set("FORMWRIGHT_ADDINS", "/a/one.so::/b/two.so:");
    EXPECT_EQ(env().language(), "English");
    EXPECT_EQ(env().helpFile(""), "/env/help/book.hhp");
    EXPECT_EQ(env().getUiFont(), "DejaVu Sans");
    EXPECT_EQ(env().getUiFontSize(), 11);
    EXPECT_EQ(env().globalCfgPath(), "/env/config");
    EXPECT_EQ(env().languageDir(), "/env/data/lang");
    EXPECT_EQ(Addins(), (std::vector<std::string>{"/a/one.so", "/b/two.so"}));
    ASSERT_TRUE(env().getVariable("MY_SETTING", value));
    EXPECT_EQ(value, "from env");
    ASSERT_TRUE(env().getVariable("mySetting", value));
    EXPECT_EQ(value, "from env");

    m_vars.Set("FORMWRIGHT_LANGUAGE", "");  // an empty variable counts as unset
    EXPECT_EQ(env().language(), "German");
    for (const char* size : {"abc", "0", "-4"}) {  // unusable: the default, not the file's
        m_vars.Set("FORMWRIGHT_UI_FONT_SIZE", size);
        EXPECT_EQ(env().getUiFontSize(), 9) << size;
    }
    m_vars.Set("FORMWRIGHT_UI_FONT_SIZE", "");
    EXPECT_EQ(env().getUiFontSize(), 12);
}

// Without FORMWRIGHT_DATA_DIR, an installed program finds the data of its own
// prefix first, wherever that tree was staged or moved; the build tree's and
// the configured prefix's folders only come after, in that order.
TEST_F(EnvironmentTest, DataFolderBesideTheProgramComesBeforeTheFallbacks)
{
    const std::string root = m_home.Path();
    const std::string source = root + "/src/data";
    const std::string configured = root + "/usr/share/formwright";
    m_home.Put("moved/share/formwright/lang/English.lang", "");
    m_home.Put("src/data/lang/English.lang", "");
    m_home.Put("usr/share/formwright/lang/English.lang", "");

    EXPECT_EQ(locateDataDir(root + "/moved/bin/formwright", source, configured), root + "/moved/share/formwright");
    EXPECT_EQ(locateDataDir(root + "/build/tools/formwright-tool", source, configured), source);
    EXPECT_EQ(locateDataDir(root + "/build/tools/formwright-tool", root + "/gone", configured), configured);
    EXPECT_EQ(locateDataDir("", "", root + "/also-gone"), root + "/also-gone");
}

}  // namespace
