// Any bytes as the object-model file, read as the editor reads it (plain and
// extended): reading must not crash, and every type, property and text key it
// lists must be found again by name, with the names the lists are built of.

#include "fuzz/FuzzSetup.h"
#include "model/FormDefinitionDocument.h"
#include "model/PropertyEntries.h"
#include "services/ObjectModel.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

using namespace fw;

namespace {

void Walk(ObjectModel& model, bool extended)
{
    for (int i = 0; i < model.GetObjectTypeCount(); ++i) {
        const std::vector<PropertyObject*>* objects = model.GetObjectTypeClassArray(i);
        if (!objects || objects->empty())
            fuzz::Fail("a listed type has no object", std::to_string(i));
        PropertyObject& object = *objects->front();
        if (model.FindObject(object.GetObjectType()) != &object)
            fuzz::Fail("a type is not found by its name", object.GetObjectType());
        object.GetLocaleObjectType();
        GetLocaleObjectType(object.GetObjectType());
        object.LoadProperties(extended);
        std::set<std::string> names;
        for (int p = 0; p < object.GetPropertyCount(); ++p) {
            const ModelProperty* property = object.GetProperty(p);
            if (!property || !names.insert(property->GetName()).second)
                fuzz::Fail("a property is missing or listed twice", object.GetObjectType());
            if (property->IsInternal() && !extended)
                fuzz::Fail("the plain model offers an internal property", property->GetName());
            if (object.FindProperty(property->GetName()) != property)
                fuzz::Fail("a property is not found by its name", property->GetName());
            property->GetLocaleName();
            GetLocalePropertyName(property->GetName(), object.GetObjectType());
            GetLocalePropertyName(property->GetName());
        }
        if (object.GetProperty(object.GetPropertyCount()) || object.GetProperty(-1))
            fuzz::Fail("a property past the end", object.GetObjectType());
    }
    std::set<std::string> keys;
    std::string key, english, german;
    for (int t = 0; t < model.GetTextKeyCount(); ++t) {
        if (!model.GetTextKey(t, key, english, german) || !keys.insert(key).second)
            fuzz::Fail("a text key is missing or listed twice", key);
        model.GetLocaleText(key);
    }
    if (model.GetTextKey(model.GetTextKeyCount(), key, english, german))
        fuzz::Fail("a text key past the end");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = [] {
        fuzz::PrepareOnce();
        std::string file = fuzz::ScratchFile("model.xml");
        ClassFactory::SetModelFile(file);
        return file;
    }();
    if (!fuzz::WriteBytes(path, data, size))
        fuzz::Fail("cannot write the input file", path);

    // As the editor takes it: the shared model, plain, then extended.
    ClassFactory::FreeObjectModel();
    Walk(*ClassFactory::GetObjectModel(), false);
    Walk(*ClassFactory::GetObjectModelEx(), true);
    // The class list a new form offers names each class so it is found again
    // (";" inside a name cannot be told from the entry's own ";").
    std::vector<std::string> classes;
    FormDefinitionDocument().BuildClassList(classes);
    for (const std::string& entry : classes)
        if (std::count(entry.begin(), entry.end(), ';') == 1 &&
            !ClassFactory::CurrentObjectModel()->FindObject(SplitPropertyEntry(entry).internal))
            fuzz::Fail("a class in the list is not found by its name", entry);
    ClassFactory::FreeObjectModel();
    return 0;
}
