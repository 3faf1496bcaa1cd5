#include "app/Recovery.h"

#include "app/CanvasWindow.h"
#include "app/FileNames.h"
#include "app/FormwrightDoc.h"
#include "app/FormwrightView.h"
#include "app/MainFrame.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/RecoveryDialog.h"

#include <wx/filename.h>
#include <wx/infobar.h>

namespace fw {

namespace {

// A change reaches its copy within this and the time the write takes.
constexpr int LookIntervalMs = 1000;

std::vector<FormwrightDoc*> OpenDocuments(MainFrame& frame)
{
    std::vector<FormwrightDoc*> docs;
    for (wxDocument* doc : frame.GetDocManager().GetDocumentsVector())
        if (auto* formDoc = dynamic_cast<FormwrightDoc*>(doc); formDoc && formDoc->IsReady())
            docs.push_back(formDoc);
    return docs;
}

FormwrightDoc* Restore(MainFrame& frame, RecoveryClaim& claim, const RecoveryEntry& entry)
{
    const wxDocTemplateVector templates = frame.GetDocManager().GetTemplatesVector();
    if (templates.empty())
        return nullptr;
    wxDocTemplate* docTemplate = templates.front();
    const bool titled = !entry.record.original.empty();
    const wxString path = titled ? FileNameFromBytes(entry.record.original.c_str()) : wxString();
    auto* doc = dynamic_cast<FormwrightDoc*>(docTemplate->CreateDocument(path, titled ? 0 : wxDOC_NEW));
    if (!doc)
        return nullptr;
    doc->SetDocumentName(docTemplate->GetDocumentName());
    doc->RecoverFrom(entry);
    if (!(titled ? doc->OnOpenDocument(path) : doc->OnNewDocument())) {
        doc->DeleteAllViews();
        return nullptr;
    }
    // Written by this editor from now on; an editor starting meanwhile leaves it alone.
    RecoveryKeeper& keeper = frame.GetRecovery().GetKeeper();
    if (!keeper.Owner().empty() && claim.Adopt(entry, keeper.Owner()).empty())
        keeper.Adopt(doc->GetModel(), entry.copyPath);
    return doc;
}

}  // namespace

AppRecovery::AppRecovery(MainFrame& frame) : m_frame(frame), m_keeper(RecoveryFolder())
{
    m_timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { LookAtAll(); });
    m_timer.Start(LookIntervalMs);
}

AppRecovery::~AppRecovery()
{
    m_timer.Stop();
}

void AppRecovery::Look(FormwrightDoc& doc)
{
    RecoveryKeeper::FileFacts facts;
    if (doc.GetDocumentSaved())
        facts.path = FileNameBytes(doc.GetFilename());
    facts.name = FileNameBytes(wxFileNameFromPath(doc.GetFilename()));
    facts.readInPart = doc.WasReadInPart();
    m_keeper.Look(doc.GetModel(), facts);
}

void AppRecovery::LookAtAll()
{
    // A drag in progress changes the form with every step; its end is the change to keep.
    FormwrightView* view = m_frame.GetActiveFormView();
    if (view && view->GetCanvas() && view->GetCanvas()->HasCapture())
        return;
    for (FormwrightDoc* doc : OpenDocuments(m_frame))
        Look(*doc);
    TellWhyCopiesFail(view);
}

void AppRecovery::TellWhyCopiesFail(FormwrightView* view)
{
    // Once for each reason: a designer relying on the copies must learn
    // they are not being kept, but not be interrupted every second.
    const std::string error = m_keeper.LastError();
    if (error.empty() || error == m_toldError || !view || !view->GetInfoBar())
        return;
    m_toldError = error;
    wxString text = LangText("INFO_RECOVERY_FAILED");
    text.Replace("%s", wxString::FromUTF8(error));
    view->GetInfoBar()->ShowMessage(text, wxICON_WARNING);
    view->GetFrame()->Layout();
}

void AppRecovery::KeepUnsaved()
{
    m_timer.Stop();
    for (FormwrightDoc* doc : OpenDocuments(m_frame)) {
        Look(*doc);
        m_keeper.Forget(doc->GetModel());
    }
}

void AppRecovery::Forget(FormwrightDoc& doc)
{
    // Closed with its changes neither saved nor given up: the copy keeps the last of them.
    if (doc.IsModified())
        Look(doc);
    m_keeper.Forget(doc.GetModel());
}

void OfferRecovery(MainFrame& frame)
{
    RecoveryClaim claim(frame.GetRecovery().GetKeeper().Folder(), std::time(nullptr));
    if (claim.Entries().empty())
        return;
    RecoveryChoices choices(claim.Entries());
    {
        CRecoveryDialog dialog(&frame, choices);
        dialog.ShowModal();
    }
    for (const auto& [entry, choice] : choices.GetDecisions()) {
        if (choice == RecoveryChoices::Choice::Discard)
            claim.Discard(entry);
        else if (choice == RecoveryChoices::Choice::Restore)
            Restore(frame, claim, entry);
    }
}

}  // namespace fw
