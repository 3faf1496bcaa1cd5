#pragma once
// Read access to the host application's object model: its object types and
// their properties, with names in the user's language. The model is read from
// a data file (see ObjectModel.cpp for its format); one process-wide instance
// is shared by every open document.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class ModelProperty {
public:
    ModelProperty(std::string name, std::string englishName, std::string germanName, bool internal);

    // The internal property name.
    const std::string& GetName() const { return m_name; }
    // The name in the configured language ("" when the model has none).
    const std::string& GetLocaleName() const;
    // Internal properties are offered only by the extended model.
    bool IsInternal() const { return m_internal; }
    // The names as the model file gives them, whatever the configured language.
    const std::string& GetEnglishName() const { return m_english; }
    const std::string& GetGermanName() const { return m_german; }

private:
    std::string m_name;
    std::string m_english;
    std::string m_german;
    bool m_internal;
};

class PropertyObject {
public:
    PropertyObject(std::string type, std::string englishName, std::string germanName);

    const std::string& GetObjectType() const { return m_type; }
    const std::string& GetLocaleObjectType() const;
    bool PropertiesLoaded() const { return m_loaded; }
    // Makes the properties available; the internal ones too when `extended` is set.
    void LoadProperties(bool extended);
    int GetPropertyCount() const;
    // The loaded properties, in model file order (none before LoadProperties).
    const ModelProperty* GetProperty(int index) const;
    // Any property the type knows, loaded or not, internal ones included.
    const ModelProperty* FindProperty(std::string_view name) const;
    const std::string& GetEnglishName() const { return m_english; }
    const std::string& GetGermanName() const { return m_german; }

    // Used while the model file is read.
    void AddKnownProperty(ModelProperty property) { m_all.push_back(std::move(property)); }

private:
    std::string m_type;
    std::string m_english;
    std::string m_german;
    std::vector<ModelProperty> m_all;
    // Indexes into m_all, so that adding a property cannot leave them dangling.
    std::vector<std::size_t> m_loadedProperties;
    bool m_loaded = false;
};

class ObjectModel {
public:
    int GetObjectTypeCount() const;
    // The objects of type i (the editor uses the first), or none.
    const std::vector<PropertyObject*>* GetObjectTypeClassArray(int index) const;
    // The object of an internal type name, or none.
    PropertyObject* FindObject(std::string_view typeName) const;
    bool IsExtended() const { return m_extended; }
    // Localized text of a text key used by Text elements ("" when unknown).
    std::string GetLocaleText(std::string_view key) const;
    int GetTextKeyCount() const { return static_cast<int>(m_texts.size()); }
    // Text key `index` with its names as the file gives them; false when out of range.
    bool GetTextKey(int index, std::string& key, std::string& english, std::string& german) const;

    // Reads a model file; false (and errorText) when it cannot be used.
    bool Load(const std::string& path, bool extended);
    const std::string& errorText() const { return m_error; }
    const std::string& path() const { return m_path; }

private:
    struct TextKey {
        std::string key;
        std::string english;
        std::string german;
    };

    std::vector<std::unique_ptr<PropertyObject>> m_objects;
    std::vector<std::vector<PropertyObject*>> m_types;
    std::vector<TextKey> m_texts;
    bool m_extended = false;
    std::string m_error;
    std::string m_path;
};

class ClassFactory {
public:
    // The shared model without, or with, the internal properties. Loads the
    // model file on first use (and again after FreeObjectModel or when the
    // other variant is asked for). Never none: a model file that cannot be read
    // gives an empty model.
    static ObjectModel* GetObjectModel();
    static ObjectModel* GetObjectModelEx();
    // Releases the shared model; the next Get loads it again. Callers must not
    // keep the pointer across this call.
    static void FreeObjectModel();
    // The shared model as it is now (whichever variant was taken last); loads
    // the plain one when there is none.
    static ObjectModel* CurrentObjectModel();
    // The model file to read from now on ("" = the one the environment names).
    // Takes effect at the next load (after FreeObjectModel or a variant change).
    static void SetModelFile(const std::string& path);
    static std::string ModelFile();
};

// Decides the language of the localized names once, for as long as it lives:
// reading a form names thousands of elements, and asking the settings each
// time (environment, case folding) cost more than the lookups themselves.
class LocaleChoiceHeld {
public:
    LocaleChoiceHeld();
    ~LocaleChoiceHeld();
    LocaleChoiceHeld(const LocaleChoiceHeld&) = delete;
    LocaleChoiceHeld& operator=(const LocaleChoiceHeld&) = delete;

private:
    int m_before;
};

// Localized names; "" when none is known. Without a type name the property name
// is looked up among the text keys and then among every type's properties.
std::string GetLocaleObjectType(std::string_view typeName);
std::string GetLocalePropertyName(std::string_view propertyName, std::string_view typeName = {});

}  // namespace fw
