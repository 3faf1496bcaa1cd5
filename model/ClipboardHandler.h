#pragma once
// The element clipboard: copies of elements kept inside the program so they
// can be pasted into any form of any open file. The copies are stored already
// offset by (10, 10) and selected; pasting inserts fresh clones of them.

#include <memory>
#include <vector>

namespace fw {

class CDiagramEntity;
class CDiagramEntityContainer;

class CDiagramClipboardHandler {
public:
    CDiagramClipboardHandler() = default;
    CDiagramClipboardHandler(const CDiagramClipboardHandler&) = delete;
    CDiagramClipboardHandler& operator=(const CDiagramClipboardHandler&) = delete;
    virtual ~CDiagramClipboardHandler();

    virtual void Copy(const CDiagramEntity* element);
    virtual void Paste(CDiagramEntityContainer* container);
    virtual void CopyAllSelected(const CDiagramEntityContainer* container);
    virtual int ObjectsInPaste() const;
    virtual void ClearPaste();
    virtual const std::vector<std::unique_ptr<CDiagramEntity>>& GetData() const;

private:
    void Store(std::unique_ptr<CDiagramEntity> copy);

    std::vector<std::unique_ptr<CDiagramEntity>> m_paste;
};

}  // namespace fw
