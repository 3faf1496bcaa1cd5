#include "controls/DiagramImage.h"

#include "controls/AttributeItems.h"
#include "controls/ControlDrawing.h"
#include "model/ActiveDocument.h"
#include "model/PropertyGrid.h"
#include "services/LanguageTable.h"
#include "services/Strings.h"
#include "services/Xml.h"

#include <filesystem>

namespace fw {

namespace {

constexpr int AppearanceGroupId = 3903;
constexpr int PathItemId = 4501;
constexpr int FirstAttributeItemId = 4502;

const char* const TransparentColorKey = "transColor";

bool IsFile(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

}  // namespace

const char* const CDiagramImage::FileFilter =
    "(*.bmp)|*.bmp|(*.ico)|*.ico|(*.jpg)|*.jpg|(*.png)|*.png|(*.gif)|*.gif|(*.tif)|*.tif||";
const char* const CDiagramImage::DefaultExtension = "bmp";

CDiagramImage::CDiagramImage() : m_picture(std::make_unique<CPictureCtrl>())
{
    SetTitle("Image");
    SetType("Image");
    SetName("Image");
    SetMinimumSize({1, 1});
}

CDiagramImage::~CDiagramImage() = default;

std::unique_ptr<CDiagramEntity> CDiagramImage::Clone() const
{
    auto clone = std::make_unique<CDiagramImage>();
    clone->m_imagePath = m_imagePath;
    clone->m_reloadPending = m_reloadPending;
    // The copy shows its picture at once. Undo snapshots clone every element,
    // so the file is read once, here or when drawn, and the bytes are shared.
    if (clone->m_picture && m_picture) {
        LoadPendingPicture();
        clone->m_picture->Share(*m_picture);
        clone->m_reloadPending = false;
    }
    clone->Copy(*this);
    return clone;
}

void CDiagramImage::DrawObject(DrawContext& dc, const IntRect& rect)
{
    DrawEtchedFrame(dc, rect);
    if (LoadPendingPicture())
        dc.DrawImageData(m_picture->GetData(), Inset(rect, 1, 1));
}

void CDiagramImage::WriteXml()
{
    if (!m_xmlWriter)
        return;
    XmlWriter& w = *m_xmlWriter;
    w.writeStartElement("Image");
    IntRect rect = GetRect();
    w.writeAttributeString("pos", format("%i,%i", rect.left, rect.top));
    w.writeAttributeString("size", format("%i,%i", TruncEdge(m_right - m_left), TruncEdge(m_bottom - m_top)));
    for (const auto& [key, value] : GetAttributes())
        if (key == TransparentColorKey && !value.empty())
            w.writeAttributeString(key, value);
    WriteDynamicLayout();
    // Only the name: the picture travels with the form file, not at a fixed place.
    w.writeString(FileNameOf(m_imagePath));
    w.writeEndElement();
}

bool CDiagramImage::LoadXml()
{
    if (!m_xmlElement || !LoadGeometry())
        return false;
    const std::string& content = m_xmlElement->getElementValue();
    // Only the name part is written back; a path ending in a separator names
    // no picture.
    if (FileNameOf(content).empty()) {
        NoteLoadProblem("the picture file name is missing");
        return false;
    }
    SetImagePath(content);
    const std::string* color = m_xmlElement->getAttributeValue(TransparentColorKey);
    SetAttribute(TransparentColorKey, color ? *color : std::string());
    return LoadDynamicLayout();
}

void CDiagramImage::AddProperties(PropertyGrid& grid, bool flag)
{
    PropertyItem& group = grid.EnsureGroup(AppearanceGroupId, "PROP_GRP_APPEARANCE");
    auto path = grid.Merge(group, PathItemId, "T_PROP_IMG_PATH", "H_PROP_IMG_PATH", m_imagePath, MixedMark::EmptyText);
    if (path.created) {
        path.item->SetEditor(PropertyEditor::FileChooser);
        path.item->SetFileFilter(FileFilter);
    }
    int id = FirstAttributeItemId;
    for (const auto& [key, value] : GetAttributes())
        MergeAttributeItem(grid, group, id++, key, langStr(key), value);
    CDiagramEntity::AddProperties(grid, flag);
}

void CDiagramImage::SetImagePath(const std::string& path)
{
    if (IsFile(path)) {
        m_imagePath = path;
    } else {
        const std::string folder = FolderOf(GetActiveDocumentPath());
        // Without a form folder (a new, unsaved form) the path is kept as
        // given, so it is still written and found once the form is saved.
        m_imagePath = folder.empty() ? path : folder + "/" + path;
    }
    m_reloadPending = true;
    NoteChange();
}

std::string CDiagramImage::GetImagePath() const
{
    return m_imagePath;
}

bool CDiagramImage::LoadPendingPicture() const
{
    if (m_reloadPending) {
        m_picture->Load(m_imagePath);
        m_reloadPending = false;
    }
    return m_picture->IsLoaded();
}

}  // namespace fw
