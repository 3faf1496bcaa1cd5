#pragma once
// The element clipboard: copies of elements kept inside the program so they
// can be pasted into any form of any open file. The copies are stored already
// offset by (10, 10) and selected; pasting inserts fresh clones of them.
// Given the system clipboard, every copy is put there too, and a paste takes
// the elements another editor put there in place of the copies held.

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fw {

class CDiagramEntity;
class CDiagramEntityContainer;
class ElementFactory;

// The system clipboard as the element clipboard trades with it.
class ClipboardExchange {
public:
    virtual ~ClipboardExchange() = default;
    // Puts the text of what was just copied on the system clipboard.
    virtual void Offer(const std::string& text) = 0;
    // Whether the system clipboard holds elements (this program's too), as
    // far as the toolkit tells without fetching them.
    virtual bool HoldsElements() = 0;
    // The elements text on the system clipboard, fetched now; none when it holds none.
    virtual std::optional<std::string> Fetch() = 0;
    // Tells the designer why a paste placed nothing, or not everything.
    virtual void Tell(const std::string& message) = 0;
};

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

    // None keeps the copies inside the program.
    void SetExchange(ClipboardExchange* exchange) { m_exchange = exchange; }
    // Whether a paste may find something: copies held, or elements on the system clipboard.
    bool CanPaste() const;
    // Before a paste: takes what another program put on the system clipboard
    // in place of the copies held (`factory` makes the elements), and answers
    // whether there is anything to paste. Unreadable elements give nothing;
    // the designer is told why.
    bool TakeOffered(const ElementFactory& factory);

private:
    void Store(std::unique_ptr<CDiagramEntity> copy);
    void Publish();
    bool TakeText(const std::string& text, const ElementFactory& factory);

    std::vector<std::unique_ptr<CDiagramEntity>> m_paste;
    ClipboardExchange* m_exchange = nullptr;
    // The text last put on the system clipboard: finding it there again means
    // the copies held are what it holds.
    std::optional<std::string> m_offered;
};

}  // namespace fw
