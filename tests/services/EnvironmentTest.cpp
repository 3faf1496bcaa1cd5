#include "services/Environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace fw {
namespace {

namespace fs = std::filesystem;

const char* const Variables[] = {
    "FORMWRIGHT_LANGUAGE",
    "FORMWRIGHT_HELP_FILE",
    "FORMWRIGHT_UI_FONT",
    "FORMWRIGHT_UI_FONT_SIZE",
    "FORMWRIGHT_CONFIG_DIR",
    "FORMWRIGHT_DATA_DIR",
    "FORMWRIGHT_ADDINS",
    "FORMWRIGHT_CONFIG_FILE",
    "FORMWRIGHT_MY_SETTING",
    "XDG_CONFIG_HOME",
    "HOME",
};

// Every test starts from a clean process environment with no settings file and
// leaves the variables and the shared Environment as it found them.
class EnvironmentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : Variables) {
            const char* value = std::getenv(name);
            m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
        std::string pattern = (fs::temp_directory_path() / "fw-env-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        setenv("HOME", m_dir.c_str(), 1);
        setenv("FORMWRIGHT_CONFIG_FILE", "/nonexistent", 1);
        env().reload();
    }

    void TearDown() override
    {
        for (const auto& [name, value] : m_saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        env().reload();
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    static Environment& env() { return Environment::instance(); }

    std::string writeSettings(const std::string& relativePath, const std::string& text)
    {
        fs::path path = fs::path(m_dir) / relativePath;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
        return path.string();
    }

    std::string m_dir;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST_F(EnvironmentTest, DefaultsWithoutAnySetting)
{
    EXPECT_EQ(env().language(), "English");
    EXPECT_EQ(env().getUiFont(), "Sans");
    EXPECT_EQ(env().getUiFontSize(), 9);
    EXPECT_EQ(env().globalCfgPath(), m_dir + "/.config/formwright");
    EXPECT_EQ(env().languageDir(), env().dataDir() + "/lang");
    EXPECT_EQ(env().helpFile(""), env().dataDir() + "/help/formwright.hhp");
    Collection<std::string> addins;
    env().getDllFiles(addins);
    EXPECT_EQ(addins.count(), 0u);
    std::string value = "untouched";
    EXPECT_FALSE(env().getVariable("language", value));
    EXPECT_EQ(value, "untouched");
}

TEST_F(EnvironmentTest, DefaultDataFolderHoldsTheLanguageFiles)
{
    EXPECT_TRUE(fs::exists(env().languageDir() + "/English.lang")) << env().dataDir();
}

TEST_F(EnvironmentTest, ConfigFolderFollowsXdgConfigHome)
{
    setenv("XDG_CONFIG_HOME", (m_dir + "/xdg").c_str(), 1);
    EXPECT_EQ(env().globalCfgPath(), m_dir + "/xdg/formwright");
    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    EXPECT_EQ(env().globalCfgPath(), m_dir + "/.config/formwright");
}

TEST_F(EnvironmentTest, SettingsFileIsReadAndParsed)
{
    std::string file = writeSettings("settings.conf", "# a comment\n"
                                                      "\n"
                                                      "language = German\n"
                                                      "  uiFont=Noto Sans  \n"
                                                      "uiFontSize = 12\n"
                                                      "this line has no equals sign\n"
                                                      "mySetting = a = b\n"
                                                      "configDir = ~/forms\n"
                                                      "addins = /opt/one.so:/opt/two.so\n"
                                                      "#language = Klingon\n");
    setenv("FORMWRIGHT_CONFIG_FILE", file.c_str(), 1);
    EXPECT_EQ(env().language(), "English");  // not read before reload()
    env().reload();

    EXPECT_EQ(env().language(), "German");
    EXPECT_EQ(env().getUiFont(), "Noto Sans");
    EXPECT_EQ(env().getUiFontSize(), 12);
    EXPECT_EQ(env().globalCfgPath(), m_dir + "/forms");
    std::string value;
    ASSERT_TRUE(env().getVariable("mySetting", value));
    EXPECT_EQ(value, "a = b");
    EXPECT_FALSE(env().getVariable("mysetting", value));  // file keys are case-sensitive

    Collection<std::string> addins;
    env().getDllFiles(addins);
    ASSERT_EQ(addins.count(), 2u);
    EXPECT_EQ(*addins.at(0), "/opt/one.so");
    EXPECT_EQ(*addins.at(1), "/opt/two.so");
    addins.deleteAll();
}

TEST_F(EnvironmentTest, DefaultSettingsFileLivesInTheUserConfigFolder)
{
    writeSettings("xdg/formwright/environment.conf", "language = German\n");
    writeSettings(".config/formwright/environment.conf", "language = FromHome\n");
    unsetenv("FORMWRIGHT_CONFIG_FILE");
    env().reload();
    EXPECT_EQ(env().language(), "FromHome");
    setenv("XDG_CONFIG_HOME", (m_dir + "/xdg").c_str(), 1);
    env().reload();
    EXPECT_EQ(env().language(), "German");
}

TEST_F(EnvironmentTest, VariablesOverrideTheFile)
{
    std::string file = writeSettings("settings.conf", "language = German\nhelpFile = /file/book.hhp\n"
                                                      "mySetting = from file\n");
    setenv("FORMWRIGHT_CONFIG_FILE", file.c_str(), 1);
    env().reload();

    setenv("FORMWRIGHT_LANGUAGE", "English", 1);
    setenv("FORMWRIGHT_HELP_FILE", "/env/help/book.hhp", 1);
    setenv("FORMWRIGHT_MY_SETTING", "from env", 1);
    setenv("FORMWRIGHT_UI_FONT", "DejaVu Sans", 1);
    setenv("FORMWRIGHT_UI_FONT_SIZE", " 11pt", 1);
    setenv("FORMWRIGHT_CONFIG_DIR", "/env/config", 1);
    setenv("FORMWRIGHT_DATA_DIR", "/env/data", 1);
    EXPECT_EQ(env().language(), "English");
    EXPECT_EQ(env().helpFile(""), "/env/help/book.hhp");
    EXPECT_EQ(env().getUiFont(), "DejaVu Sans");
    EXPECT_EQ(env().getUiFontSize(), 11);
    EXPECT_EQ(env().globalCfgPath(), "/env/config");
    EXPECT_EQ(env().languageDir(), "/env/data/lang");
    std::string value;
    ASSERT_TRUE(env().getVariable("mySetting", value));
    EXPECT_EQ(value, "from env");
    ASSERT_TRUE(env().getVariable("MY_SETTING", value));
    EXPECT_EQ(value, "from env");

    // An empty variable counts as unset.
    setenv("FORMWRIGHT_LANGUAGE", "", 1);
    EXPECT_EQ(env().language(), "German");
}

TEST_F(EnvironmentTest, UnusableFontSizeFallsBackToTheDefault)
{
    for (const char* text : {"abc", "0", "-4", ""}) {
        setenv("FORMWRIGHT_UI_FONT_SIZE", text, 1);
        EXPECT_EQ(env().getUiFontSize(), 9) << text;
    }
}

TEST_F(EnvironmentTest, NamedHelpFilesSitBesideTheBook)
{
    setenv("FORMWRIGHT_HELP_FILE", "/opt/help/formwright.hhp", 1);
    EXPECT_EQ(env().helpFile("controls.hhp"), "/opt/help/controls.hhp");
    EXPECT_EQ(env().helpFile("/elsewhere/x.hhp"), "/elsewhere/x.hhp");
}

TEST_F(EnvironmentTest, AddinsFromTheEnvironmentSkipEmptyEntries)
{
    setenv("FORMWRIGHT_ADDINS", "/a/one.so::/b/two.so:", 1);
    Collection<std::string> addins;
    env().getDllFiles(addins);
    ASSERT_EQ(addins.count(), 2u);
    EXPECT_EQ(*addins.at(0), "/a/one.so");
    EXPECT_EQ(*addins.at(1), "/b/two.so");
    addins.deleteAll();
}

}  // namespace
}  // namespace fw
