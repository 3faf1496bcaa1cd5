#include "services/ObjectModel.h"

#include "services/Environment.h"
#include "services/Xml.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

using namespace fw;

namespace {

using test::DemoModelPath;

// Every test starts with the demo model file chosen but not loaded, English,
// and no settings file.
class ObjectModelTest : public ::testing::Test {
protected:
    ObjectModelTest()
    {
        m_vars.Unset("FORMWRIGHT_LANGUAGE").Unset("FORMWRIGHT_OBJECT_MODEL");
        m_vars.Set("FORMWRIGHT_CONFIG_FILE", "/nonexistent");
        Environment::instance().reload();
    }

    void setLanguage(const char* language)
    {
        m_vars.Set("FORMWRIGHT_LANGUAGE", language);
        Environment::instance().reload();
    }

    // Makes a model file of `text` the one to read and drops the loaded model.
    void useModel(const std::string& text)
    {
        ClassFactory::SetModelFile(m_dir.Put("model.xml", text));
        ClassFactory::FreeObjectModel();
    }

    test::ScopedEnv m_vars;
    test::ScratchDir m_dir;
    test::DemoModel m_demo;
};

TEST_F(ObjectModelTest, DemoModelLoadsTypesAndPropertiesOnRequest)
{
    ObjectModel* model = ClassFactory::GetObjectModel();
    EXPECT_EQ(model->GetObjectTypeClassArray(0)->front(), model->FindObject("PUMP"));
    EXPECT_EQ(model->FindObject("pump"), nullptr);  // type names are exact

    PropertyObject* pump = model->FindObject("PUMP");
    EXPECT_FALSE(pump->PropertiesLoaded());
    // Any property is found before loading, internal ones too.
    EXPECT_EQ(pump->FindProperty("FLOW_RATE")->GetGermanName(), "Förderstrom (m³/h)");
    EXPECT_TRUE(pump->FindProperty("OBJ_ID")->IsInternal());

    pump->LoadProperties(false);
    ASSERT_EQ(pump->GetPropertyCount(), 16);
    for (int i = 0; i < pump->GetPropertyCount(); ++i)
        EXPECT_FALSE(pump->GetProperty(i)->IsInternal()) << pump->GetProperty(i)->GetName();
    pump->LoadProperties(true);
    ASSERT_EQ(pump->GetPropertyCount(), 19);
    EXPECT_EQ(pump->GetProperty(15)->GetName(), "CREATED_AT");
    pump->LoadProperties(false);  // loading again replaces the list
    EXPECT_EQ(pump->GetPropertyCount(), 16);
}

TEST_F(ObjectModelTest, EachVariantIsItsOwnInstanceAndTheLastTakenIsCurrent)
{
    EXPECT_EQ(GetLocaleObjectType("VALVE"), "Valve");  // with none loaded the plain model is read
    ObjectModel* plain = ClassFactory::CurrentObjectModel();
    EXPECT_FALSE(plain->IsExtended());
    plain->FindObject("VALVE")->LoadProperties(false);
    // Asking for the same variant keeps the instance and what was loaded into it.
    EXPECT_TRUE(ClassFactory::GetObjectModel()->FindObject("VALVE")->PropertiesLoaded());
    ObjectModel* extended = ClassFactory::GetObjectModelEx();
    EXPECT_TRUE(extended->IsExtended());
    EXPECT_FALSE(extended->FindObject("VALVE")->PropertiesLoaded());  // a fresh model
    extended->FindObject("VALVE")->LoadProperties(true);
    EXPECT_EQ(ClassFactory::CurrentObjectModel(), extended);
    // The free functions use the current model rather than loading the plain one.
    EXPECT_EQ(GetLocalePropertyName("_ACL", "VALVE"), "Access control list");
    EXPECT_EQ(ClassFactory::GetObjectModelEx()->FindObject("VALVE")->GetPropertyCount(), 17);
}

TEST_F(ObjectModelTest, PropertyNameLookup)
{
    // The same internal name has a type-specific name in MOTOR.
    EXPECT_EQ(GetLocalePropertyName("POWER_KW", "MOTOR"), "Rated power (kW)");
    EXPECT_EQ(GetLocalePropertyName("POWER_KW", "PUMP"), "Power (kW)");
    // Without a type, or with an unknown one, the text keys and then the first type that has it answer.
    EXPECT_EQ(GetLocalePropertyName("POWER_KW"), "Power (kW)");
    EXPECT_EQ(GetLocalePropertyName("TXT_TECHNICAL_DATA", "NO_SUCH_TYPE"), "Technical data");
    // A known type answers only for its own properties, internal ones included.
    EXPECT_EQ(GetLocalePropertyName("KV_VALUE", "PUMP"), "");
    EXPECT_EQ(GetLocalePropertyName("TXT_GENERAL_DATA", "PUMP"), "");
    EXPECT_EQ(GetLocalePropertyName("OBJ_ID", "DOCUMENT"), "Object ID");
    EXPECT_EQ(GetLocalePropertyName("NO_SUCH_PROPERTY"), "");
    setLanguage("German");  // no reload of the model needed
    EXPECT_EQ(GetLocalePropertyName("OUTER_DIAMETER_MM", "PIPE"), "Außendurchmesser (mm)");
    EXPECT_EQ(GetLocalePropertyName("TXT_COMMERCIAL_DATA"), "Kaufmännische Daten");
    {
        const LocaleChoiceHeld oneRead;  // a form is read in one language throughout
        setLanguage("English");
        EXPECT_EQ(GetLocalePropertyName("TXT_COMMERCIAL_DATA"), "Kaufmännische Daten");
    }
    EXPECT_EQ(GetLocalePropertyName("TXT_COMMERCIAL_DATA"), "Commercial data");
}

TEST_F(ObjectModelTest, UnreadableModelFileGivesAnEmptyModel)
{
    const std::string missing = m_dir.Path() + "/missing.xml";
    for (const std::string& file : {missing, m_dir.Put("broken.xml", "<ObjectModel><Type name=\"PUMP\" en=\"P\">"),
                                    m_dir.Put("wrong-root.xml", "<Forms><Type name=\"PUMP\" en=\"P\"/></Forms>")}) {
        ClassFactory::SetModelFile(file);
        ClassFactory::FreeObjectModel();
        for (bool extended : {false, true}) {
            // Taking the other variant replaces the instance, so take each in turn.
            ObjectModel* model = extended ? ClassFactory::GetObjectModelEx() : ClassFactory::GetObjectModel();
            EXPECT_EQ(model->IsExtended(), extended);
            EXPECT_EQ(model->GetObjectTypeCount() + model->GetTextKeyCount(), 0) << file;
            EXPECT_NE(model->errorText(), "") << file;
            EXPECT_EQ(model->path(), file);
        }
        EXPECT_EQ(GetLocaleObjectType("PUMP"), "") << file;
    }
    // A failed Load empties a model that was loaded before.
    ObjectModel model;
    ASSERT_TRUE(model.Load(DemoModelPath(), true));
    EXPECT_FALSE(model.Load(missing, false));
    EXPECT_FALSE(model.IsExtended());
    EXPECT_EQ(model.GetObjectTypeCount() + model.GetTextKeyCount(), 0);
}

TEST_F(ObjectModelTest, SmallModelWithMalformedEntries)
{
    useModel(R"xml(<ObjectModel>
  <Type en="No name"><Property name="LOST" en="Lost"/></Type>
  <Type name="TANK" en="Tank">
    <Property en="No name"/>
    <Property name="NOTES" en="Remarks" de="Anmerkungen"/>
    <Property name="NOTES" en="Second notes" de="Zweite"/>
    <Property name="SECRET" en="Secret" de="Geheim" internal="true"/>
    <Property name="VOLUME" en="Volume" de="" internal="false"/>
    <Property name="BARE"/>
    <Comment>ignored</Comment>
  </Type>
  <Unknown name="X"/>
  <Type name="TANK" en="Tank, second kind"><Property name="PRESSURE" en="Pressure"/></Type>
  <Texts><Text en="No key"/><Text key="NOTES" en="Notes" de="Notizen"/><Text key="NOTES" en="Again"/></Texts>
  <Texts><Text key="TXT_ONLY_EN" en="English only"/></Texts>
</ObjectModel>)xml");
    ObjectModel* model = ClassFactory::GetObjectModel();
    ASSERT_EQ(model->GetObjectTypeCount(), 1);
    const std::vector<PropertyObject*>* tanks = model->GetObjectTypeClassArray(0);
    ASSERT_EQ(tanks->size(), 2u);
    PropertyObject* tank = tanks->front();
    EXPECT_EQ(model->FindObject("TANK"), tank);
    EXPECT_EQ((*tanks)[1]->GetLocaleObjectType(), "Tank, second kind");
    tank->LoadProperties(true);
    ASSERT_EQ(tank->GetPropertyCount(), 4);
    EXPECT_EQ(tank->GetProperty(0)->GetLocaleName(), "Remarks");
    EXPECT_TRUE(tank->GetProperty(1)->IsInternal());
    EXPECT_FALSE(tank->GetProperty(2)->IsInternal());
    tank->LoadProperties(false);
    EXPECT_EQ(tank->GetPropertyCount(), 3);

    EXPECT_EQ(model->GetTextKeyCount(), 2);
    EXPECT_EQ(GetLocalePropertyName("NOTES"), "Notes");  // text keys come first
    EXPECT_EQ(GetLocalePropertyName("NOTES", "TANK"), "Remarks");
    EXPECT_EQ(GetLocalePropertyName("LOST"), "");
    EXPECT_EQ(GetLocalePropertyName("PRESSURE"), "Pressure");  // found in the second object
    setLanguage("German");                                     // missing German names fall back to English
    EXPECT_EQ(GetLocaleObjectType("TANK"), "Tank");
    EXPECT_EQ(GetLocalePropertyName("VOLUME", "TANK"), "Volume");
    EXPECT_EQ(GetLocalePropertyName("NOTES", "TANK"), "Anmerkungen");
    EXPECT_EQ(GetLocalePropertyName("BARE", "TANK"), "");
    EXPECT_EQ(GetLocalePropertyName("TXT_ONLY_EN"), "English only");
    setLanguage("French");  // any other language reads English
    EXPECT_EQ(GetLocalePropertyName("NOTES", "TANK"), "Remarks");
}

TEST_F(ObjectModelTest, ModelFileComesFromTheEnvironment)
{
    ClassFactory::SetModelFile("");
    m_vars.Set("HOME", m_dir.Path()).Set("FORMWRIGHT_DATA_DIR", std::string(FORMWRIGHT_SOURCE_ROOT) + "/data");
    Environment::instance().reload();
    EXPECT_EQ(ClassFactory::ModelFile(), DemoModelPath());
    ClassFactory::FreeObjectModel();
    EXPECT_EQ(ClassFactory::GetObjectModel()->GetObjectTypeCount(), 10);

    m_vars.Set("FORMWRIGHT_CONFIG_FILE", m_dir.Put("environment.conf", "objectModel = ~/models/plant.xml\n"));
    Environment::instance().reload();
    EXPECT_EQ(ClassFactory::ModelFile(), m_dir.Path() + "/models/plant.xml");
    m_vars.Set("FORMWRIGHT_OBJECT_MODEL", "/srv/models/site.xml");
    EXPECT_EQ(ClassFactory::ModelFile(), "/srv/models/site.xml");
    ClassFactory::SetModelFile("/tmp/override.xml");
    EXPECT_EQ(ClassFactory::ModelFile(), "/tmp/override.xml");
}

// Upper-case internal name with texts in both languages.
bool WellNamed(const std::string& name, const std::string& english, const std::string& german)
{
    static const std::regex internal("[A-Z0-9_-]+");
    return std::regex_match(name, internal) && !english.empty() && !german.empty();
}

// What the editor and the sample forms count on from the shipped demo model.
TEST_F(ObjectModelTest, DemoModelKeepsItsPromises)
{
    ObjectModel model;
    ASSERT_TRUE(model.Load(DemoModelPath(), true)) << model.errorText();
    XmlDocument raw;  // the loader drops duplicates silently; the file itself must have none
    ASSERT_TRUE(raw.read(DemoModelPath()));
    std::set<std::string> types;
    int configTypes = 0;
    for (int i = 0; i < raw.root()->getChildCount(); ++i) {
        const XmlElement* type = raw.root()->getChildAt(i);
        if (type->getElementName() != "Type")
            continue;
        const std::string name(*type->getAttributeValue("name"));
        EXPECT_TRUE(types.insert(name).second) << name;
        PropertyObject* object = model.FindObject(name);
        ASSERT_NE(object, nullptr) << name;
        EXPECT_TRUE(WellNamed(name, object->GetEnglishName(), object->GetGermanName())) << name;
        configTypes += name.find("QTK-CP") != std::string::npos;
        object->LoadProperties(true);
        EXPECT_EQ(object->GetPropertyCount(), type->getChildCount()) << name;
        int internal = 0;
        for (int p = 0; p < object->GetPropertyCount(); ++p) {
            const ModelProperty* property = object->GetProperty(p);
            EXPECT_TRUE(WellNamed(property->GetName(), property->GetEnglishName(), property->GetGermanName()))
                << name << " " << property->GetName();
            internal += property->IsInternal();
        }
        EXPECT_GE(object->GetPropertyCount() - internal, 10) << name;
        EXPECT_GE(internal, 1) << name;
    }
    EXPECT_GE(types.size(), 9u);
    EXPECT_EQ(static_cast<int>(types.size()), model.GetObjectTypeCount());
    EXPECT_EQ(configTypes, 1);

    ASSERT_GE(model.GetTextKeyCount(), 20);
    std::string key, english, german;
    for (int i = 0; i < model.GetTextKeyCount(); ++i) {
        ASSERT_TRUE(model.GetTextKey(i, key, english, german));
        EXPECT_TRUE(WellNamed(key, english, german)) << key;
        // A text key must not hide a property name.
        for (int t = 0; t < model.GetObjectTypeCount(); ++t)
            EXPECT_EQ(model.GetObjectTypeClassArray(t)->front()->FindProperty(key), nullptr) << key;
    }
    EXPECT_FALSE(model.GetTextKey(model.GetTextKeyCount(), key, english, german));
}

}  // namespace
