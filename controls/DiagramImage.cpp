#include "controls/DiagramImage.h"

#include "controls/AttributeItems.h"
#include "controls/ControlDrawing.h"
#include "model/ActiveDocument.h"
#include "model/PropertyGrid.h"
#include "model/PropertyIds.h"
#include "services/LanguageTable.h"
#include "services/Strings.h"
#include "services/Xml.h"

#include <algorithm>
#include <filesystem>

namespace fw {

namespace {

const char* const TransparentColorKey = "transColor";

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
    w.writeAttributePair("pos", rect.left, rect.top);
    w.writeAttributePair("size", TruncEdge(m_right - m_left), TruncEdge(m_bottom - m_top));
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
    const std::string content(m_xmlElement->getElementValue());
    // Only the name part is written back; a path ending in a separator names
    // no picture.
    if (FileNameOf(content).empty()) {
        NoteLoadProblem("the picture file name is missing");
        return false;
    }
    SetImagePath(content);
    const auto color = m_xmlElement->getAttributeValue(TransparentColorKey);
    SetAttribute(TransparentColorKey, color.value_or(std::string_view()));
    return LoadDynamicLayout();
}

void CDiagramImage::AddProperties(PropertyGrid& grid, bool flag)
{
    PropertyItem& group = grid.EnsureGroup(PropertyId::AppearanceGroup, "PROP_GRP_APPEARANCE");
    auto path = grid.Merge(group, PropertyId::ImagePath, "T_PROP_IMG_PATH", "H_PROP_IMG_PATH", m_imagePath,
                           MixedMark::EmptyText);
    if (path.created) {
        path.item->SetEditor(PropertyEditor::FileChooser);
        path.item->SetFileFilter(FileFilter);
    }
    int id = PropertyId::FirstImageAttribute;
    for (const auto& [key, value] : GetAttributes())
        MergeAttributeItem(grid, group, id++, key, langStr(key), value);
    CDiagramEntity::AddProperties(grid, flag);
}

void CDiagramImage::SetImagePath(const std::string& path)
{
    // Files written elsewhere may use either separator and stray blanks.
    std::string name = trim(path);
    std::replace(name.begin(), name.end(), '\\', '/');
    const std::string folder = FolderOf(GetActiveDocumentPath());
    const bool relative = !name.empty() && name.front() != '/';
    // The picture travels with the form file, so its folder is asked first;
    // the process's working folder only for a name found nowhere else.
    const std::string besideForm = folder.empty() ? name : folder + "/" + name;
    if (relative && IsFileOnDisk(besideForm))
        m_imagePath = besideForm;
    else if (IsFileOnDisk(name))
        m_imagePath = name;
    else
        // Without a form folder (a new, unsaved form) the name is kept as
        // given, so it is still written and found once the form is saved.
        m_imagePath = relative ? besideForm : name;
    m_reloadPending = true;
    NoteChange();
}

std::string CDiagramImage::GetWriteLoss(const std::string& formFolder) const
{
    const std::string bare = FileNameOf(m_imagePath);
    if (bare.empty())
        return langStr("SAVE_LOSS_IMAGE_NO_PICTURE");
    // The file keeps the bare name, which is looked for beside the form.
    if (!formFolder.empty() && !IsFileOnDisk(formFolder + "/" + bare))
        return replaceAll(langStr("SAVE_LOSS_PICTURE_NOT_BESIDE"), "%s", bare);
    return {};
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
