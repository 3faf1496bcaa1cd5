#include "services/ObjectModel.h"

#include "services/Environment.h"
#include "services/Xml.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

namespace fw {
namespace {

namespace fs = std::filesystem;

const char* const Variables[] = {
    "FORMWRIGHT_LANGUAGE", "FORMWRIGHT_OBJECT_MODEL", "FORMWRIGHT_DATA_DIR", "FORMWRIGHT_CONFIG_FILE", "HOME",
};

std::string demoModelPath()
{
    return std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/model/demo-model.xml";
}

// Every test starts with the demo model file chosen but not loaded, English,
// and no settings file; it leaves the environment and the shared model as it
// found them.
class ObjectModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : Variables) {
            const char* value = std::getenv(name);
            m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        unsetenv("FORMWRIGHT_LANGUAGE");
        unsetenv("FORMWRIGHT_OBJECT_MODEL");
        setenv("FORMWRIGHT_CONFIG_FILE", "/nonexistent", 1);
        Environment::instance().reload();
        std::string pattern = (fs::temp_directory_path() / "fw-objmodel-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        ClassFactory::SetModelFile(demoModelPath());
        ClassFactory::FreeObjectModel();
    }

    void TearDown() override
    {
        ClassFactory::FreeObjectModel();
        ClassFactory::SetModelFile("");
        for (const auto& [name, value] : m_saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        Environment::instance().reload();
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    static void setLanguage(const char* language)
    {
        setenv("FORMWRIGHT_LANGUAGE", language, 1);
        Environment::instance().reload();
    }

    std::string writeFile(const std::string& name, const std::string& text)
    {
        std::string path = m_dir + "/" + name;
        std::ofstream(path) << text;
        return path;
    }

    // Makes `path` the model file and drops the loaded model.
    static void useModel(const std::string& path)
    {
        ClassFactory::SetModelFile(path);
        ClassFactory::FreeObjectModel();
    }

    std::string m_dir;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST_F(ObjectModelTest, DemoModelLoads)
{
    ObjectModel* model = ClassFactory::GetObjectModel();
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->path(), demoModelPath());
    EXPECT_EQ(model->errorText(), "");
    EXPECT_EQ(model->GetObjectTypeCount(), 10);
    EXPECT_EQ(model->GetTextKeyCount(), 22);

    const std::vector<PropertyObject*>* first = model->GetObjectTypeClassArray(0);
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->size(), 1u);
    EXPECT_EQ(first->front()->GetObjectType(), "PUMP");
    EXPECT_EQ(model->FindObject("PUMP"), first->front());
    EXPECT_EQ(model->GetObjectTypeClassArray(-1), nullptr);
    EXPECT_EQ(model->GetObjectTypeClassArray(10), nullptr);
    EXPECT_EQ(model->FindObject("NO_SUCH_TYPE"), nullptr);
    EXPECT_EQ(model->FindObject("pump"), nullptr);  // type names are exact
    EXPECT_NE(model->FindObject("QTK-CP-CONFIG"), nullptr);
}

TEST_F(ObjectModelTest, PropertiesAreLoadedOnRequestInFileOrder)
{
    PropertyObject* pump = ClassFactory::GetObjectModel()->FindObject("PUMP");
    ASSERT_NE(pump, nullptr);
    EXPECT_FALSE(pump->PropertiesLoaded());
    EXPECT_EQ(pump->GetPropertyCount(), 0);
    EXPECT_EQ(pump->GetProperty(0), nullptr);

    pump->LoadProperties(false);
    EXPECT_TRUE(pump->PropertiesLoaded());
    ASSERT_EQ(pump->GetPropertyCount(), 16);
    EXPECT_EQ(pump->GetProperty(0)->GetName(), "ARTNO");
    EXPECT_EQ(pump->GetProperty(7)->GetName(), "FLOW_RATE");
    EXPECT_EQ(pump->GetProperty(15)->GetName(), "CREATED_AT");
    EXPECT_EQ(pump->GetProperty(16), nullptr);
    EXPECT_EQ(pump->GetProperty(-1), nullptr);
    for (int i = 0; i < pump->GetPropertyCount(); ++i)
        EXPECT_FALSE(pump->GetProperty(i)->IsInternal()) << pump->GetProperty(i)->GetName();

    pump->LoadProperties(true);
    ASSERT_EQ(pump->GetPropertyCount(), 19);
    EXPECT_EQ(pump->GetProperty(15)->GetName(), "CREATED_AT");
    EXPECT_EQ(pump->GetProperty(16)->GetName(), "OBJ_ID");
    EXPECT_EQ(pump->GetProperty(17)->GetName(), "OWNER_OID");
    EXPECT_EQ(pump->GetProperty(18)->GetName(), "LOCK_STATE");
    EXPECT_TRUE(pump->GetProperty(18)->IsInternal());

    pump->LoadProperties(false);  // loading again replaces the list
    EXPECT_EQ(pump->GetPropertyCount(), 16);
}

TEST_F(ObjectModelTest, FindPropertyKnowsEveryPropertyOfTheType)
{
    PropertyObject* pump = ClassFactory::GetObjectModel()->FindObject("PUMP");
    ASSERT_NE(pump, nullptr);
    const ModelProperty* flow = pump->FindProperty("FLOW_RATE");
    ASSERT_NE(flow, nullptr);
    EXPECT_EQ(flow->GetName(), "FLOW_RATE");
    EXPECT_EQ(flow->GetEnglishName(), "Flow rate (m³/h)");
    EXPECT_EQ(flow->GetGermanName(), "Förderstrom (m³/h)");
    const ModelProperty* id = pump->FindProperty("OBJ_ID");
    ASSERT_NE(id, nullptr);
    EXPECT_TRUE(id->IsInternal());
    EXPECT_EQ(pump->FindProperty("KV_VALUE"), nullptr);  // a valve's
    EXPECT_FALSE(pump->PropertiesLoaded());
}

TEST_F(ObjectModelTest, PlainAndExtendedVariants)
{
    ObjectModel* plain = ClassFactory::GetObjectModel();
    EXPECT_FALSE(plain->IsExtended());
    plain->FindObject("VALVE")->LoadProperties(false);
    // Asking for the same variant keeps the instance and what was loaded into it.
    EXPECT_TRUE(ClassFactory::GetObjectModel()->FindObject("VALVE")->PropertiesLoaded());

    ObjectModel* extended = ClassFactory::GetObjectModelEx();
    EXPECT_TRUE(extended->IsExtended());
    EXPECT_EQ(extended->GetObjectTypeCount(), 10);
    EXPECT_FALSE(extended->FindObject("VALVE")->PropertiesLoaded());  // a fresh model
    extended->FindObject("VALVE")->LoadProperties(extended->IsExtended());
    EXPECT_EQ(extended->FindObject("VALVE")->GetPropertyCount(), 17);
    EXPECT_TRUE(ClassFactory::GetObjectModelEx()->FindObject("VALVE")->PropertiesLoaded());

    ObjectModel* again = ClassFactory::GetObjectModel();
    EXPECT_FALSE(again->IsExtended());
    EXPECT_FALSE(again->FindObject("VALVE")->PropertiesLoaded());
}

TEST_F(ObjectModelTest, NamesFollowTheLanguageSetting)
{
    ObjectModel* model = ClassFactory::GetObjectModel();
    PropertyObject* pump = model->FindObject("PUMP");
    ASSERT_NE(pump, nullptr);
    const ModelProperty* flow = pump->FindProperty("FLOW_RATE");
    ASSERT_NE(flow, nullptr);

    EXPECT_EQ(pump->GetLocaleObjectType(), "Pump");
    EXPECT_EQ(flow->GetLocaleName(), "Flow rate (m³/h)");
    EXPECT_EQ(GetLocaleObjectType("PIPE"), "Pipe");
    EXPECT_EQ(GetLocalePropertyName("OUTER_DIAMETER_MM", "PIPE"), "Outside diameter (mm)");
    EXPECT_EQ(model->GetLocaleText("TXT_DIMENSIONS"), "Dimensions");

    setLanguage("German");  // no reload of the model needed
    EXPECT_EQ(pump->GetLocaleObjectType(), "Pumpe");
    EXPECT_EQ(flow->GetLocaleName(), "Förderstrom (m³/h)");
    EXPECT_EQ(GetLocaleObjectType("PIPE"), "Rohrleitung");
    EXPECT_EQ(GetLocalePropertyName("OUTER_DIAMETER_MM", "PIPE"), "Außendurchmesser (mm)");
    EXPECT_EQ(model->GetLocaleText("TXT_DIMENSIONS"), "Abmessungen");

    setLanguage("French");  // any other language reads English
    EXPECT_EQ(GetLocaleObjectType("PIPE"), "Pipe");
    EXPECT_EQ(GetLocalePropertyName("OUTER_DIAMETER_MM", "PIPE"), "Outside diameter (mm)");
}

TEST_F(ObjectModelTest, GermanFallsBackToEnglishWhenMissing)
{
    useModel(writeFile("partial.xml", R"xml(<ObjectModel>
  <Type name="TANK" en="Tank">
    <Property name="VOLUME" en="Volume" de=""/>
    <Property name="LEVEL" en="Level" de="Füllstand"/>
    <Property name="BARE"/>
  </Type>
  <Texts><Text key="TXT_ONLY_EN" en="English only"/></Texts>
</ObjectModel>)xml"));
    setLanguage("German");
    EXPECT_EQ(GetLocaleObjectType("TANK"), "Tank");
    EXPECT_EQ(GetLocalePropertyName("VOLUME", "TANK"), "Volume");
    EXPECT_EQ(GetLocalePropertyName("LEVEL", "TANK"), "Füllstand");
    EXPECT_EQ(GetLocalePropertyName("BARE", "TANK"), "");  // no name in any language
    EXPECT_EQ(GetLocalePropertyName("TXT_ONLY_EN"), "English only");
}

TEST_F(ObjectModelTest, PropertyNameWithAndWithoutType)
{
    // The same internal name has a type-specific name in MOTOR.
    EXPECT_EQ(GetLocalePropertyName("POWER_KW", "MOTOR"), "Rated power (kW)");
    EXPECT_EQ(GetLocalePropertyName("POWER_KW", "PUMP"), "Power (kW)");
    // Without a type, or with an unknown one, the first type that has it answers.
    EXPECT_EQ(GetLocalePropertyName("POWER_KW"), "Power (kW)");
    EXPECT_EQ(GetLocalePropertyName("POWER_KW", "NO_SUCH_TYPE"), "Power (kW)");
    EXPECT_EQ(GetLocalePropertyName("KV_VALUE"), "Kv value (m³/h)");
    // A known type answers only for its own properties.
    EXPECT_EQ(GetLocalePropertyName("KV_VALUE", "PUMP"), "");
    // Internal properties have names too, loaded or not.
    EXPECT_EQ(GetLocalePropertyName("OBJ_ID", "DOCUMENT"), "Object ID");
    EXPECT_EQ(GetLocalePropertyName("NO_SUCH_PROPERTY"), "");
    EXPECT_EQ(GetLocalePropertyName("NO_SUCH_PROPERTY", "PUMP"), "");
    EXPECT_EQ(GetLocalePropertyName(""), "");
    EXPECT_EQ(GetLocaleObjectType("NO_SUCH_TYPE"), "");
    EXPECT_EQ(GetLocaleObjectType(""), "");
}

TEST_F(ObjectModelTest, TextKeysAnswerWithoutType)
{
    EXPECT_EQ(GetLocalePropertyName("TXT_GENERAL_DATA"), "General data");
    EXPECT_EQ(GetLocalePropertyName("TXT_TECHNICAL_DATA", "NO_SUCH_TYPE"), "Technical data");
    EXPECT_EQ(GetLocalePropertyName("TXT_GENERAL_DATA", "PUMP"), "");  // not a pump property
    EXPECT_EQ(ClassFactory::GetObjectModel()->GetLocaleText("TXT_NO_SUCH_KEY"), "");
    setLanguage("German");
    EXPECT_EQ(GetLocalePropertyName("TXT_GENERAL_DATA"), "Allgemeine Daten");
    EXPECT_EQ(GetLocalePropertyName("TXT_COMMERCIAL_DATA"), "Kaufmännische Daten");
}

TEST_F(ObjectModelTest, TextKeysComeBeforeProperties)
{
    useModel(writeFile("clash.xml", R"xml(<ObjectModel>
  <Type name="TANK" en="Tank" de="Behälter">
    <Property name="NOTES" en="Remarks" de="Anmerkungen"/>
  </Type>
  <Texts><Text key="NOTES" en="Notes" de="Notizen"/></Texts>
</ObjectModel>)xml"));
    EXPECT_EQ(GetLocalePropertyName("NOTES"), "Notes");
    EXPECT_EQ(GetLocalePropertyName("NOTES", "TANK"), "Remarks");
}

TEST_F(ObjectModelTest, FreeFunctionsUseTheCurrentModel)
{
    // With none loaded they load the plain model.
    EXPECT_EQ(GetLocaleObjectType("VALVE"), "Valve");
    ObjectModel* plain = ClassFactory::GetObjectModel();
    plain->FindObject("VALVE")->LoadProperties(false);
    EXPECT_EQ(GetLocalePropertyName("ACTUATOR", "VALVE"), "Actuator");
    EXPECT_TRUE(ClassFactory::GetObjectModel()->FindObject("VALVE")->PropertiesLoaded());

    // With the extended model loaded they use it rather than loading the plain one.
    ClassFactory::GetObjectModelEx()->FindObject("VALVE")->LoadProperties(true);
    EXPECT_EQ(GetLocalePropertyName("_ACL", "VALVE"), "Access control list");
    EXPECT_EQ(GetLocaleObjectType("VALVE"), "Valve");
    ObjectModel* extended = ClassFactory::GetObjectModelEx();
    EXPECT_TRUE(extended->FindObject("VALVE")->PropertiesLoaded());
    EXPECT_EQ(extended->FindObject("VALVE")->GetPropertyCount(), 17);
}

TEST_F(ObjectModelTest, CurrentModelIsTheVariantTakenLast)
{
    ObjectModel* plain = ClassFactory::CurrentObjectModel();  // none yet: the plain one
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(plain->IsExtended());
    plain->FindObject("MOTOR")->LoadProperties(false);
    EXPECT_TRUE(ClassFactory::CurrentObjectModel()->FindObject("MOTOR")->PropertiesLoaded());

    ClassFactory::GetObjectModelEx()->FindObject("MOTOR")->LoadProperties(true);
    ObjectModel* current = ClassFactory::CurrentObjectModel();
    EXPECT_TRUE(current->IsExtended());
    EXPECT_EQ(current->FindObject("MOTOR")->GetPropertyCount(), 17);
}

TEST_F(ObjectModelTest, UnreadableModelFileGivesAnEmptyModel)
{
    const std::string files[] = {
        m_dir + "/missing.xml",
        writeFile("broken.xml", "<ObjectModel><Type name=\"PUMP\" en=\"Pump\">"),
        writeFile("wrong-root.xml", "<Forms><Type name=\"PUMP\" en=\"Pump\"/></Forms>"),
        writeFile("empty.xml", ""),
    };
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        useModel(file);
        for (bool extended : {false, true}) {
            // Taking the other variant replaces the instance, so take each in turn.
            ObjectModel* model = extended ? ClassFactory::GetObjectModelEx() : ClassFactory::GetObjectModel();
            ASSERT_NE(model, nullptr);
            EXPECT_EQ(model->IsExtended(), extended);
            EXPECT_EQ(model->GetObjectTypeCount(), 0);
            EXPECT_EQ(model->GetTextKeyCount(), 0);
            EXPECT_EQ(model->FindObject("PUMP"), nullptr);
            EXPECT_EQ(model->GetObjectTypeClassArray(0), nullptr);
            EXPECT_NE(model->errorText(), "");
            EXPECT_EQ(model->path(), file);
        }
        EXPECT_EQ(GetLocaleObjectType("PUMP"), "");
        EXPECT_EQ(GetLocalePropertyName("ARTNO"), "");
    }
}

TEST_F(ObjectModelTest, LoadAnswersFalseAndEmptiesTheModel)
{
    ObjectModel model;
    ASSERT_TRUE(model.Load(demoModelPath(), true));
    EXPECT_TRUE(model.IsExtended());
    EXPECT_EQ(model.GetObjectTypeCount(), 10);
    EXPECT_FALSE(model.Load(m_dir + "/missing.xml", false));
    EXPECT_FALSE(model.IsExtended());
    EXPECT_EQ(model.GetObjectTypeCount(), 0);
    EXPECT_EQ(model.GetTextKeyCount(), 0);
    EXPECT_NE(model.errorText(), "");
    ASSERT_TRUE(model.Load(demoModelPath(), false));
    EXPECT_EQ(model.errorText(), "");
}

TEST_F(ObjectModelTest, FreeThenGetReadsTheModelFileAgain)
{
    useModel(writeFile("alpha.xml", R"xml(<ObjectModel><Type name="ALPHA" en="Alpha" de="Alpha"/></ObjectModel>)xml"));
    EXPECT_NE(ClassFactory::GetObjectModel()->FindObject("ALPHA"), nullptr);

    // A new file takes effect at the next load, not before.
    ClassFactory::SetModelFile(
        writeFile("beta.xml", R"xml(<ObjectModel><Type name="BETA" en="Beta" de="Beta"/></ObjectModel>)xml"));
    EXPECT_NE(ClassFactory::GetObjectModel()->FindObject("ALPHA"), nullptr);
    EXPECT_EQ(GetLocaleObjectType("BETA"), "");

    ClassFactory::FreeObjectModel();
    ObjectModel* model = ClassFactory::GetObjectModel();
    EXPECT_EQ(model->FindObject("ALPHA"), nullptr);
    EXPECT_NE(model->FindObject("BETA"), nullptr);
    EXPECT_EQ(GetLocaleObjectType("BETA"), "Beta");

    // Switching the variant reads the file as well.
    writeFile("beta.xml", R"xml(<ObjectModel><Type name="GAMMA" en="Gamma" de="Gamma"/></ObjectModel>)xml");
    EXPECT_NE(ClassFactory::GetObjectModelEx()->FindObject("GAMMA"), nullptr);
}

TEST_F(ObjectModelTest, MalformedEntriesAreSkipped)
{
    useModel(writeFile("odd.xml", R"xml(<ObjectModel>
  <Type en="No name"><Property name="LOST" en="Lost"/></Type>
  <Type name="TANK" en="Tank" de="Behälter">
    <Property en="No name"/>
    <Property name="VOLUME" en="Volume" de="Volumen"/>
    <Property name="VOLUME" en="Second volume" de="Zweites Volumen"/>
    <Property name="SECRET" en="Secret" de="Geheim" internal="true"/>
    <Property name="OPEN" en="Open" de="Offen" internal="false"/>
    <Comment>ignored</Comment>
  </Type>
  <Unknown name="X"/>
  <Type name="TANK" en="Tank, second kind" de="Behälter, zweite Art">
    <Property name="PRESSURE" en="Pressure" de="Druck"/>
  </Type>
  <Texts>
    <Text en="No key"/>
    <Text key="TXT_A" en="A" de="A (de)"/>
    <Text key="TXT_A" en="A again" de="A nochmals"/>
  </Texts>
  <Texts><Text key="TXT_B" en="B" de="B (de)"/></Texts>
</ObjectModel>)xml"));
    ObjectModel* model = ClassFactory::GetObjectModel();
    EXPECT_EQ(model->errorText(), "");
    ASSERT_EQ(model->GetObjectTypeCount(), 1);
    const std::vector<PropertyObject*>* tanks = model->GetObjectTypeClassArray(0);
    ASSERT_NE(tanks, nullptr);
    ASSERT_EQ(tanks->size(), 2u);
    PropertyObject* tank = model->FindObject("TANK");
    EXPECT_EQ(tank, tanks->front());
    EXPECT_EQ(tank->GetLocaleObjectType(), "Tank");
    EXPECT_EQ((*tanks)[1]->GetLocaleObjectType(), "Tank, second kind");
    EXPECT_NE((*tanks)[1]->FindProperty("PRESSURE"), nullptr);

    tank->LoadProperties(true);
    ASSERT_EQ(tank->GetPropertyCount(), 3);
    EXPECT_EQ(tank->GetProperty(0)->GetLocaleName(), "Volume");
    EXPECT_EQ(tank->GetProperty(1)->GetName(), "SECRET");
    EXPECT_TRUE(tank->GetProperty(1)->IsInternal());
    EXPECT_FALSE(tank->GetProperty(2)->IsInternal());
    tank->LoadProperties(false);
    EXPECT_EQ(tank->GetPropertyCount(), 2);

    EXPECT_EQ(model->GetTextKeyCount(), 2);
    EXPECT_EQ(model->GetLocaleText("TXT_A"), "A");
    EXPECT_EQ(model->GetLocaleText("TXT_B"), "B");
    EXPECT_EQ(GetLocalePropertyName("LOST"), "");
    EXPECT_EQ(GetLocalePropertyName("PRESSURE"), "Pressure");  // found in the second object
}

TEST_F(ObjectModelTest, ModelFileComesFromTheEnvironment)
{
    ClassFactory::SetModelFile("");
    setenv("HOME", m_dir.c_str(), 1);
    setenv("FORMWRIGHT_DATA_DIR", "/opt/fw-data", 1);
    Environment::instance().reload();
    EXPECT_EQ(ClassFactory::ModelFile(), "/opt/fw-data/model/demo-model.xml");

    setenv("FORMWRIGHT_CONFIG_FILE", writeFile("environment.conf", "objectModel = ~/models/plant.xml\n").c_str(), 1);
    Environment::instance().reload();
    EXPECT_EQ(Environment::instance().objectModelFile(), m_dir + "/models/plant.xml");
    EXPECT_EQ(ClassFactory::ModelFile(), m_dir + "/models/plant.xml");

    setenv("FORMWRIGHT_OBJECT_MODEL", "/srv/models/site.xml", 1);
    EXPECT_EQ(ClassFactory::ModelFile(), "/srv/models/site.xml");

    ClassFactory::SetModelFile("/tmp/override.xml");
    EXPECT_EQ(ClassFactory::ModelFile(), "/tmp/override.xml");
}

TEST_F(ObjectModelTest, ShippedDataFolderHoldsTheDemoModel)
{
    ClassFactory::SetModelFile("");
    setenv("FORMWRIGHT_DATA_DIR", (std::string(FORMWRIGHT_SOURCE_ROOT) + "/data").c_str(), 1);
    Environment::instance().reload();
    ClassFactory::FreeObjectModel();
    EXPECT_EQ(ClassFactory::GetObjectModel()->GetObjectTypeCount(), 10);
    EXPECT_EQ(GetLocaleObjectType("DRAWING"), "Drawing");
}

bool isInternalName(const std::string& name)
{
    if (name.empty())
        return false;
    for (char c : name) {
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'))
            return false;
    }
    return true;
}

// What the editor and the sample forms count on from the shipped demo model.
TEST_F(ObjectModelTest, DemoModelKeepsItsPromises)
{
    ObjectModel model;
    ASSERT_TRUE(model.Load(demoModelPath(), true)) << model.errorText();
    ASSERT_GE(model.GetObjectTypeCount(), 9);

    // The loader drops duplicates silently; the file itself must have none.
    XmlDocument raw;
    ASSERT_TRUE(raw.read(demoModelPath()));
    std::set<std::string> rawTypes;
    for (int i = 0; i < raw.root()->getChildCount(); ++i) {
        const XmlElement* type = raw.root()->getChildAt(i);
        if (type->getElementName() != "Type")
            continue;
        EXPECT_TRUE(rawTypes.insert(*type->getAttributeValue("name")).second) << *type->getAttributeValue("name");
        PropertyObject* object = model.FindObject(*type->getAttributeValue("name"));
        ASSERT_NE(object, nullptr);
        object->LoadProperties(true);
        EXPECT_EQ(object->GetPropertyCount(), type->getChildCount()) << object->GetObjectType();
    }
    EXPECT_EQ(static_cast<int>(rawTypes.size()), model.GetObjectTypeCount());

    int configTypes = 0;
    for (int i = 0; i < model.GetObjectTypeCount(); ++i) {
        const std::vector<PropertyObject*>* objects = model.GetObjectTypeClassArray(i);
        ASSERT_NE(objects, nullptr);
        ASSERT_EQ(objects->size(), 1u);
        PropertyObject* object = objects->front();
        const std::string& type = object->GetObjectType();
        SCOPED_TRACE(type);
        EXPECT_TRUE(isInternalName(type));
        EXPECT_NE(object->GetEnglishName(), "");
        EXPECT_NE(object->GetGermanName(), "");
        if (type.find("QTK-CP") != std::string::npos)
            ++configTypes;

        object->LoadProperties(true);
        int offered = 0;
        int internal = 0;
        for (int p = 0; p < object->GetPropertyCount(); ++p) {
            const ModelProperty* property = object->GetProperty(p);
            SCOPED_TRACE(property->GetName());
            EXPECT_TRUE(isInternalName(property->GetName()));
            EXPECT_NE(property->GetEnglishName(), "");
            EXPECT_NE(property->GetGermanName(), "");
            (property->IsInternal() ? internal : offered)++;
        }
        EXPECT_GE(offered, 10);
        EXPECT_GE(internal, 1);
    }
    EXPECT_EQ(configTypes, 1);

    ASSERT_GE(model.GetTextKeyCount(), 20);
    std::string key, english, german;
    for (int i = 0; i < model.GetTextKeyCount(); ++i) {
        ASSERT_TRUE(model.GetTextKey(i, key, english, german));
        SCOPED_TRACE(key);
        EXPECT_TRUE(isInternalName(key));
        EXPECT_NE(english, "");
        EXPECT_NE(german, "");
        // A text key must not hide a property name.
        for (int t = 0; t < model.GetObjectTypeCount(); ++t)
            EXPECT_EQ(model.GetObjectTypeClassArray(t)->front()->FindProperty(key), nullptr);
    }
    EXPECT_FALSE(model.GetTextKey(model.GetTextKeyCount(), key, english, german));
}

}  // namespace
}  // namespace fw
