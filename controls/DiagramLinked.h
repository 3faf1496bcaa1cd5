#pragma once
// A property field: an edit box bound to one property of the form's object
// class, with its caption (a Text element marked as linked label). The field
// alone takes part in the form's tab order; its file element is "Property" and
// carries the caption's geometry as well. Field and caption share one title,
// name and style, since the file keeps only one of each for the pair.
//
// The caption is held through a plain pointer while the form owns it. A caption
// the field made itself (by reading or cloning) is owned by the field until the
// form takes it with ReleaseDependent(); a form that removes the caption unlinks
// it with SetDependent(nullptr).
//
// Before writing, a field that stands in a form drops a caption that is not in
// that form (a caption it still owns because the form never took it), so the
// file never carries a caption the designer does not see.
//
// The validation rule is kept in memory form ("||" between alternatives); the
// writer converts a copy to the file form (","), so the properties pane keeps
// showing "||" after a save.

#include "model/DiagramEntity.h"

#include <memory>
#include <string>

namespace fw {

class CDiagramStatic;

class CDiagramLinked : public CDiagramEntity {
public:
    CDiagramLinked();
    ~CDiagramLinked() override;

    // The clone brings a clone of the caption along, owned until a form takes it.
    std::unique_ptr<CDiagramEntity> Clone() const override;
    // A sunken edit box; the tab number on it while the form shows the tab order.
    void DrawObject(DrawContext& dc, const IntRect& rect) override;

    // Title and name carry over to the caption.
    void SetTitle(const std::string& title) override;
    void SetName(const std::string& name) override;

    CDiagramEntity* GetDependent() const override { return m_label; }
    void SetDependent(CDiagramEntity* label) override;
    std::unique_ptr<CDiagramEntity> ReleaseDependent() override;
    // Makes `label` the field's caption, owned by the field until a form takes it.
    void AdoptLabel(std::unique_ptr<CDiagramEntity> label);

    bool IsMandatory() const override { return m_mandatory; }
    void SetMandatory(bool value) override
    {
        m_mandatory = value;
        NoteChange();
    }
    bool IsReadOnly() const override { return m_readOnly; }
    void SetReadOnly(bool value) override
    {
        m_readOnly = value;
        NoteChange();
    }
    bool IsMandatoryDefobj() const override { return m_mandatoryDefobj; }
    void SetMandatoryDefobj(bool value) override
    {
        m_mandatoryDefobj = value;
        NoteChange();
    }
    bool IsMultiline() const override { return m_multiline; }
    void SetMultiline(bool value) override
    {
        m_multiline = value;
        NoteChange();
    }

    void WriteXml() override;
    bool LoadXml() override;
    void AddProperties(PropertyGrid& grid, bool flag) override;

    void SetObjectClass(const std::string& value) override
    {
        m_objectClass = value;
        NoteChange();
    }
    std::string GetObjectClass() const override { return m_objectClass; }
    // The rule in memory form.
    void SetValidationRule(const std::string& value) override
    {
        m_validationRule = value;
        NoteChange();
    }
    std::string GetValidationRule() const override { return m_validationRule; }
    void SetValidationMessage(const std::string& value) override
    {
        m_validationMessage = value;
        NoteChange();
    }
    std::string GetValidationMessage() const override { return m_validationMessage; }

    bool TakesPartInTabOrder() const override { return true; }

    // The caption's "labelSizing" and "labelMoving"; both answer true.
    bool LoadLabelLayout();
    bool WriteLabelLayout();

private:
    // Reads "labelPos" and "labelSize" into a new caption.
    void LoadLabel();
    // Forgets a caption that is not in the form this field stands in.
    void DropLabelOutsideForm();

    CDiagramEntity* m_label = nullptr;
    std::unique_ptr<CDiagramEntity> m_ownedLabel;
    bool m_mandatory = false;
    bool m_readOnly = false;
    bool m_mandatoryDefobj = false;
    bool m_multiline = false;
    std::string m_objectClass;
    std::string m_validationRule;
    std::string m_validationMessage;
};

}  // namespace fw
