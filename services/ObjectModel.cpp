// The object model read from a data file: the one given to
// ClassFactory::SetModelFile, else Environment::objectModelFile()
// (FORMWRIGHT_OBJECT_MODEL, the settings key "objectModel", else
// dataDir()/model/demo-model.xml). The file is UTF-8 XML:
//
//     <ObjectModel>
//       <Type name="PUMP" en="Pump" de="Pumpe">
//         <Property name="ARTNO" en="Article number" de="Artikelnummer"/>
//         <Property name="OBJ_ID" en="Object ID" de="Objekt-ID" internal="true"/>
//       </Type>
//       <Texts>
//         <Text key="TXT_GENERAL_DATA" en="General data" de="Allgemeine Daten"/>
//       </Texts>
//     </ObjectModel>
//
// - The root must be "ObjectModel"; otherwise the file is refused and the model
//   stays empty.
// - "Type": one object type; "name" is the internal type name, "en" and "de"
//   its English and German names. A type name given again adds a further object
//   of that type (GetObjectTypeClassArray lists them; the editor uses the first).
// - "Property": one property of the type, in file order; "internal" is "true"
//   for properties that only the extended model offers (default "false"). A
//   property name given twice in one type keeps its first entry. "yes" and "1"
//   count as "true" as well, in any case.
// - "Texts"/"Text": text keys for Text elements; "key", "en", "de". There may be
//   several "Texts" elements; a key given twice keeps its first entry.
// - Elements without their name (or key) and unknown elements are skipped.
//
// Names follow Environment::language(): German uses "de" and falls back to "en"
// when "de" is missing or empty; every other language uses "en". The language is
// read on each call (once while a LocaleChoiceHeld lives), so a changed setting
// needs no reload of the model.

#include "services/ObjectModel.h"

#include "services/Environment.h"
#include "services/Strings.h"
#include "services/Xml.h"

#include <algorithm>

