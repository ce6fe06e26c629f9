#pragma once
#include "model/CDocView.h"

#include <vector>

// The views of a document, told of its changes. The list document keeps its pages here,
// so that the form pages below it can join and leave without knowing the document.
class CDocViews {
public:
    CDocViews() = default;
    virtual ~CDocViews() = default;
    CDocViews(const CDocViews&) = delete;
    CDocViews& operator=(const CDocViews&) = delete;

    void AddView(CDocView* view);
    void RemoveView(CDocView* view);
    void UpdateAllViews(CDocView* sender, long hint = 0);
    void SendInitialUpdate();

private:
    std::vector<CDocView*> m_views;
};
