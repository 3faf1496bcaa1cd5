#pragma once
// The element clipboard's door to the system clipboard: every copy goes there
// as elements text under a type of our own and as plain text, and a paste
// fetches what another program put there. Whether elements are there is asked
// without fetching them, at most twice a second, and kept for the ribbon.

#include "model/ClipboardHandler.h"

#include <wx/dataobj.h>
#include <wx/event.h>

#include <optional>
#include <string>

class wxClipboardEvent;
class wxWindow;

namespace fw {

class SystemClipboard : public wxEvtHandler, public ClipboardExchange {
public:
    // Trades for `handler` from now until destroyed; messages go over `parent`.
    SystemClipboard(CDiagramClipboardHandler& handler, wxWindow* parent);
    ~SystemClipboard() override;

    void Offer(const std::string& text) override;
    bool HoldsElements() override;
    std::optional<std::string> Fetch() override;
    void Tell(const std::string& message) override;

private:
    void OnFormats(wxClipboardEvent& event);

    CDiagramClipboardHandler& m_handler;
    wxWindow* m_parent;
    wxDataFormat m_format;
    bool m_holds = false;
    bool m_offered = false;  // this editor put elements there once
    bool m_asking = false;
    long long m_askedAt = 0;  // milliseconds
};

}  // namespace fw
