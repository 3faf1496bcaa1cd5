#pragma once
// Small element classes for the model tests: a text, and a field that brings
// its caption along as a dependent part, like a property field does.

#include "model/DiagramEntity.h"

#include <memory>
#include <string>

namespace fw {
class CDiagramEntityContainer;
class ElementFactory;
}  // namespace fw

namespace fw::test {

class TestText : public CDiagramEntity {
public:
    TestText();
    std::unique_ptr<CDiagramEntity> Clone() const override;
    bool LoadXml() override;
    void WriteXml() override;
};

class TestField : public CDiagramEntity {
public:
    TestField();
    ~TestField() override;
    std::unique_ptr<CDiagramEntity> Clone() const override;
    bool LoadXml() override;
    void WriteXml() override;

    CDiagramEntity* GetDependent() const override { return m_label; }
    void SetDependent(CDiagramEntity* label) override;
    std::unique_ptr<CDiagramEntity> ReleaseDependent() override;
    bool TakesPartInTabOrder() const override { return true; }
    void SetObjectClass(const std::string& value) override { m_objectClass = value; }
    std::string GetObjectClass() const override { return m_objectClass; }

    // Gives the field a caption it owns until a form takes it.
    TestText* MakeLabel(double left, double top, double right, double bottom);

private:
    CDiagramEntity* m_label = nullptr;
    std::unique_ptr<CDiagramEntity> m_ownedLabel;
    std::string m_objectClass;
};

// "Text" -> TestText, "Property" -> TestField.
void RegisterTestElements(ElementFactory& factory);

// A field with a caption, both at the given place, added to the form.
TestField* AddField(CDiagramEntityContainer& form, const std::string& name, double left, double top, int tabIndex);
TestText* AddText(CDiagramEntityContainer& form, double left, double top, double right, double bottom);

std::string FixturePath(const std::string& name);

}  // namespace fw::test