namespace fw {

namespace {

// Set while a LocaleChoiceHeld lives: 1 German, 0 not, -1 ask the settings.
int g_heldGerman = -1;

bool germanWanted()
{
    if (g_heldGerman >= 0)
        return g_heldGerman == 1;
    return equalsNoCase(Environment::instance().language(), "German");
}

const std::string& localeName(const std::string& english, const std::string& german)
{
    return germanWanted() && !german.empty() ? german : english;
}

std::string attributeOf(const XmlElement& element, std::string_view name)
{
    const auto value = element.getAttributeValue(name);
    return std::string(value.value_or(""));
}

bool isTrue(const std::string& value)
{
    std::string text = trim(value);
    return equalsNoCase(text, "true") || equalsNoCase(text, "yes") || text == "1";
}

// The process-wide model and the file override; the editor runs on one thread.
std::unique_ptr<ObjectModel>& sharedModel()
{
    static std::unique_ptr<ObjectModel> model;
    return model;
}

std::string& modelFileOverride()
{
    static std::string path;
    return path;
}

ObjectModel* sharedModelOf(bool extended)
{
    std::unique_ptr<ObjectModel>& model = sharedModel();
    if (!model || model->IsExtended() != extended) {
        auto loaded = std::make_unique<ObjectModel>();
        loaded->Load(ClassFactory::ModelFile(), extended);  // an unreadable file leaves it empty
        model = std::move(loaded);
    }
    return model.get();
}

}  // namespace

// --- ModelProperty ---------------------------------------------------------

ModelProperty::ModelProperty(std::string name, std::string englishName, std::string germanName, bool internal)
    : m_name(std::move(name)), m_english(std::move(englishName)), m_german(std::move(germanName)), m_internal(internal)
{}

const std::string& ModelProperty::GetLocaleName() const
{
    return localeName(m_english, m_german);
}

// --- PropertyObject --------------------------------------------------------

PropertyObject::PropertyObject(std::string type, std::string englishName, std::string germanName)
    : m_type(std::move(type)), m_english(std::move(englishName)), m_german(std::move(germanName))
{}

const std::string& PropertyObject::GetLocaleObjectType() const
{
    return localeName(m_english, m_german);
}

void PropertyObject::LoadProperties(bool extended)
{
    m_loadedProperties.clear();
    for (std::size_t i = 0; i < m_all.size(); ++i) {
        if (extended || !m_all[i].IsInternal())
            m_loadedProperties.push_back(i);
    }
    m_loaded = true;
}

int PropertyObject::GetPropertyCount() const
{
    return static_cast<int>(m_loadedProperties.size());
}

const ModelProperty* PropertyObject::GetProperty(int index) const
{
    if (index < 0 || index >= GetPropertyCount())
        return nullptr;
    std::size_t at = m_loadedProperties[static_cast<std::size_t>(index)];
    return at < m_all.size() ? &m_all[at] : nullptr;
}

const ModelProperty* PropertyObject::FindProperty(std::string_view name) const
{
    for (const ModelProperty& property : m_all) {
        if (property.GetName() == name)
            return &property;
    }
    return nullptr;
}

// --- ObjectModel -----------------------------------------------------------

int ObjectModel::GetObjectTypeCount() const
{
    return static_cast<int>(m_types.size());
}

const std::vector<PropertyObject*>* ObjectModel::GetObjectTypeClassArray(int index) const
{
    if (index < 0 || index >= GetObjectTypeCount())
        return nullptr;
    return &m_types[static_cast<std::size_t>(index)];
}

PropertyObject* ObjectModel::FindObject(std::string_view typeName) const
{
    for (const auto& objects : m_types) {
        if (!objects.empty() && objects.front()->GetObjectType() == typeName)
            return objects.front();
    }
    return nullptr;
}

std::string ObjectModel::GetLocaleText(std::string_view key) const
{
    for (const TextKey& text : m_texts) {
        if (text.key == key)
            return localeName(text.english, text.german);
    }
    return {};
}

bool ObjectModel::GetTextKey(int index, std::string& key, std::string& english, std::string& german) const
{
    if (index < 0 || index >= GetTextKeyCount())
        return false;
    const TextKey& text = m_texts[static_cast<std::size_t>(index)];
    key = text.key;
    english = text.english;
    german = text.german;
    return true;
}

bool ObjectModel::Load(const std::string& path, bool extended)
{
    m_objects.clear();
    m_types.clear();
    m_texts.clear();
    m_error.clear();
    m_path = path;
    m_extended = extended;

    XmlDocument document;
    if (!document.read(path, ModelFileLimit)) {
        m_error = document.errorText().empty() ? "cannot read " + path : document.errorText();
        return false;
    }
    const XmlElement* root = document.getChild("ObjectModel");
    if (!root) {
        m_error = path + ": the root element is not ObjectModel";
        return false;
    }

    for (int i = 0; i < root->getChildCount(); ++i) {
        const XmlElement* element = root->getChildAt(i);
        if (!element)
            continue;
        if (element->getElementName() == "Type") {
            std::string type = trim(attributeOf(*element, "name"));
            if (type.empty())
                continue;
            auto object =
                std::make_unique<PropertyObject>(type, attributeOf(*element, "en"), attributeOf(*element, "de"));
            for (int p = 0; p < element->getChildCount(); ++p) {
                const XmlElement* child = element->getChildAt(p);
                if (!child || child->getElementName() != "Property")
                    continue;
                std::string name = trim(attributeOf(*child, "name"));
                if (name.empty() || object->FindProperty(name))
                    continue;
                object->AddKnownProperty(ModelProperty(name, attributeOf(*child, "en"), attributeOf(*child, "de"),
                                                       isTrue(attributeOf(*child, "internal"))));
            }
            std::vector<PropertyObject*>* objects = nullptr;
            for (auto& existing : m_types) {
                if (existing.front()->GetObjectType() == type)
                    objects = &existing;
            }
            if (!objects)
                objects = &m_types.emplace_back();
            objects->push_back(object.get());
            m_objects.push_back(std::move(object));
        } else if (element->getElementName() == "Texts") {
            for (int t = 0; t < element->getChildCount(); ++t) {
                const XmlElement* child = element->getChildAt(t);
                if (!child || child->getElementName() != "Text")
                    continue;
                std::string key = trim(attributeOf(*child, "key"));
                if (key.empty())
                    continue;
                bool known =
                    std::any_of(m_texts.begin(), m_texts.end(), [&](const TextKey& text) { return text.key == key; });
                if (!known)
                    m_texts.push_back({key, attributeOf(*child, "en"), attributeOf(*child, "de")});
            }
        }
    }
    return true;
}

// --- ClassFactory ----------------------------------------------------------

ObjectModel* ClassFactory::GetObjectModel()
{
    return sharedModelOf(false);
}

ObjectModel* ClassFactory::GetObjectModelEx()
{
    return sharedModelOf(true);
}

ObjectModel* ClassFactory::CurrentObjectModel()
{
    ObjectModel* model = sharedModel().get();
    return model ? model : GetObjectModel();
}

void ClassFactory::FreeObjectModel()
{
    sharedModel().reset();
}

void ClassFactory::SetModelFile(const std::string& path)
{
    modelFileOverride() = path;
}

std::string ClassFactory::ModelFile()
{
    const std::string& path = modelFileOverride();
    return path.empty() ? Environment::instance().objectModelFile() : path;
}

// --- Free functions --------------------------------------------------------

LocaleChoiceHeld::LocaleChoiceHeld() : m_before(g_heldGerman)
{
    g_heldGerman = germanWanted() ? 1 : 0;
}

LocaleChoiceHeld::~LocaleChoiceHeld()
{
    g_heldGerman = m_before;
}

std::string GetLocaleObjectType(std::string_view typeName)
{
    const PropertyObject* object = ClassFactory::CurrentObjectModel()->FindObject(typeName);
    return object ? object->GetLocaleObjectType() : std::string();
}

std::string GetLocalePropertyName(std::string_view propertyName, std::string_view typeName)
{
    const ObjectModel* model = ClassFactory::CurrentObjectModel();
    if (!typeName.empty()) {
        if (const PropertyObject* object = model->FindObject(typeName)) {
            const ModelProperty* property = object->FindProperty(propertyName);
            return property ? property->GetLocaleName() : std::string();
        }
    }
    std::string text = model->GetLocaleText(propertyName);
    if (!text.empty())
        return text;
    for (int i = 0; i < model->GetObjectTypeCount(); ++i) {
        for (const PropertyObject* object : *model->GetObjectTypeClassArray(i)) {
            if (const ModelProperty* property = object->FindProperty(propertyName))
                return property->GetLocaleName();
        }
    }
    return {};
}

}  // namespace fw
