#pragma once
// Recovery in the editor: a look every second at the open files, whose
// copies the keeper writes while they have unsaved changes, and at start
// the offer of the copies an editor left when it ended without saving.

#include "model/RecoveryKeeper.h"

#include <wx/timer.h>

#include <string>

namespace fw {

class FormwrightDoc;
class FormwrightView;
class MainFrame;

class AppRecovery {
public:
    explicit AppRecovery(MainFrame& frame);
    // Copies of files still open stay for the next start: the frame closes
    // them only once their changes were saved or given up, or when an end
    // nobody confirmed forces it.
    ~AppRecovery();
    AppRecovery(const AppRecovery&) = delete;
    AppRecovery& operator=(const AppRecovery&) = delete;

    RecoveryKeeper& GetKeeper() { return m_keeper; }
    // Brings the document's copy up to date: written, or gone when the
    // file has no unsaved changes.
    void Look(FormwrightDoc& doc);
    void LookAtAll();
    // The frame ends without asking: the copies of files with unsaved
    // changes are brought up to date and left for the next start.
    void KeepUnsaved();
    void Forget(FormwrightDoc& doc);

private:
    void TellWhyCopiesFail(FormwrightView* view);

    MainFrame& m_frame;
    RecoveryKeeper m_keeper;
    wxTimer m_timer;
    std::string m_toldError;
};

// Offers the copies that editors which have ended left behind, and restores
// or discards them as the designer chooses. Nothing is shown when there are none.
void OfferRecovery(MainFrame& frame);

}  // namespace fw
