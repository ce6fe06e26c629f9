#pragma once

// A view of the list document: told when the document's state changed.
class CDocView {
public:
    virtual ~CDocView() = default;
    // Sent when the view is created and again whenever a list is created or opened.
    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0); }
    // sender: the view that caused the update, or null; hint: 0 unless a caller says otherwise.
    virtual void OnUpdate(CDocView* sender, long hint) = 0;
};
