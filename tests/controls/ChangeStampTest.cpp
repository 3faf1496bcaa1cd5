// The undo history keeps one copy of an element for as long as its change
// stamp stays the same, so every setter of saved state must give a new one.

#include "controls/DiagramButton.h"
#include "controls/DiagramGraphicShapes.h"
#include "controls/DiagramImage.h"
#include "controls/DiagramLinked.h"
#include "controls/DiagramStatic.h"

#include <gtest/gtest.h>

#include <functional>

using namespace fw;

TEST(ChangeStamp, EverySetterOfSavedStateGivesANewStampAndSelectingDoesNot)
{
    CDiagramLinked field;
    CDiagramButton button;
    CDiagramImage image;
    CDiagramGraphicLine line;
    CDiagramGraphicRectangle rectangle;
    CDiagramStatic label;
    struct Change {
        const char* what;
        const CDiagramEntity* element;
        std::function<void()> apply;
    };
    const Change changes[] = {
        {"rect", &field, [&] { field.SetRect(1, 2, 30, 40); }},
        {"left", &field, [&] { field.SetLeft(3); }},
        {"right", &field, [&] { field.SetRight(50); }},
        {"top", &field, [&] { field.SetTop(4); }},
        {"bottom", &field, [&] { field.SetBottom(60); }},
        {"move", &field, [&] { field.MoveRect(1, 0); }},
        {"title", &field, [&] { field.SetTitle("t"); }},
        {"name", &field, [&] { field.SetName("n"); }},
        {"attribute", &button, [&] { button.SetAttribute("k", "v"); }},
        {"group", &field, [&] { field.SetGroup(7); }},
        {"tab index", &field, [&] { field.SetTabIndex(3); }},
        {"tab step", &field, [&] { field.AddToTabIndex(1); }},
        {"moving", &field, [&] { field.SetMovingX(10); }},
        {"sizing", &field, [&] { field.SetSizingY(20); }},
        {"style", &field, [&] { field.SetStyle(nullptr); }},
        {"mandatory", &field, [&] { field.SetMandatory(true); }},
        {"read only", &field, [&] { field.SetReadOnly(true); }},
        {"multiline", &field, [&] { field.SetMultiline(true); }},
        {"object class", &field, [&] { field.SetObjectClass("c"); }},
        {"rule", &field, [&] { field.SetValidationRule("r"); }},
        {"message", &field, [&] { field.SetValidationMessage("m"); }},
        {"caption", &field, [&] { field.SetDependent(&label); }},
        {"button image", &button, [&] { button.SetImagePath("OK"); }},
        {"picture", &image, [&] { image.SetImagePath("/tmp/x.png"); }},
        {"line colour", &line, [&] { line.SetLineColor("255,0,0"); }},
        {"line width", &line, [&] { line.SetLineWidth(2); }},
        {"quadrant", &line, [&] { line.SetQuadrant(2); }},
        {"fill", &rectangle, [&] { rectangle.SetFillColor("0,0,255"); }},
        {"corners", &rectangle, [&] { rectangle.SetCornerRadius(4); }},
    };
    for (const Change& change : changes) {
        const std::uint64_t before = change.element->GetChangeStamp();
        change.apply();
        EXPECT_NE(change.element->GetChangeStamp(), before) << change.what;
    }
    const std::uint64_t stamp = field.GetChangeStamp();
    field.Select(true);
    field.SetZoom(2);
    EXPECT_EQ(field.GetChangeStamp(), stamp);
}
