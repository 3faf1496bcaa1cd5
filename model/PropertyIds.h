#pragma once
// The numbers of the properties pane's rows and groups. They tie a row that an
// element adds to the operation that applies its edit, so each has one name.

namespace fw {
namespace PropertyId {

// Groups.
constexpr int PositionGroup = 3900;
constexpr int SizeGroup = 3901;
constexpr int LayoutGroup = 3902;
constexpr int AppearanceGroup = 3903;
constexpr int ValidationGroup = 3904;
constexpr int BehaviourGroup = 3905;

// Element rows.
constexpr int Title = 4000;
constexpr int Name = 4001;
constexpr int Height = 4004;
constexpr int Width = 4005;
constexpr int Top = 4006;
constexpr int Left = 4007;
constexpr int MovingX = 4008;
constexpr int MovingY = 4009;
constexpr int SizingX = 4010;
constexpr int SizingY = 4011;
constexpr int TabOrder = 4012;
constexpr int ButtonKind = 4101;
constexpr int FirstButtonAttribute = 4111;
constexpr int LastButtonAttribute = 4121;
constexpr int FirstTableAttribute = 4131;
constexpr int LastTableAttribute = 4141;
constexpr int TextStyle = 4201;
constexpr int ReadOnly = 4301;
constexpr int Mandatory = 4302;
constexpr int MandatoryDefobj = 4303;
constexpr int ValidationRule = 4304;
constexpr int ValidationMessage = 4305;
constexpr int Multiline = 4306;
constexpr int ImagePath = 4501;
constexpr int FirstImageAttribute = 4502;
constexpr int LineWidth = 4600;
constexpr int LineColor = 4601;
constexpr int FillColor = 4602;
constexpr int CornerRadius = 4603;

// Form rows.
constexpr int FormHeight = 4403;
constexpr int FormWidth = 4404;
constexpr int GridShown = 4405;
constexpr int GridHeight = 4406;
constexpr int GridWidth = 4407;
constexpr int Snap = 4408;
constexpr int MarginShown = 4409;
constexpr int ProgIdType = 4414;
constexpr int Sizeable = 4415;
constexpr int Help = 4416;

}  // namespace PropertyId
}  // namespace fw
