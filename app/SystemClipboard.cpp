#include "app/SystemClipboard.h"

#include "dialogs/DialogTexts.h"
#include "model/ClipboardText.h"

#include <wx/clipbrd.h>
#include <wx/msgdlg.h>
#include <wx/time.h>
#include <wx/window.h>

namespace fw {

namespace {

// The ribbon asks at every idle moment; the toolkit is asked this seldom.
constexpr long long AskEveryMs = 500;
// An answer that never came is given up after this long.
constexpr long long AnswerLimitMs = 3000;

}  // namespace

SystemClipboard::SystemClipboard(CDiagramClipboardHandler& handler, wxWindow* parent)
    : m_handler(handler), m_parent(parent), m_format(ClipboardElementsFormat)
{
    Bind(wxEVT_CLIPBOARD_CHANGED, &SystemClipboard::OnFormats, this);
    m_handler.SetExchange(this);
}

SystemClipboard::~SystemClipboard()
{
    m_handler.SetExchange(nullptr);
    // Copies outlive the editor where the desktop keeps the clipboard; the
    // toolkit hands them over only when it still owns it.
    if (m_offered)
        wxTheClipboard->Flush();
}

void SystemClipboard::Offer(const std::string& text)
{
    wxClipboardLocker open;
    if (!open)
        return;
    auto* elements = new wxCustomDataObject(m_format);
    elements->SetData(text.size(), text.data());
    auto* both = new wxDataObjectComposite;
    both->Add(elements, true);
    both->Add(new wxTextDataObject(wxString::FromUTF8(text)));
    m_holds = wxTheClipboard->SetData(both);
    m_offered = m_offered || m_holds;
}

bool SystemClipboard::HoldsElements()
{
    const long long now = wxGetLocalTimeMillis().GetValue();
    if (m_asking && now - m_askedAt < AnswerLimitMs)
        return m_holds;
    if (now - m_askedAt >= AskEveryMs) {
        m_askedAt = now;
        m_asking = wxTheClipboard->IsSupportedAsync(this);
    }
    return m_holds;
}

void SystemClipboard::OnFormats(wxClipboardEvent& event)
{
    m_asking = false;
    m_holds = event.SupportsFormat(m_format);
}

std::optional<std::string> SystemClipboard::Fetch()
{
    wxClipboardLocker open;
    if (!open)
        return std::nullopt;
    m_holds = wxTheClipboard->IsSupported(m_format);
    wxCustomDataObject elements(m_format);
    if (!m_holds || !wxTheClipboard->GetData(elements))
        return std::nullopt;
    const char* bytes = static_cast<const char*>(elements.GetData());
    return bytes ? std::string(bytes, elements.GetSize()) : std::string();
}

void SystemClipboard::Tell(const std::string& message)
{
    wxMessageBox(wxString::FromUTF8(message), LangText("MSG_TITLE_ERROR"), wxOK | wxICON_INFORMATION, m_parent);
}

}  // namespace fw
