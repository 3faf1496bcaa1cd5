#pragma once
// Tab order by clicking: while the round is on, each click on a property
// field gives it the next number, from 0 up. The fields clicked so far lead
// the tab order; every other field follows them in the order it had, and
// the numbers run 0, 1, 2, ... without gaps. A click on a field already
// clicked in this round takes the count back to it: the next field clicked
// comes right after it. The whole round is one undo step.

#include <string>
#include <vector>

namespace fw {

class CDiagramEntity;
class CDiagramEntityContainer;

// The fields in the order Tab visits them: by number, one number's fields in
// list order.
std::vector<CDiagramEntity*> TabSequence(const CDiagramEntityContainer& form);

class TabOrderClicks {
public:
    bool IsOn() const { return m_on; }
    void Start();
    void Stop();
    // How many fields lead the tab order as clicked in this round.
    int GetClicked() const { return m_clicked; }
    // A click on `field`, one of the form's fields: renumbers the form, and
    // takes the round's step (named `stepName`) before its first change.
    // True when a number changed.
    bool Click(CDiagramEntityContainer& form, const CDiagramEntity& field, const std::string& stepName,
               const CDiagramEntity* reference = nullptr);

private:
    bool m_on = false;
    int m_clicked = 0;
    // The undo count just after the round took its step; -1 before it has one.
    int m_stepUndoCount = -1;
};

}  // namespace fw
