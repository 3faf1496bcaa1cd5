#pragma once
// A picture on a form. The form file keeps only the picture's file name, which
// is found again in the folder of the form file. The picture is read lazily: a
// new path only marks it for loading, and whoever draws it loads it first
// (LoadPendingPicture), so reading a form touches no picture files.
//
// The attribute "transColor" (a colour text) is stored and offered for editing
// but not applied here; its meaning belongs to the application showing the form.

#include "controls/PictureCtrl.h"
#include "model/DiagramEntity.h"

#include <memory>
#include <string>

namespace fw {

class CDiagramImage : public CDiagramEntity {
public:
    CDiagramImage();
    ~CDiagramImage() override;

    // The copy has its picture at once; it does not wait for a draw.
    std::unique_ptr<CDiagramEntity> Clone() const override;
    // An etched frame with the picture stretched inside it; loads a pending picture first.
    void DrawObject(DrawContext& dc, const IntRect& rect) override;
    void WriteXml() override;
    bool LoadXml() override;
    void AddProperties(PropertyGrid& grid, bool flag) override;

    // Blanks are trimmed and "\" separates folders too. A relative path is
    // looked for beside the active form file first, then as it is; a path
    // found nowhere is taken as beside the form. Either way the picture is
    // loaded again before it is next drawn.
    void SetImagePath(const std::string& path) override;
    std::string GetImagePath() const override;
    // No picture at all, or a picture that is not beside the form under its
    // bare name, which is all the file keeps.
    std::string GetWriteLoss(const std::string& formFolder) const override;

    bool IsReloadPending() const { return m_reloadPending; }
    // Loads the picture if the path changed since the last load; answers
    // whether a picture is there. Filling this cache does not change what the
    // element is, hence const.
    bool LoadPendingPicture() const;
    const CPictureCtrl& GetPicture() const { return *m_picture; }

    // The file dialog's filter for the path item.
    static const char* const FileFilter;
    static const char* const DefaultExtension;

private:
    std::unique_ptr<CPictureCtrl> m_picture;
    std::string m_imagePath;
    mutable bool m_reloadPending = false;
};

}  // namespace fw
